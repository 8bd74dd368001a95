// SPDX-License-Identifier: MIT
#include "loan/payment.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

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

// With no interest, or a monthly rate too small to change 1 + r, the
// annuity formula divides by zero; such a loan is simply its principal
// spread evenly over the payments.
static bool
is_interest_free(LoanTerms terms)
{
	const double base = static_cast<double>(monthly_rate(terms)) + 1.0;

	return base == 1.0 && terms.payment_count != 0;
}

// A monthly rate that changes 1 + r but is finer than a double can hold
// beside 1 (below about 2^-29, an APR under 0.0000022%): the formula
// would divide a numerator formed from r by a denominator formed from a
// rounded 1 + r, another rate, and print nonsense such as a negative
// interest.  (Rates of 2^53 and more round 1 + r as well, harmlessly: the
// discount factor is then nothing beside 1.)
static bool
is_tiny_rate(LoanTerms terms)
{
	const double rate = monthly_rate(terms);
	const double base = rate + 1.0;

	return std::fabs(rate) < 1.0 && base != 1.0 && base - 1.0 != rate &&
	       terms.payment_count != 0;
}

// (1 + a r + s)(1 + b r + t) = 1 + (a + b) r + the returned excess, given
// ar = a r and br = b r.  For r > 0 every term is positive: no cancellation.
static double
combined_excess(double ar, double s, double br, double t)
{
	return s + t + (ar * br + ar * t + br * s + s * t);
}

// (1 + r)^count = 1 + count r + s: returns s, the terms of second and
// higher order in r, by binary powering, to a relative error of a few
// units in the last place per squaring.
static double
excess(double rate, std::uint64_t count)
{
	double done = 0.0;
	double done_excess = 0.0;
	double step = 1.0;
	double step_excess = 0.0;

	for (;;) {
		if ((count & 1U) != 0) {
			done_excess = combined_excess(done * rate, done_excess,
			                              step * rate, step_excess);
			done += step;
		}
		count >>= 1U;
		if (count == 0)
			return done_excess;
		step_excess = combined_excess(step * rate, step_excess,
		                              step * rate, step_excess);
		step += step;
	}
}

// The interest as a share of the principal, n r / (1 - (1 + r)^-n) - 1,
// formed from the rate itself.  With (1 + r)^|n| = 1 + g, g = |n| r + s,
// it is ((n r)^2 - s (1 - n r)) / g for n > 0 and -s / g for n < 0.  The
// leading terms that cancel in the plain formula are gone: for n > 0 the
// numerator, about n (n + 1) r^2 / 2, is positive and g has the rate's
// sign, so the share has it too and keeps its relative accuracy however
// small it is.
static double
tiny_rate_interest_share(double rate, std::int64_t months)
{
	const std::uint64_t count = months < 0
	                                ? 0 - static_cast<std::uint64_t>(months)
	                                : static_cast<std::uint64_t>(months);
	const double linear = static_cast<double>(count) * rate;
	const double s = excess(rate, count);
	const double growth = linear + s;

	if (months < 0)
		return -s / growth;
	return (linear * linear - s * (1.0 - linear)) / growth;
}

// For a tiny rate the total is the principal plus its interest, formed
// apart: that interest can be smaller than a unit in the last place of
// the principal, so the payment times n would round the total to either
// side of the principal and print an interest of $-0.00.  The principal
// and the rate are exact in double; nothing passes through single
// precision.
static double
tiny_rate_repayment(LoanTerms terms)
{
	const auto borrowed = static_cast<double>(principal(terms));

	return borrowed +
	       borrowed * tiny_rate_interest_share(monthly_rate(terms),
	                                           terms.payment_count);
}

// P*r / (1 - (1 + r)^-n), with P*r formed in single precision and the
// discount factor correctly rounded.
double
monthly_payment(LoanTerms terms)
{
	const float rate = monthly_rate(terms);
	const std::int64_t months = terms.payment_count;

	if (is_interest_free(terms))
		return static_cast<double>(principal(terms)) /
		       static_cast<double>(months);
	if (is_tiny_rate(terms))
		return tiny_rate_repayment(terms) / static_cast<double>(months);
	const double numerator =
	    static_cast<double>(static_cast<float>(principal(terms)) * rate);
	const double base = static_cast<double>(rate) + 1.0;
	const double denominator = 1.0 - power(base, -months);
	return numerator / denominator;
}

double
total_repayment(LoanTerms terms)
{
	if (is_interest_free(terms))
		return static_cast<double>(principal(terms));
	if (is_tiny_rate(terms))
		return tiny_rate_repayment(terms);
	return monthly_payment(terms) *
	       static_cast<double>(static_cast<float>(terms.payment_count));
}

double
total_interest(LoanTerms terms)
{
	return total_repayment(terms) - static_cast<double>(principal(terms));
}
