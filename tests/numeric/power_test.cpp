// SPDX-License-Identifier: MIT
// The power routine's hardest roundings, for every build: the comparison
// with MPFR runs natively only, and these also run cross-built and under
// wine, where a compiler or C library difference would show.
#include "numeric/power.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>

#include "settled_power.h"

TEST(Power, RoundsOnceToTheNearestDouble)
{
	const struct {
		double base;
		long long exponent;
		double expected;
	} cases[] = {
	    // Exact ties, to even: 1 + 2^-26 + 2^-54 down, 262143^3 =
	    // 18014192351838207 up.
	    {0x1.0000002p0, 2, 0x1.0000004p0},
	    {262143.0, 3, 18014192351838208.0},
	    // 2^-1075, half the least subnormal, ties to zero.
	    {0x1p-25, 43, 0.0},
	    {0x1p25, -43, 0.0},
	    // Subnormal results that rounding first to 53 bits, then to the
	    // subnormal grid, would get wrong by one unit.
	    {5.0, -441, 0x0.4154e6f6f378fp-1022},
	    {7.0, -365, 0x0.27d225a5204cfp-1022},
	    // Overflow, and a result just short of it.
	    {0x1.fffffffffffffp1023, 2, HUGE_VAL},
	    {0x1p-1, -1023, 0x1p1023},
	    // Signs of odd and even powers, of zeros and of infinities.
	    {-2.0, 3, -8.0},
	    {-2.0, -3, -0.125},
	    {-2.0, 2, 4.0},
	    {0.0, -2, HUGE_VAL},
	    {-0.0, -3, -HUGE_VAL},
	    {-0.0, 3, -0.0},
	    {-HUGE_VAL, -3, -0.0},
	    {NAN, 0, 1.0},
	    // The longest terms: (1 + 2^-52)^-(2^31 - 1) = e^-(2^-21) nearly,
	    // and the largest exponents the routine takes.
	    {0x1.0000000000001p0, -2147483647, 0x1.fffff00000402p-1},
	    {0x1.0000000000001p0, 4294967296, 0x1.00001000008p0},
	    {0x1.fffffffffffffp-1, -4294967296, 0x1.00000800002p0},
	};

	for (const auto &c : cases) {
		const double ours = power(c.base, c.exponent);
		EXPECT_EQ(ours, c.expected)
		    << std::hexfloat << c.base << " ^ " << c.exponent;
		EXPECT_EQ(std::signbit(ours), std::signbit(c.expected))
		    << std::hexfloat << c.base << " ^ " << c.exponent;
		EXPECT_EQ(settled_power(c.base, c.exponent), ours);
	}
	EXPECT_TRUE(std::isnan(power(NAN, 1)));
}

// Past 2^32 the error bound no longer holds, nor the proof: a NaN, not a
// guess.  Some of these results are in range, e^±256 and 1, where exact
// arithmetic on such exponents would overflow (the sanitizers' build
// checks that nothing does).
TEST(Power, RefusesLargerExponents)
{
	const struct {
		double base;
		std::int64_t exponent;
	} cases[] = {
	    {0x1.0000000000001p0, 0x100000001},
	    {0x1.0000000000001p0, -0x100000001},
	    {0x1.0000000000001p0, 0x1000000000000000},
	    {0x1.0000000000001p0, -0x1000000000000000},
	    {1.0, INT64_MAX},
	    {1.0, INT64_MIN},
	};

	for (const auto &c : cases)
		EXPECT_TRUE(std::isnan(power(c.base, c.exponent)))
		    << std::hexfloat << c.base << " ^ " << c.exponent;
}
