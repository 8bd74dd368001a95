// SPDX-License-Identifier: MIT
#ifndef LOAN_DESK_LOAN_STATEMENT_H
#define LOAN_DESK_LOAN_STATEMENT_H

#include <cstdio>

#include "loan/terms.h"

// The loan disclosure statement: heading, nine rows, closing rule.
void print_statement(std::FILE *out, LoanTerms terms,
                     const char *borrower_name);

#endif
