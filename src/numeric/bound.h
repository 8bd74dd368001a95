// SPDX-License-Identifier: MIT
// Integers of up to 8192 bits as bounds on an exact product: truncated to
// a number of 32-bit limbs, rounded down or up, for the power routine's
// settling phase.
#ifndef LOAN_DESK_NUMERIC_BOUND_H
#define LOAN_DESK_NUMERIC_BOUND_H

#include <array>
#include <cstddef>
#include <cstdint>

// The widest bounds: 8192 bits.  Held in place, so that the program needs
// no allocator and no C++ runtime library.
constexpr std::size_t max_limbs = 256;

// An integer bound digits * 2^exp: its first `limbs` 32-bit limbs, least
// significant first, the top bit of the last one set.
struct Bound {
	std::array<std::uint32_t, max_limbs> digits;
	std::size_t limbs;
	std::int64_t exp;
};

// value * 2^exp for value > 0, as a bound of 2 to max_limbs limbs.
Bound bound_of(std::uint64_t value, std::int64_t exp, std::size_t limbs);

// a * b to a's number of limbs, rounded down or up; b has as many.
Bound product_down(const Bound &a, const Bound &b);
Bound product_up(const Bound &a, const Bound &b);

// -1, 0 or 1 as a is below, equal to or above b, of as many limbs.
int compare(const Bound &a, const Bound &b);

#endif
