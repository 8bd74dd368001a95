// SPDX-License-Identifier: MIT
// One consultation at the loan desk, from greeting to statement.
#ifndef LOAN_DESK_LOAN_DESK_H
#define LOAN_DESK_LOAN_DESK_H

#include <cstdio>

#include "loan/terms.h"

bool read_terms(std::FILE *in, LoanTerms *terms);
int run_desk();

#endif
