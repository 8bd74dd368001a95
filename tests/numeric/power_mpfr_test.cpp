// SPDX-License-Identifier: MIT
// The power routine against MPFR, bit for bit.  MPFR is a dependency of
// the tests against it alone, built where the tests run natively.
//
// LOAN_DESK_POWER_CASES and LOAN_DESK_POWER_SEED change the number of
// random powers and their seed (scripts/soak-power runs ten million).
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <mpfr.h>
#include <random>

#include "numeric/power.h"
#include "numeric/power_internal.h"
#include "random_sweep.h"

// The power with its rounding always settled by the exact phase, whatever
// the decision would say.  A result with no midpoint in doubt (a special
// case, or far out of range) is power()'s, and signs are too.
static double
settled_power(double base, std::int64_t exponent)
{
	using namespace power_internal;
	const double ours = power(base, exponent);
	const double magnitude = std::fabs(base);
	const bool inverse = exponent < 0;
	const auto count =
	    static_cast<std::uint64_t>(inverse ? -exponent : exponent);

	if (count == 0 || magnitude == 0.0 || !std::isfinite(magnitude))
		return ours;
	const Scaled approximation = approximate(magnitude, count, inverse);
	if (!in_range(approximation))
		return ours;
	return std::copysign(
	    settle(placed(approximation), magnitude, count, inverse), ours);
}

// MPFR's power rounded as a double is: 53 bits, and double's exponent
// range, so that overflow, subnormals and underflow to zero round once as
// IEEE 754 rounds them.
static double
mpfr_power(double base, long exponent)
{
	const mpfr_exp_t old_min = mpfr_get_emin();
	const mpfr_exp_t old_max = mpfr_get_emax();
	mpfr_set_emin(-1073);
	mpfr_set_emax(1024);
	mpfr_t x;
	mpfr_t y;
	mpfr_init2(x, 53);
	mpfr_init2(y, 53);
	mpfr_set_d(x, base, MPFR_RNDN);
	const int inexact = mpfr_pow_si(y, x, exponent, MPFR_RNDN);
	mpfr_subnormalize(y, inexact, MPFR_RNDN);
	const double result = mpfr_get_d(y, MPFR_RNDN);
	mpfr_clears(x, y, nullptr);
	mpfr_set_emin(old_min);
	mpfr_set_emax(old_max);
	return result;
}

static std::uint64_t
bits_of(double value)
{
	std::uint64_t bits = 0;
	std::memcpy(&bits, &value, sizeof bits);
	return bits;
}

// A monthly rate as the program holds it, from an annual one.
static float
monthly(double annual)
{
	return static_cast<float>(
	    static_cast<double>(static_cast<float>(annual)) / 12.0);
}

// 1 + r for the kinds of rate a borrower can enter, and other doubles.
static double
random_base(std::mt19937_64 &random)
{
	const double sign = (random() & 1U) != 0 ? -1.0 : 1.0;
	float rate = 0;
	switch (random() % 8) {
	case 0: // APR 0.0001% to 1200%
		rate = monthly(log_uniform(random, 1e-6, 12.0));
		break;
	case 1: // tiny rates, either sign
		rate = static_cast<float>(
		    sign * log_uniform(random, 0x1p-60, 0x1p-20));
		break;
	case 2: // huge rates, up to the largest the entry can hold
		rate = monthly(log_uniform(random, 1.0, 3.4e36));
		break;
	case 3: // negative rates, the base between 0 and 1 or below 0
		rate = -static_cast<float>(log_uniform(random, 1e-6, 1e36));
		break;
	case 4: // bases near 0: r near -1
		rate = -1.0F + static_cast<float>(
		                   sign * log_uniform(random, 0x1p-24, 1e-3));
		break;
	case 5: { // a short odd significand, whose small powers may tie
		const auto width = static_cast<int>(2 + random() % 27);
		const auto odd =
		    static_cast<double>((random() >> (64 - width)) | 1U);
		return sign * std::ldexp(odd, static_cast<int>(random() % 40) -
		                                  20 - width);
	}
	case 6: { // any finite double
		double value = NAN;
		while (!std::isfinite(value)) {
			const std::uint64_t bits = random();
			std::memcpy(&value, &bits, sizeof value);
		}
		return value;
	}
	default: // next to 1
		return 1.0 +
		       sign * std::ldexp(static_cast<double>(1 + random() % 64),
		                         -52);
	}
	return static_cast<double>(rate) + 1.0;
}

// Small exponents, loan terms, any up to 2^31 - 1, up to 2^32, and ones
// aimed to land the power near the edges of the double range.
static long
random_exponent(std::mt19937_64 &random, double base)
{
	const long sign = (random() & 1U) != 0 ? -1 : 1;
	switch (random() % 6) {
	case 0:
		return sign * static_cast<long>(1 + random() % 16);
	case 1:
		return sign * static_cast<long>(1 + random() % 4000);
	case 2:
		return sign *
		       static_cast<long>(log_uniform(random, 1.0, 0x1p31 - 1));
	case 3:
		return sign * static_cast<long>(
		                  0x1p32 -
		                  static_cast<double>(random() % 0x100000000U));
	default: {
		const double edges[] = {-1074.0, -1022.0, 1024.0};
		const double target =
		    edges[random() % 3] + uniform(random) * 4 - 2;
		const double per_factor = std::log2(std::fabs(base));
		const double exponent = std::round(target / per_factor);
		if (!std::isfinite(exponent) || std::fabs(exponent) > 0x1p32 ||
		    exponent == 0)
			return sign;
		return static_cast<long>(exponent);
	}
	}
}

TEST(PowerAgainstMpfr, EveryRandomPowerIsTheCorrectlyRoundedOne)
{
	const std::uint64_t cases = setting("LOAN_DESK_POWER_CASES", 200000);
	const std::uint64_t seed = setting("LOAN_DESK_POWER_SEED", 20240611);
	std::mt19937_64 random(seed);
	std::uint64_t wrong = 0;
	std::uint64_t wrong_settled = 0;

	for (std::uint64_t i = 0; i < cases; ++i) {
		const double base = random_base(random);
		const long exponent = random_exponent(random, base);
		const double expected = mpfr_power(base, exponent);
		const double ours = power(base, exponent);
		const double settled = settled_power(base, exponent);
		wrong += bits_of(ours) != bits_of(expected) ? 1 : 0;
		wrong_settled += bits_of(settled) != bits_of(expected) ? 1 : 0;
		if ((bits_of(ours) != bits_of(expected) ||
		     bits_of(settled) != bits_of(expected)) &&
		    wrong + wrong_settled <= 10)
			ADD_FAILURE()
			    << std::hexfloat << base << " ^ " << exponent
			    << ": MPFR " << expected << ", power " << ours
			    << ", settled exactly " << settled;
	}
	std::printf("%" PRIu64 " powers, seed %" PRIu64 ": %" PRIu64
	            " wrong, %" PRIu64 " wrong when settled exactly\n",
	            cases, seed, wrong, wrong_settled);
	EXPECT_EQ(wrong, 0U);
	EXPECT_EQ(wrong_settled, 0U);
}
