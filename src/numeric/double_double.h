// SPDX-License-Identifier: MIT
// Sums and products of doubles kept exactly, as a rounded result and its
// error, and arithmetic on such pairs hi + lo (|lo| <= ulp(hi) / 2): about
// 106 bits, from + - * / on doubles alone, so that every build gets the
// same bits.
#ifndef LOAN_DESK_NUMERIC_DOUBLE_DOUBLE_H
#define LOAN_DESK_NUMERIC_DOUBLE_DOUBLE_H

#include <cfloat>

// The error-free transformations below (TwoSum, Dekker's product) are
// exact only when every operation is rounded to double where it is
// written: no wider registers, and no fused multiply-add (the build turns
// contraction off).
static_assert(FLT_EVAL_METHOD == 0,
              "double-double arithmetic needs double arithmetic in double "
              "precision (FLT_EVAL_METHOD 0)");

// hi + lo, two doubles.
struct Pair {
	double hi;
	double lo;
};

// 2^27 + 1: multiplying by it splits a double into two halves of 26 bits
// whose products are exact.
constexpr double veltkamp_splitter = 134217729.0;

inline Pair
two_sum(double a, double b)
{
	const double sum = a + b;
	const double b_part = sum - a;
	return {sum, (a - (sum - b_part)) + (b - b_part)};
}

// The same for |a| >= |b|.
inline Pair
fast_two_sum(double a, double b)
{
	const double sum = a + b;
	return {sum, b - (sum - a)};
}

inline Pair
split(double a)
{
	const double spread = veltkamp_splitter * a;
	const double hi = spread - (spread - a);
	return {hi, a - hi};
}

// a * b exactly, as the rounded product and its error (Dekker), unless
// the error falls below the smallest subnormal.
inline Pair
two_product(double a, double b)
{
	const double rounded_product = a * b;
	const Pair x = split(a);
	const Pair y = split(b);
	return {
	    rounded_product,
	    (((x.hi * y.hi - rounded_product) + x.hi * y.lo) + x.lo * y.hi) +
	        x.lo * y.lo};
}

// a + b to a relative error of 3u^2 (u = 2^-53), even where a and b
// nearly cancel.
inline Pair
pair_sum(Pair a, Pair b)
{
	const Pair high = two_sum(a.hi, b.hi);
	const Pair low = two_sum(a.lo, b.lo);
	const Pair first = fast_two_sum(high.hi, high.lo + low.hi);
	return fast_two_sum(first.hi, first.lo + low.lo);
}

// a * b to a relative error of 8u^2: the exact product of the high
// parts, plus the cross terms; lo * lo is dropped.
inline Pair
pair_product(Pair a, Pair b)
{
	const Pair high = two_product(a.hi, b.hi);
	const double cross = a.hi * b.lo + a.lo * b.hi;
	return fast_two_sum(high.hi, high.lo + cross);
}

// a / b to a relative error of 16u^2: the quotient of the high parts,
// corrected once by the remainder a - q b formed in pairs.
inline Pair
pair_quotient(Pair a, Pair b)
{
	const double first = a.hi / b.hi;
	const Pair taken = pair_product(b, {first, 0.0});
	const Pair rest = pair_sum(a, {-taken.hi, -taken.lo});
	return fast_two_sum(first, rest.hi / b.hi);
}

#endif
