// SPDX-License-Identifier: MIT
// The four prompts of the loan desk and the terms their answers make.
#ifndef LOAN_DESK_LOAN_PROMPTS_H
#define LOAN_DESK_LOAN_PROMPTS_H

#include <cstdio>

#include "loan/terms.h"

bool read_terms(std::FILE *in, LoanTerms *terms);

#endif
