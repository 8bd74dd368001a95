// SPDX-License-Identifier: MIT
// The money figures of a fully amortised fixed-rate loan.  Each step runs
// in the precision the statement's figures have always been computed in,
// part single and part double: that mixture decides the last cent.  Small
// rates, whose interest that mixture cannot resolve, take the exact
// annuity instead.
#ifndef LOAN_DESK_LOAN_PAYMENT_H
#define LOAN_DESK_LOAN_PAYMENT_H

#include "loan/terms.h"

struct LoanFigures {
	double payment;   // monthly
	double repayment; // in total
	double interest;  // in total: the repayment less the principal
};

// The monthly rates r the entry takes, lowest_monthly_rate < r <
// highest_monthly_rate: an APR between -1200% and about 9.5e31%.  Within
// them every figure of a loan with payments is finite, and its interest has
// the sign of P r n, or is 0 (P the principal, n the count, |P| < 2^32 and
// 12 <= |n| < 2^31 as the entry takes them).
constexpr float lowest_monthly_rate = -1.0F;
constexpr float highest_monthly_rate = 0x1p96F;

// Monthly rates r with 0 < |r| < small_rate_bound (an APR under about
// 0.0000358%) have the figures of the exact annuity; the others keep the
// fixed steps.
constexpr float small_rate_bound = 0x1p-25F;

// The annual rate over 12 months, rounded to single precision.
float monthly_rate(LoanTerms terms);
// The loan's figures at that monthly rate, each rounded as the statement
// has always shown it.
LoanFigures loan_figures(LoanTerms terms);
// The monthly payment of those figures.
double monthly_payment(LoanTerms terms);

#endif
