// SPDX-License-Identifier: MIT
#include "loan/payment.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "numeric/annuity.h"
#include "numeric/binary_float.h"
#include "numeric/double_double.h"
#include "numeric/power.h"

// Each figure is defined by rounding every step to float or double where
// it is written.  Arithmetic carried in wider registers (the x87 of 32-bit
// x86) skips those roundings and moves the last cent.
static_assert(FLT_EVAL_METHOD == 0,
              "loan-desk's figures need float and double arithmetic in their "
              "own precision (FLT_EVAL_METHOD 0); on 32-bit x86 build with "
              "-msse2 -mfpmath=sse");

float
monthly_rate(LoanTerms terms)
{
	return static_cast<float>(static_cast<double>(terms.annual_rate) /
	                          12.0);
}

// P*r / (1 - (1 + r)^-n), with P*r formed in single precision and the
// discount factor correctly rounded; n through single precision for the
// total.
//
// Why the rates the entry takes end where they do (lowest_monthly_rate and
// highest_monthly_rate), for P the principal and n the count:
//
// Below: at r = -1 the base 1 + r of the discount factor is 0, and below
// that negative.  That is no loan's growth, and the annuity's derivation
// (the balance (1 + r)^k times the principal, less the payments) no longer
// holds.  The steps still give finite figures of that sign down to about
// r = -1.775, as each count is even, but from there the interest turns
// over 12 payments, and at r = -2 the denominator is 0.
//
// Above: the numerator P r is formed in single precision, and P through
// single precision is at most 2^32, so any float r below 2^96 keeps it at
// most FLT_MAX; at 2^96 it is infinite for the largest principals.
//
// Between them, the steps below are finite: 1 + r > 0, so the discount
// factor (1 + r)^-n is a number from 0 to an infinity, never 1 (it is
// (1 + r)^-12 or further from 1, with |r| >= 2^-25), and the denominator a
// nonzero number or minus infinity; the payment is then at most 2^128 /
// (12 * 2^-25) in size, or 0, and the total at most 2^31 times that.  Where
// the discount factor is infinite (n r < 0, |n log(1 + r)| > 709), the
// payment is 0, the total 0 and the interest -P, whose sign is that of P r
// n.  The sign elsewhere is the argument at loan_figures.
static LoanFigures
stepwise_figures(LoanTerms terms, float rate)
{
	const std::int64_t borrowed = principal(terms);
	const double numerator =
	    static_cast<double>(static_cast<float>(borrowed) * rate);
	const double base = static_cast<double>(rate) + 1.0;
	const double denominator =
	    1.0 - power(base, -std::int64_t{terms.payment_count});
	const double payment = numerator / denominator;
	const double repayment =
	    payment *
	    static_cast<double>(static_cast<float>(terms.payment_count));
	return {payment, repayment, repayment - static_cast<double>(borrowed)};
}

// With no interest the annuity formula divides 0 by 0; such a loan is
// simply its principal spread evenly over the payments.
static LoanFigures
interest_free_figures(LoanTerms terms)
{
	const auto borrowed = static_cast<double>(principal(terms));
	return {borrowed / static_cast<double>(terms.payment_count), borrowed,
	        0.0};
}

// whole + part hundredths, part a pair, rounded once to whole hundredths:
// the double nearest that many cents, which printed with two decimals
// shows them, signed as the amount.  The high part alone may lie on a half
// hundredth, where the low part decides.  Only an amount of a half cent
// exactly would be a tie, and no exact annuity at a nonzero rate is one
// (see exact_figures).
static double
in_cents(std::int64_t whole, Pair part)
{
	double cents = nearest_whole(part.hi);
	const double off = part.hi - cents; // exact: |off| <= 1/2

	if (std::fabs(off) == 0.5 && off * part.lo > 0)
		cents += 2 * off;
	const double total = static_cast<double>(whole) + cents;
	return std::copysign(total / 100.0, total != 0 ? total : off + part.lo);
}

// The figures of the exact annuity at the monthly rate held, from the
// interest I = P S, which keeps its relative accuracy however small it is,
// each rounded once to the cent: the repayment P + I, and the payment
// (P + I) / n, whose first part P / n may be a half cent exactly, and so
// is kept apart as whole cents and a remainder of 100 P by n.  A loan of
// nothing has figures of +0, not the -0 of 0 times a negative share.
//
// No figure is a tie, a half cent exactly.  With r = m / 2^k (m odd,
// k > 25) and 1 + r = a / 2^k, each figure is a fraction whose denominator
// is a power of 2 times the odd D = a^|n| - 2^(k |n|), and whose numerator
// shares no factor with D but those of P m n.  A half cent times 200 is an
// odd whole number, so D would divide 200 P m n, which is below 2^95;
// but |D| > 2^(25 * 11).
static LoanFigures
exact_figures(LoanTerms terms, float rate)
{
	const std::int64_t borrowed = principal(terms);
	const std::int64_t count = terms.payment_count;
	const std::int64_t borrowed_cents = 100 * borrowed;

	if (borrowed == 0)
		return {0.0, 0.0, 0.0};
	const Pair interest_cents = pair_product(
	    annuity_interest_share(static_cast<double>(rate), count),
	    {static_cast<double>(borrowed_cents), 0.0});
	const Pair payment_rest = pair_quotient(
	    pair_sum({static_cast<double>(borrowed_cents % count), 0.0},
	             interest_cents),
	    {static_cast<double>(count), 0.0});
	return {in_cents(borrowed_cents / count, payment_rest),
	        in_cents(borrowed_cents, interest_cents),
	        in_cents(0, interest_cents)};
}

// The rate's path, chosen once, for the monthly rate r and the count n:
//
//   path           runs at                because
//   interest-free  r = 0, n != 0          the annuity formula is 0 / 0
//   exact annuity  0 < |r| < 2^-25,       the steps' roundings could
//                  n != 0                 outweigh the interest, and turn it
//   fixed steps    any other r, or n = 0  they make the figures, as they
//                                         always have, and from 2^-25 up
//                                         keep the interest's sign; at n = 0
//                                         the payment is infinite or NaN
//
// Why 2^-25 (small_rate_bound):
//
// The interest is P S, S = n r / (1 - (1 + r)^-n) - 1.  For r > -1 and
// n != 0 it has the sign of r n (a negative count is a loan repaid before
// it is taken: the interest turns), and |S| grows with |r| and with |n|.
// The entry takes whole years, |n| >= 12, so at |r| >= 2^-25 |S| is at
// least its value at n = -12, r = 2^-25: 5.5 * 2^-25 (1 - 2^-23), or
// 1.37 * 2^-23.
//
// The steps give the total as P (1 + S)(1 + e).  P through single
// precision and the single-precision numerator round by 2^-24 each.  The
// correctly rounded discount factor is off by 2^-53 of itself, which its
// difference from 1 (12 |r| and more) magnifies to under 2^-31.5 of the
// denominator.  The denominator's subtraction, the quotient and the
// total's product add 2^-53 each; n through single precision rounds only
// past 2^26 months, where |S| > 1/2.  So |e| < 1.003 * 2^-23, and the
// computed total less P, which the last subtraction rounds but never
// turns, is P (S + e (1 + S)): it keeps the sign of S, and is never 0,
// while |e| (1 + S) < |S|, which holds throughout at |r| >= 2^-25.  The
// interest then never shows the wrong sign, nor $-0.00 unless it is
// negative.
//
// At 2^-26 |S| can be as small as 0.69 * 2^-23, and e comes within a
// percent of 2^-23: P = 2147745663, just past 2^31, over 12 payments at
// r = 2^-26 (1 + 2^-11), an APR typed as 1.78901337e-05, shows $-47.01 of
// interest for about $208.  A search of the worst principals over the
// rates from 2^-25 up finds |e| (1 + S) under 0.73 |S|, and the steps
// showing no interest of the wrong sign.
LoanFigures
loan_figures(LoanTerms terms)
{
	const float rate = monthly_rate(terms);

	if (terms.payment_count != 0 && rate == 0.0F)
		return interest_free_figures(terms);
	if (terms.payment_count != 0 && std::fabs(rate) < small_rate_bound)
		return exact_figures(terms, rate);
	return stepwise_figures(terms, rate);
}

double
monthly_payment(LoanTerms terms)
{
	return loan_figures(terms).payment;
}
