// SPDX-License-Identifier: MIT
// One consultation at the loan desk, from greeting to statement.
#ifndef LOAN_DESK_LOAN_DESK_H
#define LOAN_DESK_LOAN_DESK_H

int run_desk();

#endif
