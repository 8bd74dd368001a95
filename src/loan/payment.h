// SPDX-License-Identifier: MIT
// The money figures of a fully amortised fixed-rate loan.  Each step runs
// in the precision the statement's figures have always been computed in,
// part single and part double: that mixture decides the last cent.
#ifndef LOAN_DESK_LOAN_PAYMENT_H
#define LOAN_DESK_LOAN_PAYMENT_H

#include "loan/terms.h"

float monthly_rate(LoanTerms terms);
double monthly_payment(LoanTerms terms);
double total_repayment(LoanTerms terms);
double total_interest(LoanTerms terms);

#endif
