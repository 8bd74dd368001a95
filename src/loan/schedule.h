// SPDX-License-Identifier: MIT
// The payment schedule of the statement's loan: a line a payment, every
// amount in whole cents, the last payment taking up what the rounding of
// the others left, so that the balance ends at exactly 0.00.
#ifndef LOAN_DESK_LOAN_SCHEDULE_H
#define LOAN_DESK_LOAN_SCHEDULE_H

#include <cstdint>
#include <cstdio>

#include "loan/terms.h"

// One month's line, in cents.
struct Payment {
	std::int64_t month; // from 1
	std::int64_t payment;
	std::int64_t interest;
	std::int64_t principal;
	std::int64_t balance; // what is owed after the payment
};

// Where the schedule stands.
struct Schedule {
	float rate;               // the monthly rate of the statement's figures
	std::int64_t count;       // payments at most
	std::int64_t installment; // the statement's monthly payment, in cents
	std::int64_t month;       // the months paid so far
	std::int64_t balance;     // what is owed after them
};

// Why the terms have no schedule, as a message gives it: null where they
// have one, which *schedule then starts.
const char *start_schedule(LoanTerms terms, Schedule *schedule);

// The next month's payment, into *payment: false after the last, or
// where an amount would reach cents_limit (then *too_large is set).
bool next_payment(Schedule *schedule, Payment *payment, bool *too_large);

// Writes the schedule that start_schedule started as CSV, a header and a
// line a payment, each ending in CR LF: null when it is whole, else why
// there is none.
const char *write_schedule(std::FILE *out, Schedule *schedule);

#endif
