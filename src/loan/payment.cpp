// SPDX-License-Identifier: MIT
#include "loan/payment.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

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

// (1 + r)^k, and apart from it s, its terms of second and higher order
// in r: (1 + r)^k = 1 + k r + s.  With r tiny, s is far below a unit in
// the last place of 1 + k r, and of k r too, yet it is all that makes the
// interest.
struct Powered {
	std::uint64_t count;
	Pair value;
	Pair excess;
};

static Pair
negated(Pair x)
{
	return {-x.hi, -x.lo};
}

// k r, exact as a pair (k < 2^32, r of 24 bits).
static Pair
linear(std::uint64_t count, double rate)
{
	return two_product(static_cast<double>(count), rate);
}

// g = (1 + r)^k - 1 = k r + s.
static Pair
growth(Powered x, double rate)
{
	return pair_sum(linear(x.count, rate), x.excess);
}

// (1 + r)^(a + b) from (1 + r)^a and (1 + r)^b.  The excess is s_a + s_b
// + g_a g_b, where the g have the sign of r, so that their product is
// positive like the s: three terms of one sign, nothing cancels.
static Powered
combined(Powered a, Powered b, double rate)
{
	const Pair cross = pair_product(growth(a, rate), growth(b, rate));
	return {a.count + b.count, pair_product(a.value, b.value),
	        pair_sum(pair_sum(a.excess, b.excess), cross)};
}

// (1 + r)^count by binary powering.
static Powered
raised(double rate, std::uint64_t count)
{
	Powered done{0, {1.0, 0.0}, {0.0, 0.0}};
	Powered step{1, fast_two_sum(1.0, rate), {0.0, 0.0}};

	for (;;) {
		if ((count & 1U) != 0)
			done = combined(done, step, rate);
		count >>= 1U;
		if (count == 0)
			return done;
		step = combined(step, step, rate);
	}
}

// A loan's repayment and interest as shares of its principal.
struct Shares {
	Pair repayment;
	Pair interest;
};

// The repayment's share is F = n r / (1 - (1 + r)^-n), the interest's
// S = F - 1.  With x = |n| r, s the excess and g the growth of (1 + r)^|n|:
// for n > 0, F = x (1 + r)^n / g and S = x - s / g; for n < 0, F = x / g
// and S = -s / g.  Each is formed without the 1 that cancels in the plain
// formula, so that each keeps its relative accuracy however near 0 S, or
// F, comes: S keeps its sign, that of r n.
static Shares
annuity_shares(double rate, std::int32_t months)
{
	const std::uint64_t count =
	    months < 0 ? 0 - static_cast<std::uint64_t>(std::int64_t{months})
	               : static_cast<std::uint64_t>(months);
	const Pair x = linear(count, rate);
	const Powered powered = raised(rate, count);
	const Pair g = growth(powered, rate);
	const Pair s_over_g = pair_quotient(powered.excess, g);

	if (months < 0)
		return {pair_quotient(x, g), negated(s_over_g)};
	return {pair_quotient(pair_product(x, powered.value), g),
	        pair_sum(x, negated(s_over_g))};
}

// The figures of the exact annuity at the monthly rate held, each rounded
// once to double from pairs whose error is far below a unit in its last
// place: exact to the cent.  The interest is formed apart from the
// principal, as it can be smaller than a unit in the principal's last
// place.  A loan of nothing has figures of +0, not the -0 of 0 times a
// negative share or count.
static LoanFigures
exact_figures(LoanTerms terms, float rate)
{
	const std::int64_t borrowed = principal(terms);

	if (borrowed == 0)
		return {0.0, 0.0, 0.0};
	const Pair amount{static_cast<double>(borrowed), 0.0};
	const Shares shares =
	    annuity_shares(static_cast<double>(rate), terms.payment_count);
	const Pair repayment = pair_product(shares.repayment, amount);
	const Pair payment = pair_quotient(
	    repayment, {static_cast<double>(terms.payment_count), 0.0});
	return {payment.hi, repayment.hi,
	        pair_product(shares.interest, amount).hi};
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

double
monthly_payment(LoanTerms terms)
{
	return loan_figures(terms).payment;
}
