// SPDX-License-Identifier: MIT
#include "numeric/binary_float.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>

// The rounding relies on each sum being rounded to double where it is
// written, as double_double.h has it.
static_assert(FLT_EVAL_METHOD == 0,
              "nearest_whole needs double arithmetic in double precision");

constexpr int fraction_bits = 52;
constexpr int exponent_bias = 1023;
constexpr int largest_exponent = 1023;
constexpr int smallest_exponent = -1022; // of a normal double
constexpr std::uint64_t exponent_field = std::uint64_t{0x7ff} << fraction_bits;

// 2^n for smallest_exponent <= n <= largest_exponent, from its bits.
static double
two_to(int n)
{
	return std::bit_cast<double>(
	    static_cast<std::uint64_t>(n + exponent_bias) << fraction_bits);
}

// From 2^52 up every double is whole, and below it the sum with 2^52 lies
// where the doubles are the whole numbers: the sum is rounded to one, and
// taking 2^52 away again is exact.
double
nearest_whole(double x)
{
	constexpr double whole_from = 0x1p52;
	const double size = std::fabs(x);

	if (std::isnan(x) || size >= whole_from)
		return x;
	return std::copysign((size + whole_from) - whole_from, x);
}

// A subnormal x is first made normal, exactly, by 2^64.
double
split_exponent(double x, int *exponent)
{
	constexpr int normalising = 64;
	int shift = 0;

	*exponent = 0;
	if (x == 0 || std::isnan(x) || std::isinf(x))
		return x;
	if (std::fabs(x) < two_to(smallest_exponent)) {
		x *= 0x1p64;
		shift = normalising;
	}
	const auto bits = std::bit_cast<std::uint64_t>(x);
	const auto biased =
	    static_cast<int>((bits & exponent_field) >> fraction_bits);
	*exponent = biased - (exponent_bias - 1) - shift;
	return std::bit_cast<double>(
	    (bits & ~exponent_field) |
	    (static_cast<std::uint64_t>(exponent_bias - 1) << fraction_bits));
}

// Powers of two past a double's exponents are applied in two steps at
// most before the last.  Going up, a step only ever overflows where the
// result does too.  Going down, a step of 2^-969 is exact for any x from
// 2^-53 up, and leaves the last step below 2^-53, so that only the last
// step rounds into the subnormals; a smaller x gives 0 either way.
double
scale_by_two(double x, int n)
{
	constexpr int step_down = smallest_exponent + fraction_bits + 1;

	for (int step = 0; step < 2 && n > largest_exponent; step++) {
		x *= two_to(largest_exponent);
		n -= largest_exponent;
	}
	for (int step = 0; step < 2 && n < smallest_exponent; step++) {
		x *= two_to(step_down);
		n -= step_down;
	}
	return x * two_to(std::clamp(n, smallest_exponent, largest_exponent));
}
