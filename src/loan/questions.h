// SPDX-License-Identifier: MIT
// The four questions of the loan desk: what each asks, what messages call
// its answer, and which of the loan terms the answer fills.
#ifndef LOAN_DESK_LOAN_QUESTIONS_H
#define LOAN_DESK_LOAN_QUESTIONS_H

#include <cstdint>
#include <cstdio>

#include "loan/terms.h"

// A whole answer fills a 32-bit field, times what the field holds per unit
// typed (years as months).  The rate, a percentage, fills the annual rate
// divided by 100.
struct Question {
	const char *prompt; // the answer is typed on the prompt's line
	const char *name;   // "input ended before the loan term was entered"
	const char *noun;   // "\"x\" is not a loan term: ..."
	const char *wanted; // "...: enter whole years"
	double lowest;      // the answers taken, as typed: from lowest to
	double highest;     // highest, or for the rate strictly between
	std::int32_t LoanTerms::*whole = nullptr; // a whole answer's field
	std::int32_t per_unit = 1; // what the field holds per unit typed
	bool is_rate = false;      // the APR, the one answer that is not whole
	char mark_before = '\0';   // one the answer may start with: '$'
	char mark_after = '\0';    // one it may end with: '%'
};

// In the order they are asked.
extern const Question questions[4];

bool read_terms(std::FILE *in, LoanTerms *terms);

#endif
