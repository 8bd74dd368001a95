// SPDX-License-Identifier: MIT
// The shares of its principal that an annuity of n payments at a rate r a
// payment repays and pays in interest: F = n r / (1 - (1 + r)^-n) and
// S = F - 1.  In pair arithmetic, for rates so small that the plain
// formula's 1 + r and 1 - (1 + r)^-n lose the interest altogether.
#ifndef LOAN_DESK_NUMERIC_ANNUITY_H
#define LOAN_DESK_NUMERIC_ANNUITY_H

#include <cstdint>

#include "numeric/double_double.h"

// The interest share S for r > -1, r != 0 and 0 < |n| < 2^32, formed
// without the 1 that cancels, so that it keeps its relative accuracy
// however near 0 it comes, and its sign, that of r n.  The repayment share
// is 1 + S.
Pair annuity_interest_share(double rate, std::int64_t count);

#endif
