// SPDX-License-Identifier: MIT
// The share of its principal that an annuity pays in interest, for rates
// too small for the plain formula.
#ifndef LOAN_DESK_NUMERIC_ANNUITY_H
#define LOAN_DESK_NUMERIC_ANNUITY_H

#include <cstdint>

#include "numeric/double_double.h"

// S = n r / (1 - (1 + r)^-n) - 1 over n payments at a rate r, for r > -1,
// r != 0 and 0 < |n| < 2^32: to a pair's relative accuracy however near 0
// it comes, and with the sign of r n.  The repayment share is 1 + S.
Pair annuity_interest_share(double rate, std::int64_t count);

#endif
