// SPDX-License-Identifier: MIT
#include "loan/desk.h"

#include <cstdio>

#include "console/page.h"
#include "console/platform.h"
#include "loan/letterhead.h"
#include "loan/prompts.h"
#include "loan/statement.h"

static void
print_welcome(const char *borrower_name)
{
	print_letterhead("$$ Consignee $$");
	print_centered(borrower_name);
	print_blank_lines(2);
	print_rule();
	print_blank_lines(3);
}

int
run_desk()
{
	const char *borrower_name = login_name();
	LoanTerms terms{};

	clear_screen();
	print_welcome(borrower_name);
	if (!read_terms(stdin, &terms))
		return 1;
	clear_screen();
	print_statement(terms, borrower_name);
	return flush_page() ? 0 : 1;
}
