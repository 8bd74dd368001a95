// SPDX-License-Identifier: MIT
// The power routine's phases, for power.cpp and its tests alone: the tests
// drive the exact settling phase directly, and check that their hardest
// cases are ones the fast phase alone would round wrong.
#ifndef LOAN_DESK_NUMERIC_POWER_INTERNAL_H
#define LOAN_DESK_NUMERIC_POWER_INTERNAL_H

#include <cstdint>

namespace power_internal
{

// (hi + lo) * 2^exp, |lo| <= ulp(hi) / 2, the binary exponent held apart.
struct Scaled {
	double hi;
	double lo;
	std::int64_t exp;
};

// An approximation against the grid of doubles it rounds to, scaled alike:
// the result is a grid point times 2^exp.
struct Placement {
	// The grid point nearest hi.
	double nearest;
	// 1 or -1: the approximation's side of nearest, where the midpoint
	// in doubt lies.
	int side;
	// How far inside nearest's half step the approximation lies; negative
	// past the midpoint.
	double inside;
	std::int64_t exp;
	// The grid's step, scaled, is 2^grid_exp.
	std::int64_t grid_exp;
};

// The fast phase: magnitude^count, or magnitude^-count if inverse, for a
// finite magnitude > 0 and 1 <= count <= 2^32, in double-double
// arithmetic, hi + lo in [1, 2), the binary exponent held apart however
// far out of the range of doubles it lies.
Scaled approximate(double magnitude, std::uint64_t count, bool inverse);

// Whether the approximation's result may be a finite nonzero double; if
// not, it is an infinity for exp > 0 and 0 below.
bool in_range(Scaled approximation);

// The approximation of an in-range result on its grid.
Placement placed(Scaled approximation);

// The decision: whether the approximation lies farther from the midpoint
// in doubt than its error bound, so that rounding it as it stands is
// proven right.
bool decides(const Placement &place, std::uint64_t count);

// The approximation rounded as it stands.
double rounded_approximation(const Placement &place);

// The settling phase: the double nearest magnitude^±count, the side of the
// midpoint in doubt settled by exact integer arithmetic.
double settle(const Placement &place, double magnitude, std::uint64_t count,
              bool inverse);

} // namespace power_internal

#endif
