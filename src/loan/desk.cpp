// SPDX-License-Identifier: MIT
#include "loan/desk.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "console/page.h"
#include "console/platform.h"
#include "loan/letterhead.h"
#include "loan/questions.h"
#include "loan/statement.h"

static void
print_welcome(const char *borrower_name)
{
	print_letterhead(stdout, "$$ Consignee $$");
	print_centered(stdout, borrower_name);
	print_blank_lines(stdout, 2);
	print_rule(stdout);
	print_blank_lines(stdout, 3);
}

// The run's exit status: 1 when input ended first or output failed.
static int
consult(const char *borrower_name)
{
	LoanTerms terms{};

	clear_screen();
	print_welcome(borrower_name);
	if (!read_terms(stdin, &terms))
		return 1;
	clear_screen();
	print_statement(stdout, terms, borrower_name);
	return flush_page() ? 0 : 1;
}

int
run_desk()
{
	char *login = login_name();
	char *borrower_name = login == nullptr ? nullptr : shown_text(login);

	std::free(login);
	if (borrower_name == nullptr) {
		complain("cannot hold the login name: %s",
		         std::strerror(ENOMEM));
		return 1;
	}
	const int status = consult(borrower_name);
	std::free(borrower_name);
	return status;
}
