// SPDX-License-Identifier: MIT
// loan-desk: greets the borrower, takes four loan terms and prints the
// loan disclosure statement, and with --save FILE saves it there too.
// --help and --version answer and leave the console as it is.
#include <cstdio>
#include <cstring>
#include <string_view>

#include "console/page.h"
#include "loan/desk.h"

static const char usage[] =
    "usage: loan-desk [--help | --version | --save FILE]\n";
static const char help[] =
    "Plays the loan desk of a lender at an 80-column console: asks\n"
    "for a purchase price, a down payment, a loan term in years and\n"
    "an APR, read from standard input, and prints a loan disclosure\n"
    "statement.  --save FILE writes the statement alone to FILE too,\n"
    "a new file.  See man loan-desk.\n";

static bool
is(const char *argument, const char *option)
{
	return std::strcmp(argument, option) == 0;
}

// Status 2, once standard error says what was wrong and where to look.
static int
usage_error()
{
	std::fputs(usage, stderr);
	std::fputs("Try 'loan-desk --help'.\n", stderr);
	return 2;
}

static int
unknown(const char *argument)
{
	complain("unknown argument '%s'", argument);
	return usage_error();
}

// --save FILE or --save=FILE, and nothing after it.
static int
save(int argc, char *argv[])
{
	const char *equals = std::strchr(argv[1], '=');
	const char *path = equals != nullptr ? equals + 1 : argv[2];
	const int used = equals != nullptr ? 2 : 3;

	if (path == nullptr || *path == '\0') {
		complain("--save needs a file name");
		return usage_error();
	}
	if (argc > used)
		return unknown(argv[used]);
	return run_desk(path);
}

int
main(int argc, char *argv[])
{
	if (argc == 1)
		return run_desk(nullptr);
	if (is(argv[1], "--save") ||
	    std::string_view(argv[1]).starts_with("--save="))
		return save(argc, argv);
	if (!is(argv[1], "--help") && !is(argv[1], "--version"))
		return unknown(argv[1]);
	if (argc > 2)
		return unknown(argv[2]);
	if (is(argv[1], "--help"))
		std::printf("%s%s", usage, help);
	else
		std::printf("loan-desk %s\n", LOAN_DESK_VERSION);
	return flush_page() ? 0 : 1;
}
