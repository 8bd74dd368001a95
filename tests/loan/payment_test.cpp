// SPDX-License-Identifier: MIT
// Where each rate's figures come from.  figures.txt pins the figures of
// chosen answers on every build; here every binade of rates is walked.
#include "loan/payment.h"

#include <cmath>
#include <gtest/gtest.h>

// Over the longest term, 2147483640 payments, the fixed steps take the
// count through single precision, as 2^31: their repayment is the payment
// times 2^31 exactly, which neither the exact annuity's nor an
// interest-free one is.
static bool
takes_fixed_steps(float annual_rate)
{
	const LoanFigures figures =
	    loan_figures(LoanTerms{1, 0, 2147483640, annual_rate});

	return figures.repayment == figures.payment * 0x1p31;
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
