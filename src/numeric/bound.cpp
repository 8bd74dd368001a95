// SPDX-License-Identifier: MIT
#include "numeric/bound.h"

#include <algorithm>

constexpr int limb_bits = 32;
constexpr std::uint64_t limb_mask = 0xffffffffU;
constexpr std::uint32_t top_limb_bit = 0x80000000U;

Bound
bound_of(std::uint64_t value, std::int64_t exp, std::size_t limbs)
{
	int shift = 0;

	while ((value >> (2 * limb_bits - 1)) == 0) {
		value <<= 1U;
		++shift;
	}
	Bound bound{{},
	            limbs,
	            exp - shift -
	                limb_bits * static_cast<std::int64_t>(limbs - 2)};
	bound.digits[limbs - 1] =
	    static_cast<std::uint32_t>(value >> limb_bits);
	bound.digits[limbs - 2] = static_cast<std::uint32_t>(value & limb_mask);
	return bound;
}

// a * b truncated to a's number of limbs; *inexact tells whether that
// dropped any bit that was set.
static Bound
truncated_product(const Bound &a, const Bound &b, bool *inexact)
{
	const std::size_t limbs = a.limbs;
	std::array<std::uint32_t, 2 * max_limbs> full{};

	for (std::size_t i = 0; i < limbs; ++i) {
		std::uint64_t carry = 0;
		for (std::size_t j = 0; j < limbs; ++j) {
			const std::uint64_t sum =
			    std::uint64_t{a.digits[i]} * b.digits[j] +
			    full[i + j] + carry;
			full[i + j] =
			    static_cast<std::uint32_t>(sum & limb_mask);
			carry = sum >> limb_bits;
		}
		full[i + limbs] = static_cast<std::uint32_t>(carry);
	}
	std::int64_t exp =
	    a.exp + b.exp + limb_bits * static_cast<std::int64_t>(limbs);
	if ((full[2 * limbs - 1] & top_limb_bit) == 0) {
		std::uint32_t carry = 0;
		for (std::size_t i = 0; i < 2 * limbs; ++i) {
			const std::uint32_t next = full[i] >> (limb_bits - 1);
			full[i] = (full[i] << 1U) | carry;
			carry = next;
		}
		--exp;
	}
	*inexact = std::any_of(
	    full.begin(), full.begin() + static_cast<std::ptrdiff_t>(limbs),
	    [](std::uint32_t digit) { return digit != 0; });
	Bound result{{}, limbs, exp};
	std::copy_n(full.begin() + static_cast<std::ptrdiff_t>(limbs), limbs,
	            result.digits.begin());
	return result;
}

Bound
product_down(const Bound &a, const Bound &b)
{
	bool inexact = false;
	return truncated_product(a, b, &inexact);
}

// The truncation, one unit of its last limb up unless it was exact.  A
// carry out of the top limb leaves every limb 0: the bound is then the top
// bit alone, one place up.
Bound
product_up(const Bound &a, const Bound &b)
{
	bool inexact = false;
	Bound result = truncated_product(a, b, &inexact);

	if (!inexact)
		return result;
	bool carry = true;
	for (std::size_t i = 0; carry && i < result.limbs; ++i) {
		result.digits[i] += 1;
		carry = result.digits[i] == 0;
	}
	if (carry) {
		result.digits[result.limbs - 1] = top_limb_bit;
		++result.exp;
	}
	return result;
}

int
compare(const Bound &a, const Bound &b)
{
	if (a.exp != b.exp)
		return a.exp < b.exp ? -1 : 1;
	for (std::size_t i = a.limbs; i-- > 0;)
		if (a.digits[i] != b.digits[i])
			return a.digits[i] < b.digits[i] ? -1 : 1;
	return 0;
}
