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

// The monthly rates the entry takes: r with lowest_monthly_rate < r <
// highest_monthly_rate, an APR between -1200% and about 9.5e31%.  Within
// them every figure of a loan with payments is finite, and its interest has
// the sign of P r n, or is 0 (P the principal, n the count, |P| < 2^32 and
// 12 <= |n| < 2^31 as the entry takes them).
//
// Below: at r = -1 the base 1 + r of the discount factor is 0, and below
// that negative.  That is no loan's growth, and the annuity's derivation
// (the balance (1 + r)^k times the principal, less the payments) no longer
// holds.  The steps still give finite figures of that sign down to about
// r = -1.775, as each count is even, but from there the interest turns
// over 12 payments, and at r = -2 the denominator is 0.
//
// Above: the numerator P r is formed in single precision, and P through
// single precision is at most 2^32, so any float r below 2^96 keeps it at
// most FLT_MAX; at 2^96 it is infinite for the largest principals.
//
// Between them, the steps below are finite: 1 + r > 0, so the discount
// factor (1 + r)^-n is a number from 0 to an infinity, never 1 (it is
// (1 + r)^-12 or further from 1, with |r| >= 2^-25), and the denominator a
// nonzero number or minus infinity; the payment is then at most 2^128 /
// (12 * 2^-25) in size, or 0, and the total at most 2^31 times that.  Where
// the discount factor is infinite (n r < 0, |n log(1 + r)| > 709), the
// payment is 0, the total 0 and the interest -P, whose sign is that of P r
// n.  The sign elsewhere is the argument below.
constexpr float lowest_monthly_rate = -1.0F;
constexpr float highest_monthly_rate = 0x1p96F;

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

#endif
