// SPDX-License-Identifier: MIT
// What the random sweeps against MPFR share: their size and seed, which
// the environment may change, and the draws they make.
#ifndef LOAN_DESK_TESTS_RANDOM_SWEEP_H
#define LOAN_DESK_TESTS_RANDOM_SWEEP_H

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>

// The environment variable's value as a number, or the fallback.
inline std::uint64_t
setting(const char *name, std::uint64_t fallback)
{
	const char *text = std::getenv(name);
	return text != nullptr && *text != '\0'
	           ? std::strtoull(text, nullptr, 10)
	           : fallback;
}

// A uniform double in [0, 1) and a log-uniform one in [low, high].
inline double
uniform(std::mt19937_64 &random)
{
	return std::ldexp(static_cast<double>(random() >> 11U), -53);
}

inline double
log_uniform(std::mt19937_64 &random, double low, double high)
{
	return low * std::pow(high / low, uniform(random));
}

#endif
