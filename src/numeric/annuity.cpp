// SPDX-License-Identifier: MIT
#include "numeric/annuity.h"

#include "numeric/binary_power.h"

// (1 + r)^k as 1 + k r + s, held as k and the excess s, its terms of
// second and higher order in r.  With r tiny, s is far below a unit in the
// last place of 1 + k r, and of k r too, yet it is all that makes the
// interest.
struct Powered {
	std::uint64_t count;
	Pair excess;
};

static Pair
negated(Pair x)
{
	return {-x.hi, -x.lo};
}

// k r, exact as a pair.
static Pair
linear(std::uint64_t count, double rate)
{
	return two_product(static_cast<double>(count), rate);
}

// g = (1 + r)^k - 1 = k r + s.
static Pair
growth(Powered x, double rate)
{
	return pair_sum(linear(x.count, rate), x.excess);
}

// (1 + r)^(a + b) from (1 + r)^a and (1 + r)^b.  The excess is s_a + s_b
// + g_a g_b, where the g have the sign of r, so that their product is
// positive like the s: three terms of one sign, nothing cancels.
static Powered
combined(Powered a, Powered b, double rate)
{
	const Pair cross = pair_product(growth(a, rate), growth(b, rate));
	return {a.count + b.count,
	        pair_sum(pair_sum(a.excess, b.excess), cross)};
}

// The shares of its principal that an annuity of n payments at a rate r a
// payment repays and pays in interest: F = n r / (1 - (1 + r)^-n) and
// S = F - 1.  In pair arithmetic, for rates so small that the plain
// formula's 1 + r and 1 - (1 + r)^-n lose the interest altogether: S is
// formed without the 1 that cancels, so that it keeps its relative
// accuracy however near 0 it comes, and its sign, that of r n.
//
// With x = |n| r, s the excess and g the growth of (1 + r)^|n|, S is
// x - s / g for n > 0 and -s / g for n < 0.
Pair
annuity_interest_share(double rate, std::int64_t count)
{
	const std::uint64_t periods = unsigned_magnitude(count);
	const Powered powered = binary_power(
	    Powered{1, {0.0, 0.0}}, periods, Powered{0, {0.0, 0.0}},
	    [rate](Powered a, Powered b) { return combined(a, b, rate); });
	const Pair s_over_g =
	    pair_quotient(powered.excess, growth(powered, rate));

	if (count < 0)
		return negated(s_over_g);
	return pair_sum(linear(periods, rate), negated(s_over_g));
}
