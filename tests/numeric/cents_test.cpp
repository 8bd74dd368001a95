// SPDX-License-Identifier: MIT
// Edges of the cents arithmetic that no schedule reaches, as the statement's
// payment is refused first, or that a random sweep meets only by chance:
// ties, rates of 2^23 and above, the limit itself, texts that are no amount.
#include "numeric/cents.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(Cents, TimesRateRoundsExactlyOrRefuses)
{
	constexpr std::int64_t none = -7; // left as it was
	const struct {
		std::int64_t cents;
		float rate;
		std::int64_t product;
	} cases[] = {
	    {3, 0.5F, 2},
	    {-3, 0.5F, -2},
	    {3, -0.5F, -2},
	    {3, 0.49999997F, 1},
	    {1, 0x1p-149F, 0},
	    {1, 0x1p59F, std::int64_t{1} << 59},
	    {cents_limit - 1, 1.0F, cents_limit - 1},
	    {cents_limit / 2, 2.0F, none},
	    {100, 0x1p62F, none},
	    {cents_limit, 0.0F, none},
	    {1, INFINITY, none},
	    {1, NAN, none},
	};

	for (const auto &c : cases) {
		std::int64_t product = none;
		EXPECT_EQ(cents_times_rate(c.cents, c.rate, &product),
		          c.product != none)
		    << c.cents << " " << c.rate;
		EXPECT_EQ(product, c.product) << c.cents << " " << c.rate;
	}
}

TEST(Cents, OfTextReadsTwoDecimalsBelowTheLimit)
{
	constexpr std::int64_t none = -7;
	const struct {
		const char *text;
		std::int64_t cents;
	} cases[] = {
	    {"37.66", 3766},
	    {"-12.30", -1230},
	    {"9999999999999999.99", cents_limit - 1},
	    {"10000000000000000.00", none},
	    {"37.6", none},
	    {"37.666", none},
	    {"37", none},
	    {"-nan", none},
	    {"inf", none},
	};

	for (const auto &c : cases) {
		std::int64_t cents = none;
		EXPECT_EQ(cents_of_text(c.text, &cents), c.cents != none)
		    << c.text;
		EXPECT_EQ(cents, c.cents) << c.text;
	}
}
