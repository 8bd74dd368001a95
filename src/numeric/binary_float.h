// SPDX-License-Identifier: MIT
// A double's binary exponent taken apart and put back, and its rounding to
// a whole number, exact and from + - * alone: the program needs no maths
// library, which it would load at every start for these three.
#ifndef LOAN_DESK_NUMERIC_BINARY_FLOAT_H
#define LOAN_DESK_NUMERIC_BINARY_FLOAT_H

// x rounded to the nearest whole number, a half to the even one, as the
// default rounding mode rounds (nearbyint's result): -0 for -0.3, and x
// itself where it is whole already, infinite or no number.
double nearest_whole(double x);

// x as f 2^e, with f from 1/2 up to below 1 in size and the sign of x,
// into *exponent (frexp's result); 0, an infinity or no number is x
// itself, with an exponent of 0.
double split_exponent(double x, int *exponent);

// x 2^n, rounded once (ldexp's result): exact unless it is subnormal,
// infinite past the largest double.
double scale_by_two(double x, int n);

#endif
