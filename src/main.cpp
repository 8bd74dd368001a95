// SPDX-License-Identifier: MIT
// loan-desk: greets the borrower, takes four loan terms and prints the
// loan disclosure statement.  It takes no arguments but --help and
// --version, which answer and leave the console as it is.
#include <cstdio>
#include <cstring>

#include "console/page.h"
#include "loan/desk.h"

static const char usage[] = "usage: loan-desk [--help | --version]\n";
static const char help[] =
    "Plays the loan desk of a lender at an 80-column console: asks\n"
    "for a purchase price, a down payment, a loan term in years and\n"
    "an APR, read from standard input, and prints a loan disclosure\n"
    "statement.  See man loan-desk.\n";

static bool
is(const char *argument, const char *option)
{
	return std::strcmp(argument, option) == 0;
}

int
main(int argc, char *argv[])
{
	if (argc == 1)
		return run_desk();
	if (argc > 2 || !(is(argv[1], "--help") || is(argv[1], "--version"))) {
		std::fputs(usage, stderr);
		return 2;
	}
	if (is(argv[1], "--help"))
		std::printf("%s%s", usage, help);
	else
		std::printf("loan-desk %s\n", LOAN_DESK_VERSION);
	return flush_page() ? 0 : 1;
}
