// SPDX-License-Identifier: MIT
#include "loan/payment.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "loan/power.h"

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
	return monthly_payment(terms) *
	       static_cast<double>(static_cast<float>(terms.payment_count));
}

double
total_interest(LoanTerms terms)
{
	return total_repayment(terms) - static_cast<double>(principal(terms));
}
