// SPDX-License-Identifier: MIT
// Raising to a whole power by squaring, for any value with a product.
#ifndef LOAN_DESK_NUMERIC_BINARY_POWER_H
#define LOAN_DESK_NUMERIC_BINARY_POWER_H

#include <cstdint>

// x^count: the product of one, x^0, and the squares of x that the bits of
// count select, from the lowest bit up.
template <typename Value, typename Multiply>
Value
binary_power(Value x, std::uint64_t count, Value one, Multiply multiply)
{
	Value result = one;

	for (;;) {
		if ((count & 1U) != 0)
			result = multiply(result, x);
		count >>= 1U;
		if (count == 0)
			return result;
		x = multiply(x, x);
	}
}

// |value| as the count binary_power takes, INT64_MIN's included.
constexpr std::uint64_t
unsigned_magnitude(std::int64_t value)
{
	return value < 0 ? 0 - static_cast<std::uint64_t>(value)
	                 : static_cast<std::uint64_t>(value);
}

#endif
