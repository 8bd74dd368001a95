// SPDX-License-Identifier: MIT
// A double raised to a whole power, rounded once to the nearest double:
// the same bits on every platform, whatever its C library's pow does.
#ifndef LOAN_DESK_NUMERIC_POWER_H
#define LOAN_DESK_NUMERIC_POWER_H

#include <cstdint>

// base^exponent for |exponent| <= 2^32, correctly rounded (to nearest,
// ties to even) as IEEE 754 rounds an exact result: overflow gives an
// infinity, underflow a subnormal or zero, rounded once.  Any base to the
// power 0 is 1; a zero to a negative power is an infinity, signed as an
// odd power of -0 is.  A NaN base, or a larger exponent, gives a NaN.
double power(double base, std::int64_t exponent);

#endif
