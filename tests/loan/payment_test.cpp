// SPDX-License-Identifier: MIT
#include "loan/payment.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

// Terms as the entry stores them: months, and the percentage / 100 in
// single precision.
static LoanTerms
terms(int price, int down, int years, float percentage)
{
	return LoanTerms{price, down, years * 12, percentage / 100.0F};
}

static std::string
cents(double value)
{
	char text[64];
	std::snprintf(text, sizeof text, "%.2f", value);
	return text;
}

TEST(Payment, TypicalLoanMatchesTheWorkedFigures)
{
	const LoanTerms loan = terms(900, 100, 2, 12);

	EXPECT_EQ(monthly_rate(loan), 0.0099999998F);
	EXPECT_NEAR(monthly_payment(loan), 37.6587785, 1e-7);
	EXPECT_NEAR(total_repayment(loan), 903.8106844, 1e-7);
	EXPECT_NEAR(total_interest(loan), 103.8106844, 1e-7);
}

// These loans print a cent less than a wholly double-precision
// computation would: the single-precision steps are part of the result.
TEST(Payment, SinglePrecisionStepsDecideTheLastCent)
{
	const LoanTerms short_loan = terms(137, 0, 4, 15);
	EXPECT_NEAR(monthly_payment(short_loan), 3.8128124, 1e-7);
	EXPECT_NEAR(total_repayment(short_loan), 183.0149960, 1e-7);
	EXPECT_EQ(cents(monthly_payment(short_loan)), "3.81");
	EXPECT_EQ(cents(total_repayment(short_loan)), "183.01");
	EXPECT_EQ(cents(total_interest(short_loan)), "46.01");

	const LoanTerms yearly = terms(555, 0, 1, 18.9F);
	EXPECT_EQ(cents(monthly_payment(yearly)), "51.12");
	EXPECT_EQ(cents(total_repayment(yearly)), "613.44");
	EXPECT_EQ(cents(total_interest(yearly)), "58.44");
}

TEST(Payment, InterestFreeLoanSpreadsThePrincipalEvenly)
{
	const LoanTerms loan = terms(900, 100, 2, 0);

	EXPECT_DOUBLE_EQ(monthly_payment(loan), 800.0 / 24.0);
	EXPECT_EQ(total_repayment(loan), 800.0);
	EXPECT_EQ(total_interest(loan), 0.0);
	EXPECT_FALSE(std::signbit(total_interest(loan)));
	// Rates too small to survive the monthly rounding, or to change 1 + r,
	// are no interest either, not an infinite payment.
	for (const float percentage : {1e-44F, 1e-30F, -1e-20F}) {
		const LoanTerms tiny = terms(900, 100, 2, percentage);
		EXPECT_DOUBLE_EQ(monthly_payment(tiny), 800.0 / 24.0);
		EXPECT_EQ(total_interest(tiny), 0.0);
	}
	// A rate that does register keeps the annuity formula, small as it is.
	EXPECT_NEAR(monthly_payment(terms(900, 100, 2, 1e-4F)), 800.0 / 24.0,
	            1e-3);
}

TEST(Payment, NoPaymentsGiveInfinityAndNotANumber)
{
	const LoanTerms owed = terms(900, 100, 0, 12);
	EXPECT_TRUE(std::isinf(monthly_payment(owed)));
	EXPECT_GT(monthly_payment(owed), 0.0);
	EXPECT_TRUE(std::isnan(total_repayment(owed)));
	EXPECT_TRUE(std::isnan(total_interest(owed)));

	const LoanTerms nothing = terms(0, 0, 0, 12);
	EXPECT_TRUE(std::isnan(monthly_payment(nothing)));

	const LoanTerms nothing_free = terms(900, 100, 0, 0);
	EXPECT_TRUE(std::isnan(monthly_payment(nothing_free)));
	EXPECT_TRUE(std::isnan(total_repayment(nothing_free)));
}

TEST(Payment, NegativePrincipalGivesNegativeFigures)
{
	const LoanTerms loan = terms(100, 300, 30, 7.5F);

	EXPECT_EQ(cents(monthly_payment(loan)), "-1.40");
	EXPECT_EQ(cents(total_repayment(loan)), "-503.43");
	EXPECT_EQ(cents(total_interest(loan)), "-303.43");
}

TEST(Payment, PrincipalBeyond32BitsDoesNotWrap)
{
	const LoanTerms loan = terms(2000000000, -2000000000, 1, 5);

	EXPECT_EQ(principal(loan), 4000000000LL);
	EXPECT_GT(monthly_payment(loan), 3.4e8);
	EXPECT_GT(total_interest(loan), 0.0);
	EXPECT_EQ(principal(terms(-2147483647 - 1, 2147483647, 1, 5)),
	          -4294967295LL);
}

TEST(Payment, LongestTermsStayFinite)
{
	const LoanTerms loan{1000, 0, 2147483640, 0.05F};

	EXPECT_NEAR(monthly_payment(loan), 1000 * 0.05 / 12, 1e-4);
	EXPECT_TRUE(std::isfinite(total_repayment(loan)));
	EXPECT_TRUE(std::isfinite(
	    monthly_payment(LoanTerms{1000, 0, -2147483640, 0.05F})));
}

// The discount factor is correctly rounded on every platform, so these
// print as on Linux, where the C library's pow rounds them correctly;
// mingw-w64's pow once made them a cent less on Windows.
TEST(Payment, DiscountFactorIsTheSameOnEveryPlatform)
{
	EXPECT_EQ(cents(total_repayment(terms(1617173837, 0, 16, 0.97F))),
	          "1746563645.78");
	EXPECT_EQ(cents(total_repayment(terms(865417, 0, 9, 0.11F))),
	          "869747.56");
}

// Rates that change 1 + r but that a double cannot hold beside 1 once
// gave interests of $-459568.00, $-12368.53 and $-0.06 here; the exact
// interests at these rates are $0.000000022, $0.0000015 and $0.0300833.
TEST(Payment, TinyRatesGiveTheExactInterest)
{
	const struct {
		float percentage;
		const char *interest;
	} cases[] = {{1.44e-13F, "0.00"}, {1e-11F, "0.00"}, {2e-7F, "0.03"}};

	for (const auto &c : cases) {
		const LoanTerms loan = terms(1000000, 0, 30, c.percentage);
		EXPECT_EQ(cents(total_interest(loan)), c.interest);
		EXPECT_GE(total_interest(loan), 0.0);
		EXPECT_FALSE(std::signbit(total_interest(loan)));
		EXPECT_EQ(cents(monthly_payment(loan)), "2777.78");
	}
	// A negative tiny rate lowers the total, and the longest term stays
	// finite: (1 + r)^n is e^-2 here.
	EXPECT_LT(total_interest(terms(1000000, 0, 30, -2e-7F)), 0.0);
	const LoanTerms longest{1000000, 0, 2147483640, 12 * 0x1p-30F};
	EXPECT_NEAR(total_repayment(longest) / 1000000,
	            2.0 / (1.0 - std::exp(-2.0)), 1e-6);
}
