// SPDX-License-Identifier: MIT
// The power with its rounding always settled by the exact phase, whatever
// the decision would say: the power tests check that phase on each case.
#ifndef LOAN_DESK_TESTS_NUMERIC_SETTLED_POWER_H
#define LOAN_DESK_TESTS_NUMERIC_SETTLED_POWER_H

#include <cmath>
#include <cstdint>

#include "numeric/power.h"
#include "numeric/power_internal.h"

// power(), but for the phases: a result with no midpoint in doubt (a
// special case, or far out of range) is power()'s, and signs are too.
inline double
settled_power(double base, std::int64_t exponent)
{
	using namespace power_internal;
	const double ours = power(base, exponent);
	const double magnitude = std::fabs(base);
	const bool inverse = exponent < 0;
	const auto count =
	    static_cast<std::uint64_t>(inverse ? -exponent : exponent);

	if (count == 0 || magnitude == 0.0 || !std::isfinite(magnitude))
		return ours;
	const Scaled approximation = approximate(magnitude, count, inverse);
	if (!in_range(approximation))
		return ours;
	return std::copysign(
	    settle(placed(approximation), magnitude, count, inverse), ours);
}

#endif
