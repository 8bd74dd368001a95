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
#include "loan/schedule.h"
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

// A file the run keeps besides the console: the statement, as text in
// the system's line ends, or the schedule, whose CSV is the same bytes on
// every system.  Its path is null where it is not asked for.
struct KeptFile {
	const char *path;
	const char *noun; // "the statement was not saved as ..."
	bool is_statement;
};

// Whether the file can be made: false, once it has said why, when not.
static bool
can_keep(const KeptFile &kept)
{
	if (kept.path == nullptr || can_save_as(kept.path))
		return true;
	complain("cannot save the %s as %s: %s", kept.noun, kept.path,
	         std::strerror(errno));
	return false;
}

// Draws the file's contents: the statement, or the schedule started
// already: null, or why the file cannot hold them.
static const char *
draw(const KeptFile &kept, std::FILE *file, LoanTerms terms,
     const char *borrower_name, Schedule *schedule)
{
	if (!kept.is_statement)
		return write_schedule(file, schedule);
	print_statement(file, terms, borrower_name);
	return nullptr;
}

// Keeps the file, whole: false, once it has said why, when it could not.
// Terms with no schedule make no file at all.
static bool
keep(const KeptFile &kept, LoanTerms terms, const char *borrower_name)
{
	char *temporary = nullptr;
	Schedule schedule{};
	const char *failure =
	    kept.is_statement ? nullptr : start_schedule(terms, &schedule);
	std::FILE *file = nullptr;

	if (failure == nullptr) {
		file = open_beside(kept.path, kept.is_statement, &temporary);
		if (file == nullptr)
			failure = std::strerror(errno);
	}
	if (file != nullptr) {
		failure = draw(kept, file, terms, borrower_name, &schedule);
		if (failure == nullptr)
			failure = keep_as(file, temporary, kept.path);
		else
			discard(file, temporary);
	}
	std::free(temporary);
	if (failure != nullptr)
		complain("the %s was not saved as %s: %s", kept.noun, kept.path,
		         failure);
	return failure == nullptr;
}

// The run's exit status: 1 when input ended first or output failed.  The
// statement shows on the console whether or not its files can be kept;
// the schedule is written last, after the statement is kept.
static int
consult(const char *borrower_name, const KeptFile (&kept)[2])
{
	LoanTerms terms{};
	bool all_kept = true;

	clear_screen();
	print_welcome(borrower_name);
	if (!read_terms(stdin, &terms))
		return 1;
	clear_screen();
	print_statement(stdout, terms, borrower_name);
	const bool shown = flush_page();
	for (const KeptFile &file : kept) {
		if (file.path != nullptr && !keep(file, terms, borrower_name))
			all_kept = false;
	}
	return shown && all_kept ? 0 : 1;
}

int
run_desk(const char *save_path, const char *schedule_path)
{
	const KeptFile kept[] = {{save_path, "statement", true},
	                         {schedule_path, "schedule", false}};

	if (!can_keep(kept[0]) || !can_keep(kept[1]))
		return 1;
	char *login = login_name();
	char *borrower_name = login == nullptr ? nullptr : shown_text(login);

	std::free(login);
	if (borrower_name == nullptr) {
		complain("cannot hold the login name: %s",
		         std::strerror(ENOMEM));
		return 1;
	}
	const int status = consult(borrower_name, kept);
	std::free(borrower_name);
	return status;
}
