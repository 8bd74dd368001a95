// SPDX-License-Identifier: MIT
#include "loan/payment.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "numeric/annuity.h"
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
	double cents = std::nearbyint(part.hi);
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

// The rate's path, chosen once: a rate of 0 is interest-free, a small
// one takes the exact annuity (see small_rate_bound), any other the fixed
// steps.  So does a count of 0 at any rate: the payment is then infinite
// or not a number.
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
