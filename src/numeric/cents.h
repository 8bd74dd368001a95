// SPDX-License-Identifier: MIT
// Amounts in whole cents, held exactly in 64 bits: rounded products with a
// single-precision rate, and the amounts that "%.2f" prints.
#ifndef LOAN_DESK_NUMERIC_CENTS_H
#define LOAN_DESK_NUMERIC_CENTS_H

#include <cstdint>

// The size every amount stays below: $10^16.  Two such amounts add up
// within 64 bits.
constexpr std::int64_t cents_limit = 1'000'000'000'000'000'000;

// cents times rate, rounded to the nearest cent, a half cent away from 0,
// into *product: false, leaving it as it was, where the result's size
// would reach cents_limit or the rate is no number.  Exact for every
// amount below the limit and every rate.
bool cents_times_rate(std::int64_t cents, float rate, std::int64_t *product);

// The amount a "%.2f" conversion wrote, such as "-12.30", in cents: false
// where the text is none, or its size reaches cents_limit.
bool cents_of_text(const char *text, std::int64_t *cents);

#endif
