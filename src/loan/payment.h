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

// Monthly rates r with 0 < |r| < small_rate_bound (an APR under about
// 0.0000358%) have the figures of the exact annuity; the others keep the
// fixed steps.  Why 2^-25:
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
constexpr float small_rate_bound = 0x1p-25F;

float monthly_rate(LoanTerms terms);
LoanFigures loan_figures(LoanTerms terms);
double monthly_payment(LoanTerms terms);

#endif
