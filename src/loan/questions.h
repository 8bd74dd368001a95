// SPDX-License-Identifier: MIT
// The four questions of the loan desk: what each asks, what messages call
// its answer, and which of the loan terms the answer fills.
#ifndef LOAN_DESK_LOAN_QUESTIONS_H
#define LOAN_DESK_LOAN_QUESTIONS_H

#include <cstdint>
#include <cstdio>

#include "loan/terms.h"

// A whole answer fills a 32-bit field times its scale, years as months,
// and so ranges over what the field holds divided by the scale.  The one
// question without a whole field asks the rate, a percentage, which fills
// the annual rate divided by 100: a fraction.
struct Question {
	const char *prompt; // the answer is typed on the prompt's line
	const char *name;   // "input ended before the loan term was entered"
	const char *noun;   // "\"x\" is not a loan term: ..."
	const char *wanted; // "...: enter whole years"
	std::int32_t LoanTerms::*whole; // a whole answer's field, or nullptr
	std::int32_t scale;             // what the field holds per unit typed
};

// In the order they are asked.
extern const Question questions[4];

bool read_terms(std::FILE *in, LoanTerms *terms);

#endif
