// SPDX-License-Identifier: MIT
// A double raised to a whole power, rounded once to the nearest double:
// the statement's discount factor, the same bits on every platform
// whatever its C library's pow does.
#ifndef LOAN_DESK_NUMERIC_POWER_H
#define LOAN_DESK_NUMERIC_POWER_H

#include <cstdint>

// base^exponent for |exponent| <= 2^32, correctly rounded (to nearest,
// ties to even) as IEEE 754 rounds an exact result: overflow gives an
// infinity, underflow a subnormal or zero, rounded once.  Any base to the
// power 0 is 1; a zero to a negative power is an infinity, signed as an
// odd power of -0 is.
double power(double base, std::int64_t exponent);

// The same result, with the rounding always settled by the exact integer
// bounds that power() turns to only when its fast arithmetic cannot tell.
// Slower; it lets the tests check those bounds on every case.
double power_settled_exactly(double base, std::int64_t exponent);

#endif
