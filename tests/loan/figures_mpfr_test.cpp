// SPDX-License-Identifier: MIT
// The figures of small rates against the exact annuity at the monthly rate
// held, worked out by MPFR in 4000 bits.  MPFR is a dependency of the tests
// against it alone, built where the tests run natively.
//
// LOAN_DESK_SMALL_RATE_LOANS and LOAN_DESK_POWER_SEED change the number of
// random loans and their seed (scripts/soak-power runs two hundred
// thousand).
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <mpfr.h>
#include <random>
#include <string>

#include "loan/payment.h"
#include "random_sweep.h"

// Enough for 1 + r exact at the smallest rate, 2^-149, and for the
// cancellation in 1 - (1 + r)^-n, n r down to 12 * 2^-149.
constexpr mpfr_prec_t exact_bits = 4000;

// Loans at small monthly rates: any principal, count and rate below the
// bound, each of either sign; half the rates in the top ten binades,
// where n r reaches 64 and (1 + r)^n e^64.
static LoanTerms
random_loan(std::mt19937_64 &random)
{
	const auto sign = [&random] { return (random() & 1U) != 0 ? -1 : 1; };
	const std::int64_t borrowed =
	    random() % 64 == 0 ? 0
	                       : sign() * static_cast<std::int64_t>(log_uniform(
	                                      random, 1.0, 0x1p32 - 1));
	const auto years = static_cast<std::int32_t>(
	    random() % 16 == 0 ? 178956970
	                       : log_uniform(random, 1.0, 178956970.0));
	const double lowest = (random() & 1U) != 0 ? 0x1p-149 : 0x1p-35;
	const double rate =
	    sign() * log_uniform(random, lowest, small_rate_bound);
	const std::int32_t price = borrowed > 0 ? INT32_MAX : INT32_MIN;

	return {price, static_cast<std::int32_t>(price - borrowed),
	        sign() * years * 12, static_cast<float>(12 * rate)};
}

// P r / (1 - (1 + r)^-n), that times n, and that less P.
static void
exact_figures(LoanTerms terms, mpfr_t payment, mpfr_t repayment,
              mpfr_t interest)
{
	const auto borrowed = static_cast<long>(principal(terms));
	mpfr_t factor;
	mpfr_init2(factor, exact_bits);
	mpfr_set_flt(payment, monthly_rate(terms), MPFR_RNDN);
	mpfr_add_ui(factor, payment, 1, MPFR_RNDN);
	mpfr_pow_si(factor, factor, -static_cast<long>(terms.payment_count),
	            MPFR_RNDN);
	mpfr_ui_sub(factor, 1, factor, MPFR_RNDN);
	mpfr_mul_si(payment, payment, borrowed, MPFR_RNDN);
	mpfr_div(payment, payment, factor, MPFR_RNDN);
	mpfr_mul_si(repayment, payment, terms.payment_count, MPFR_RNDN);
	mpfr_sub_si(interest, repayment, borrowed, MPFR_RNDN);
	mpfr_clear(factor);
}

static std::string
cents(double value)
{
	char text[64];
	std::snprintf(text, sizeof text, "%.2f", value);
	return text;
}

static std::string
cents(mpfr_t value)
{
	char text[64];
	mpfr_snprintf(text, sizeof text, "%.2RNf", value);
	return text;
}

static std::string
described(LoanTerms terms)
{
	char text[128];
	std::snprintf(
	    text, sizeof text,
	    " at %" PRId32 " %" PRId32 " %" PRId32 " months %a a year",
	    terms.purchase_price, terms.down_payment, terms.payment_count,
	    static_cast<double>(terms.annual_rate));
	return text;
}

// How far the exact figure lies from the nearest half cent, in dollars.
static double
from_half_cent(mpfr_t exact, mpfr_t scratch)
{
	mpfr_mul_ui(scratch, exact, 100, MPFR_RNDN);
	mpfr_frac(scratch, scratch, MPFR_RNDN);
	mpfr_abs(scratch, scratch, MPFR_RNDN);
	mpfr_sub_d(scratch, scratch, 0.5, MPFR_RNDN);
	return std::fabs(mpfr_get_d(scratch, MPFR_RNDN)) / 100;
}

// Each figure's cents are the exact figure's, rounded once: no allowance,
// as no exact annuity at a nonzero rate is a half cent exactly.
TEST(SmallRatesAgainstMpfr, FiguresAreTheExactAnnuitysCents)
{
	const std::uint64_t loans =
	    setting("LOAN_DESK_SMALL_RATE_LOANS", 20000);
	const std::uint64_t seed = setting("LOAN_DESK_POWER_SEED", 20240611);
	std::mt19937_64 random(seed);
	double nearest_half_cent = HUGE_VAL;
	mpfr_t exact[4];

	for (mpfr_t &figure : exact)
		mpfr_init2(figure, exact_bits);
	for (std::uint64_t done = 0; done < loans;) {
		const LoanTerms terms = random_loan(random);
		const float rate = monthly_rate(terms);
		if (rate == 0 || std::fabs(rate) >= small_rate_bound)
			continue;
		++done;
		const LoanFigures figures = loan_figures(terms);
		const double ours[3] = {figures.payment, figures.repayment,
		                        figures.interest};
		if (principal(terms) == 0) {
			// Nothing owed: +0 each, never $-0.00.
			for (const double figure : ours)
				EXPECT_TRUE(figure == 0 &&
				            !std::signbit(figure))
				    << described(terms);
			continue;
		}
		exact_figures(terms, exact[0], exact[1], exact[2]);
		for (int k = 0; k < 3; ++k) {
			nearest_half_cent =
			    std::min(nearest_half_cent,
			             from_half_cent(exact[k], exact[3]));
			EXPECT_EQ(cents(ours[k]), cents(exact[k]))
			    << described(terms);
		}
		EXPECT_EQ(std::signbit(figures.interest),
		          mpfr_sgn(exact[2]) < 0)
		    << described(terms);
	}
	for (mpfr_t &figure : exact)
		mpfr_clear(figure);
	std::printf("%" PRIu64 " loans at small rates, seed %" PRIu64
	            ": every figure's cents the exact annuity's; the nearest "
	            "to a half cent $%.3g from it\n",
	            loans, seed, nearest_half_cent);
}
