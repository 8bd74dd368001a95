#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Writes figures.txt, the statement's figures for chosen answers.

The figures are worked out here from their definition, independently of
loan-desk: every single- and double-precision step is one correctly rounded
MPFR operation in an IEEE context (gmpy2.ieee(32) or ieee(64): subnormals,
infinities, NaN and signed zeros as IEEE 754 has them), the discount factor
is MPFR's correctly rounded power, and the figures of tiny rates are exact
rational arithmetic.  Run it with Debian's python3-gmpy2:

    tests/loan/make_figures.py >tests/loan/figures.txt
"""

import sys
import textwrap
from operator import add, mul, sub, truediv as div
from fractions import Fraction

import gmpy2
from gmpy2 import mpfr, mpq

SINGLE = gmpy2.ieee(32)
DOUBLE = gmpy2.ieee(64)

# A tiny rate's figures must be this far (in dollars) from a half cent, so
# that any sound double computation prints the exact cents.
TINY_MARGIN = Fraction(1, 10**6)

# The midpoint between the floats 4.5 and 4.5 + 2^-21, and a little more:
# strtof rounds it up, while strtod lands on the midpoint itself, which a
# narrowing to float then rounds down to the even 4.5.
ABOVE_FLOAT_MIDPOINT = "4.5000002384185791015625001"

GROUPS = [
    ("The worked examples: single-precision steps decide their last cent "
     "(wholly in double they would end $183.02 and $613.45)", [
         "900 100 2 12", "137 0 4 15", "555 0 1 18.9"]),
    ("The rate row shows the rate held times 100 in single precision: "
     "0.065 as 0.06499999 (times 100 in double, 0.0650000002); 1.715, "
     "read as 1.7150000, as 1.7149999", [
         "1000 0 1 0.065", "1000 0 1 1.715"]),
    ("The rate is read as strtof reads it, correctly rounded to float, "
     "not through double", [
         "2000000000 -2000000000 30 " + ABOVE_FLOAT_MIDPOINT]),
    ("A principal past 2^24: the numerator takes it through single "
     "precision, the interest subtracts it in double", [
         "16777217 0 1 5"]),
    ("A principal past 32 bits", [
        "-2147483648 2147483647 10 3"]),
    ("Counts past 2^24 months: the total takes the count through single "
     "precision; the discount factor takes it whole (268435452 months, "
     "268435456 in single precision)", [
         "1000 0 5592407 12", "1000000 0 178956970 5",
         "1000000000 0 22369621 0.0000045"]),
    ("The discount factor correctly rounded: the first two move a cent "
     "if it is one unit in the last place high, or low; the next two "
     "moved a cent with mingw-w64's pow; the last is $1932557.84 in "
     "exact arithmetic", [
         "895721264 0 1 0.5", "1785759831 0 1 0.5",
         "1617173837 0 16 0.97", "865417 0 9 0.11", "1000000 0 30 5"]),
    ("Interest-free: the principal spread evenly (3/24 = 0.125 exactly, "
     "printed 0.12 as every build rounds a tie, to even), and repaid in "
     "full, not as a single-precision amount", [
         "900 100 2 0", "3 0 2 0", "16777217 0 1 0"]),
    ("Tiny rates: 1 + r is not exact in double; the figures are those "
     "of the exact annuity at the monthly rate held", [
         "1000000 0 30 1.44e-13", "1000000 0 30 1e-11",
         "1000000 0 30 2e-7", "2000000000 -2000000000 40 1e-9"]),
    ("Just above them 1 + r is exact and the figures are computed as "
     "ever: $0.36 of interest where the exact annuity gives $0.39", [
         "1000000 0 30 2.6e-6"]),
    ("No payments: an infinite payment with the sign of the principal "
     "times the rate, or not a number", [
         "900 100 0 12", "100 300 0 12", "900 100 0 -12", "0 0 0 12",
         "900 100 0 0"]),
    ("Negative principals, rates and terms", [
        "100 300 30 7.5", "1000 0 1 -12", "1000 0 -1 12"]),
]


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
    """'$%-5.2f' of a double, or of an exact figure: its cents."""
    if isinstance(value, Fraction):
        cents = round(value * 100)
        text = "%s%d.%02d" % ("-" if value < 0 else "", abs(cents) // 100,
                              abs(cents) % 100)
    else:
        text = "%.2f" % float(value)
    return "$%-5s" % text


def annuity(principal, rate, count):
    """Payment, total and interest of the exact annuity, checked to be
    clear of a half cent."""
    payment = principal * rate / (1 - (1 + rate) ** -count)
    figures = (payment, payment * count, payment * count - principal)
    for figure in figures:
        off = abs(figure * 100 - round(figure * 100))
        if abs(Fraction(1, 2) - off) < TINY_MARGIN * 100:
            sys.exit("too near a half cent: %s" % float(figure))
    return figures


def statement(price, down, years, rate_text):
    """The rate row and the three money rows for the four answers."""
    principal = price - down  # in 64 bits: no wrapping
    count = years * 12
    assert -2**31 <= count < 2**31
    # strtof: the decimal correctly rounded to float.
    percentage = single(mpq(Fraction(rate_text)))
    annual = in_single(div, percentage, mpfr(100))
    shown = "%.2f%%" % float(in_single(mul, annual, mpfr(100)))

    rate = single(in_double(div, double(annual), mpfr(12)))
    base = in_double(add, double(rate), mpfr(1))
    if base == 1 and count != 0:
        # Interest-free: no rate, or one that leaves 1 + r at 1.
        payment = in_double(div, double(principal), double(count))
        total = double(principal)
        interest = in_double(sub, total, double(principal))
    elif rate != 0 and exact(base) != 1 + exact(rate):
        # Tiny rates: 1 + r itself is not a double.
        payment, total, interest = annuity(Fraction(principal),
                                           exact(rate), count)
    else:
        numerator = double(in_single(mul, single(principal), rate))
        with gmpy2.local_context(DOUBLE):
            discount = base ** -count
        denominator = in_double(sub, mpfr(1), discount)
        payment = in_double(div, numerator, denominator)
        total = in_double(mul, payment, double(single(count)))
        interest = in_double(sub, total, double(principal))
    return [shown, money(payment), money(total), money(interest)]


HEADER = """\
# SPDX-License-Identifier: MIT
# The statement's figures for chosen answers, written by make_figures.py
# from the figures' definition, never by loan-desk.  Each line:
#
#   price down years rate -> rate-row payment repayment interest
#
# the four answers as typed, then what the statement prints from column 23
# on in the rows "Annual Interest Rate:", "Monthly Payment:", "Total
# Repayment:" and "Total Interest:".  A money figure is printed '$%-5.2f',
# so short ones end in spaces: each trailing space is written here as '_'.
# "$nan__" is a figure that is not a number: the sign of such a NaN is the
# processor's (x86 sets it, Arm does not) and the C library's to show
# (glibc prints "-nan", mingw-w64 "nan"), so either rendering matches it."""


def main():
    print(HEADER)
    for title, answers in GROUPS:
        print()
        for line in textwrap.wrap(title, 74):
            print("# " + line)
        for line in answers:
            price, down, years, rate_text = line.split()
            figures = statement(int(price), int(down), int(years), rate_text)
            print(line, "->", " ".join(f.replace(" ", "_") for f in figures))


if __name__ == "__main__":
    main()
