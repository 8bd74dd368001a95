#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Works out the figures of figures.txt, the statement's figures for chosen
answers, and writes them back after each line's answers.

The answers and the comments are the file's own: add a line of answers,
with or without "->" and figures after it, and run this to fill them in.
The figures are worked out here from their definition, independently of
loan-desk: every single- and double-precision step is one correctly rounded
MPFR operation in an IEEE context (gmpy2.ieee(32) or ieee(64): subnormals,
infinities, NaN and signed zeros as IEEE 754 has them), the discount factor
is MPFR's correctly rounded power, and the figures of small rates are the
exact annuity's, bounded in exact rational arithmetic.  Run it with
Debian's python3-gmpy2:

    tests/loan/make_figures.py [tests/loan/figures.txt]
"""

import os
import sys
from operator import add, mul, sub, truediv as div
from fractions import Fraction

import gmpy2
from gmpy2 import mpfr, mpq

SINGLE = gmpy2.ieee(32)
DOUBLE = gmpy2.ieee(64)

# Monthly rates r with 0 < |r| < 2^-25 have the exact annuity's figures,
# rounded once to the cent.
SMALL_RATE_BOUND = Fraction(1, 2**25)

# The bits that bound the powers of 1 + r: their error, 2^-BITS for each
# of the 62 multiplications at most, stays far below any figure's distance
# from a half cent.
BITS = 1024


def rounded(context, value):
    with gmpy2.local_context(context):
        return mpfr(value)


def single(value):
    return rounded(SINGLE, value)


def double(value):
    return rounded(DOUBLE, value)


def in_single(operation, a, b):
    with gmpy2.local_context(SINGLE):
        return operation(a, b)


def in_double(operation, a, b):
    with gmpy2.local_context(DOUBLE):
        return operation(a, b)


def exact(value):
    return Fraction(int(mpq(value).numerator), int(mpq(value).denominator))


def money(value):
    """'$%-5.2f' of a double, or of an exact figure: its cents.  A figure
    that is not a number shows as -nan."""
    if isinstance(value, Fraction):
        cents = round(value * 100)
        text = "%s%d.%02d" % ("-" if value < 0 else "", abs(cents) // 100,
                              abs(cents) % 100)
    elif value.is_nan():
        text = "-nan"
    else:
        text = "%.2f" % float(value)
    return "$%-5s" % text


def power_bounds(base, count):
    """Integers low, high with low <= base^count * 2^BITS <= high, for an
    exact base > 0 and count >= 0, by binary powering rounded outwards."""
    scale = 2**BITS
    step = (base.numerator * scale // base.denominator,
            -(-base.numerator * scale // base.denominator))
    done = (scale, scale)
    while count:
        if count & 1:
            done = (done[0] * step[0] // scale,
                    -(-done[1] * step[1] // scale))
        count >>= 1
        if count:
            step = (step[0] * step[0] // scale,
                    -(-step[1] * step[1] // scale))
    return done


def exact_figure(bounds):
    """The exact figure between two bounds, provided both round to the same
    cents."""
    low, high = min(bounds), max(bounds)
    if round(low * 100) != round(high * 100) or money(low) != money(high):
        sys.exit("too near a half cent: %s" % float(low))
    return low


def annuity(principal, rate, count):
    """Payment, total and interest of the exact annuity: P r / (1 - (1 +
    r)^-n), the payment times n, and that less P.  The power of 1 + r is
    known between two bounds; each figure is monotonic in it."""
    scale = 2**BITS
    growths = [Fraction(bound - scale, scale)
               for bound in power_bounds(1 + rate, abs(count))]
    if count > 0:
        # 1 - (1 + r)^-n = g / (1 + g), g = (1 + r)^n - 1
        shares = [count * rate * (1 + g) / g for g in growths]
    else:
        shares = [-count * rate / g for g in growths]
    total = exact_figure([principal * share for share in shares])
    return (exact_figure([principal * share / count for share in shares]),
            total,
            exact_figure([principal * (share - 1) for share in shares]))


def statement(price, down, years, rate_text):
    """The rate row and the three money rows for the four answers."""
    principal = price - down  # in 64 bits: no wrapping
    count = years * 12
    assert -2**31 <= count < 2**31
    # strtof: the decimal correctly rounded to float, and a zero signed as
    # typed.
    percentage = single(mpq(Fraction(rate_text)))
    if rate_text.startswith("-"):
        percentage = -abs(percentage)
    annual = in_single(div, percentage, mpfr(100))
    shown = "%.2f%%" % float(in_single(mul, annual, mpfr(100)))

    rate = single(in_double(div, double(annual), mpfr(12)))
    if count != 0 and rate == 0:
        # Interest-free: the principal spread evenly.
        payment = in_double(div, double(principal), double(count))
        total = double(principal)
        interest = in_double(sub, total, double(principal))
    elif count != 0 and abs(exact(rate)) < SMALL_RATE_BOUND:
        if principal == 0:
            payment = total = interest = Fraction(0)
        else:
            payment, total, interest = annuity(principal, exact(rate),
                                               count)
    else:
        numerator = double(in_single(mul, single(principal), rate))
        base = in_double(add, double(rate), mpfr(1))
        with gmpy2.local_context(DOUBLE):
            discount = base ** -count
        denominator = in_double(sub, mpfr(1), discount)
        payment = in_double(div, numerator, denominator)
        total = in_double(mul, payment, double(single(count)))
        interest = in_double(sub, total, double(principal))
    return [shown, money(payment), money(total), money(interest)]


def worked_out(line):
    """A line of the file, with the figures of a line of answers worked
    out anew."""
    if not line.strip() or line.startswith("#"):
        return line
    answers = line.split("->")[0].split()
    price, down, years, rate_text = answers
    figures = statement(int(price), int(down), int(years), rate_text)
    return " ".join(answers + ["->"] +
                    [f.replace(" ", "_") for f in figures])


def main():
    path = (sys.argv[1] if len(sys.argv) > 1 else
            os.path.join(os.path.dirname(os.path.abspath(__file__)),
                         "figures.txt"))
    with open(path, encoding="ascii") as vectors:
        lines = [worked_out(line) for line in vectors.read().splitlines()]
    with open(path, "w", encoding="ascii") as vectors:
        vectors.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
