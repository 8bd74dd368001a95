// SPDX-License-Identifier: MIT
// The program's own rounding and exponents are the C library's, bit for
// bit: over edges chosen by hand, and over doubles of every binade drawn
// at random, subnormals and the largest included.
#include "numeric/binary_float.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>

// The same bits, so that -0 is told from 0; any NaN for a NaN, which the
// C library may quieten.
static bool
same(double a, double b)
{
	return std::isnan(a) ? std::isnan(b)
	                     : std::bit_cast<std::uint64_t>(a) ==
	                           std::bit_cast<std::uint64_t>(b);
}

static void
expect_as_c_library(double x, int n)
{
	int exponent = 0;
	int expected_exponent = 0;
	const double fraction = split_exponent(x, &exponent);

	EXPECT_TRUE(same(nearest_whole(x), std::nearbyint(x))) << x;
	EXPECT_TRUE(same(fraction, std::frexp(x, &expected_exponent))) << x;
	if (std::isfinite(x)) {
		EXPECT_EQ(exponent, expected_exponent) << x;
	}
	EXPECT_TRUE(same(scale_by_two(x, n), std::ldexp(x, n)))
	    << x << " by 2^" << n;
}

TEST(BinaryFloat, AsTheCLibraryOnEdges)
{
	const double edges[] = {0.5,
	                        1.5,
	                        2.5,
	                        -0.5,
	                        -2.5,
	                        0.49999999999999994,
	                        -0.3,
	                        0.0,
	                        -0.0,
	                        0x1p52 - 0.5,
	                        0x1p52 + 1,
	                        0x1p53,
	                        HUGE_VAL,
	                        -HUGE_VAL,
	                        NAN,
	                        0x1p-1074,
	                        0x1p-1022,
	                        0x1.fffffffffffffp-1023,
	                        0x1.fffffffffffffp1023,
	                        0x1.8p-1073};
	// Steps in and out of the subnormals, past both ends, and by ints'
	// extremes.
	const int scales[] = {0,       1,          -1,        -1074,    -1075,
	                      1023,    2046,       -2098,     2100,     -2200,
	                      1 << 30, -(1 << 30), INT32_MAX, INT32_MIN};

	for (const double x : edges) {
		for (const int n : scales)
			expect_as_c_library(x, n);
	}
}

TEST(BinaryFloat, AsTheCLibraryOnRandomDoubles)
{
	// NOLINTNEXTLINE(cert-msc32-c,cert-msc51-cpp): the same draws each run
	std::mt19937_64 random(20261210);
	std::uniform_int_distribution<int> scales(-2200, 2200);

	for (int draw = 0; draw < 200000; draw++) {
		const auto x = std::bit_cast<double>(random());
		// Doubles near the whole numbers and halves too, which the
		// bits alone would seldom draw.
		const double near =
		    std::ldexp(static_cast<double>(random() >> 40U),
		               static_cast<int>(random() % 8) - 4);
		expect_as_c_library(x, scales(random));
		expect_as_c_library(-near, scales(random));
	}
}
