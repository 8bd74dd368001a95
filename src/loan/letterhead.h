// SPDX-License-Identifier: MIT
#ifndef LOAN_DESK_LOAN_LETTERHEAD_H
#define LOAN_DESK_LOAN_LETTERHEAD_H

#include <cstdio>

// The lender's title and a screen's heading, between the top rule and the
// body of the screen.
void print_letterhead(std::FILE *out, const char *heading);

#endif
