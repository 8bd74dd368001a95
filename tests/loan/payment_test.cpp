// SPDX-License-Identifier: MIT
// Where each rate's figures come from.  figures.txt pins the figures of
// chosen answers on every build; here every binade of rates is walked.
#include "loan/payment.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>

// Over the longest term, 2147483640 payments signed as the rate, the
// fixed steps take the count through single precision, as 2^31: their
// repayment is the payment times 2^31 exactly.  The exact annuity of $1
// pays $0.00 a month, and repays $1.00 or more; so does an interest-free
// one.
static bool
takes_fixed_steps(float annual_rate)
{
	const std::int32_t count = annual_rate < 0 ? -2147483640 : 2147483640;
	const LoanFigures figures =
	    loan_figures(LoanTerms{1, 0, count, annual_rate});

	return figures.repayment ==
	       figures.payment * std::copysign(0x1p31, annual_rate);
}

// Annual rates of 3 * 2^k, whose monthly rates are powers of two from
// below the smallest float up, and their neighbours, of either sign.
TEST(Payment, SmallRatesEndAtTheBoundAndNowhereElse)
{
	bool met_bound = false;
	bool met_below = false;

	for (int exponent = -152; exponent <= 126; ++exponent) {
		for (const float sign : {1.0F, -1.0F}) {
			const float power_of_two =
			    sign * std::ldexp(3.0F, exponent);
			for (int step = -2; step <= 2; ++step) {
				const float away =
				    static_cast<float>(step) * sign * HUGE_VALF;
				float annual = power_of_two;
				for (int i = 0; i < std::abs(step); ++i)
					annual = std::nextafter(annual, away);
				const float rate =
				    std::fabs(monthly_rate({0, 0, 12, annual}));
				met_bound =
				    met_bound || rate == small_rate_bound;
				met_below = met_below ||
				            rate == std::nextafter(
				                        small_rate_bound, 0.0F);
				EXPECT_EQ(takes_fixed_steps(annual),
				          rate >= small_rate_bound)
				    << std::hexfloat << "annual rate "
				    << annual;
			}
		}
	}
	EXPECT_TRUE(met_bound);
	EXPECT_TRUE(met_below);
}

static int
sign_of(double value)
{
	return value > 0 ? 1 : value < 0 ? -1 : 0;
}

// A loan of the principal over the count at the annual rate: its figures
// are finite, and its interest has the sign of P r n.
static bool
right_figures(std::int64_t borrowed, std::int32_t count, float annual_rate)
{
	const std::int32_t price = borrowed > 0 ? INT32_MAX : INT32_MIN;
	const LoanTerms terms{price,
	                      static_cast<std::int32_t>(price - borrowed),
	                      count, annual_rate};
	const LoanFigures figures = loan_figures(terms);

	return std::isfinite(figures.payment) &&
	       std::isfinite(figures.repayment) &&
	       std::isfinite(figures.interest) &&
	       sign_of(figures.interest) ==
	           sign_of(static_cast<double>(borrowed)) *
	               sign_of(monthly_rate(terms)) * sign_of(count);
}

// The 64 annual rates inward from each end of the range the entry takes,
// over the largest and smallest principals and counts of either sign.
// One float past the top, the largest principal's figures are infinite.
TEST(Payment, FiguresAreRightToTheEndsOfTheRateRange)
{
	float lowest = 12 * lowest_monthly_rate;
	float highest = 12 * highest_monthly_rate;
	while (monthly_rate({0, 0, 12, lowest}) <= lowest_monthly_rate)
		lowest = std::nextafter(lowest, 0.0F);
	while (monthly_rate({0, 0, 12, highest}) >= highest_monthly_rate)
		highest = std::nextafter(highest, 0.0F);

	for (float annual_rate : {lowest, highest}) {
		for (int step = 0; step < 64; ++step) {
			for (const std::int64_t borrowed :
			     {1LL, -1LL, 16777217LL, 4294967295LL,
			      -4294967295LL})
				for (const std::int32_t count :
				     {12, -12, 24, 120, -120, 2147483640,
				      -2147483640})
					EXPECT_TRUE(right_figures(
					    borrowed, count, annual_rate))
					    << std::hexfloat << annual_rate
					    << " " << borrowed << " " << count;
			annual_rate = std::nextafter(annual_rate, 0.0F);
		}
	}
	EXPECT_FALSE(
	    right_figures(4294967295, 12, std::nextafter(highest, HUGE_VALF)));
}
