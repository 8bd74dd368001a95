// SPDX-License-Identifier: MIT
#include "numeric/cents.h"

#include <cctype>
#include <cmath>

#include "numeric/binary_float.h"
#include "numeric/binary_power.h"

// A 128-bit magnitude, high and low words.
struct Wide {
	std::uint64_t high;
	std::uint64_t low;
};

// a * b for a below 2^64 and b below 2^32, from products of 32-bit halves.
static Wide
wide_product(std::uint64_t a, std::uint64_t b)
{
	constexpr unsigned half = 32;
	const std::uint64_t low_part = (a & 0xffffffffU) * b;
	const std::uint64_t high_part = (a >> half) * b;
	const std::uint64_t low = low_part + (high_part << half);

	return {(high_part >> half) + (low < low_part ? 1U : 0U), low};
}

// x / 2^shift rounded to the nearest whole number, a half up, for shift
// from 1 up: the quotient, plus one where the first bit shifted out
// (worth a half) is set.  ~0 where the quotient takes more than 64 bits.
static std::uint64_t
rounded_shift(Wide x, unsigned shift)
{
	constexpr unsigned word = 64;
	const unsigned half_bit = shift - 1;
	std::uint64_t quotient = 0;
	std::uint64_t half = 0;

	if (shift >= 2 * word)
		return 0; // x < 2^88: nothing is left, not even a half
	if (shift < word) {
		if ((x.high >> shift) != 0)
			return ~std::uint64_t{0};
		quotient = (x.low >> shift) | (x.high << (word - shift));
	} else {
		quotient = x.high >> (shift - word);
	}
	if (half_bit < word)
		half = (x.low >> half_bit) & 1U;
	else
		half = (x.high >> (half_bit - word)) & 1U;
	return quotient + half;
}

// The rate is m 2^e exactly, m a whole number below 2^24, so that
// |cents| m is exact in 88 bits, and the rounding is that of its shift.
bool
cents_times_rate(std::int64_t cents, float rate, std::int64_t *product)
{
	constexpr int mantissa_bits =
	    24; // a float's, the hidden bit's included
	const std::uint64_t size = unsigned_magnitude(cents);
	const auto limit = static_cast<std::uint64_t>(cents_limit);
	int exponent = 0;
	std::uint64_t result = 0;

	if (!std::isfinite(rate) || size >= limit)
		return false;
	const double fraction =
	    split_exponent(static_cast<double>(rate), &exponent);
	const auto mantissa = static_cast<std::uint64_t>(
	    std::fabs(scale_by_two(fraction, mantissa_bits)));
	exponent -= mantissa_bits;
	const Wide exact = wide_product(size, mantissa);
	if (exponent < 0) {
		result = rounded_shift(exact, static_cast<unsigned>(-exponent));
	} else if (exact.high == 0 && exact.low != 0) {
		const auto shift = static_cast<unsigned>(exponent);
		if (shift >= 64 || exact.low > (limit >> shift))
			return false;
		result = exact.low << shift;
	} else if (exact.high != 0) {
		return false;
	}
	if (result >= limit)
		return false;
	const bool negative = (cents < 0) != (rate < 0);
	*product = negative ? -static_cast<std::int64_t>(result)
	                    : static_cast<std::int64_t>(result);
	return true;
}

bool
cents_of_text(const char *text, std::int64_t *cents)
{
	const bool negative = *text == '-';
	std::int64_t value = 0;
	int decimals = -1; // none yet: the point is still to come

	for (text += negative ? 1 : 0; *text != '\0'; text++) {
		if (*text == '.' && decimals < 0) {
			decimals = 0;
			continue;
		}
		if (std::isdigit(static_cast<unsigned char>(*text)) == 0 ||
		    decimals == 2 || value >= cents_limit / 10)
			return false;
		value = value * 10 + (*text - '0');
		decimals += decimals >= 0 ? 1 : 0;
	}
	if (decimals != 2)
		return false;
	*cents = negative ? -value : value;
	return true;
}
