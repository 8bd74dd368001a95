// SPDX-License-Identifier: MIT
#include "loan/desk.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "console/page.h"
#include "console/platform.h"
#include "console/saved_file.h"
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

// The statement again, in a file of its own: false, once it has said why,
// when it could not be kept there.
static bool
save_statement(const char *path, LoanTerms terms, const char *borrower_name)
{
	char *temporary = nullptr;
	std::FILE *file = open_beside(path, &temporary);
	const char *failure = file == nullptr ? std::strerror(errno) : nullptr;

	if (file != nullptr) {
		print_statement(file, terms, borrower_name);
		failure = keep_as(file, temporary, path);
	}
	std::free(temporary);
	if (failure != nullptr)
		complain("the statement was not saved as %s: %s", path,
		         failure);
	return failure == nullptr;
}

// The run's exit status: 1 when input ended first or output failed.  The
// statement shows on the console whether or not it can be saved.
static int
consult(const char *borrower_name, const char *save_path)
{
	LoanTerms terms{};

	clear_screen();
	print_welcome(borrower_name);
	if (!read_terms(stdin, &terms))
		return 1;
	clear_screen();
	print_statement(stdout, terms, borrower_name);
	const bool shown = flush_page();
	const bool saved = save_path == nullptr ||
	                   save_statement(save_path, terms, borrower_name);
	return shown && saved ? 0 : 1;
}

int
run_desk(const char *save_path)
{
	if (save_path != nullptr && !can_save_as(save_path)) {
		complain("cannot save the statement as %s: %s", save_path,
		         std::strerror(errno));
		return 1;
	}
	char *login = login_name();
	char *borrower_name = login == nullptr ? nullptr : shown_text(login);

	std::free(login);
	if (borrower_name == nullptr) {
		complain("cannot hold the login name: %s",
		         std::strerror(ENOMEM));
		return 1;
	}
	const int status = consult(borrower_name, save_path);
	std::free(borrower_name);
	return status;
}
