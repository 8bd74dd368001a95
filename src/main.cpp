// SPDX-License-Identifier: MIT
// loan-desk: greets the borrower, takes four loan terms and prints the
// loan disclosure statement; --save FILE keeps the statement in a file,
// --schedule FILE the payment schedule.  --help and --version answer and
// leave the console as it is.
#include <cstdio>
#include <cstring>
#include <getopt.h>

#include "console/page.h"
#include "console/platform.h"
#include "loan/desk.h"

static const char usage[] = "usage: loan-desk [--save FILE] [--schedule FILE]\n"
                            "       loan-desk --help | --version\n";
static const char help[] =
    "Plays the loan desk of a lender at an 80-column console: asks\n"
    "for a purchase price, a down payment, a loan term in years and\n"
    "an APR, read from standard input, and prints a loan disclosure\n"
    "statement.\n"
    "  --save FILE, --save=FILE\n"
    "        also writes the statement to FILE\n"
    "  --schedule FILE, --schedule=FILE\n"
    "        also writes the payment schedule to FILE, as CSV\n"
    "Each FILE is a new file, written whole or not at all.\n";

// What the arguments ask for.  Each option's field is its value, null
// where it is not given, and "" for --help and --version.
struct Request {
	const char *save_path;
	const char *schedule_path;
	const char *help;
	const char *version;
};

// The values getopt_long returns for the options: past every character,
// so that no short option such as -h is taken for one.
enum : int { save_option = 256, schedule_option, help_option, version_option };

static const option options[] = {
    {"save", required_argument, nullptr, save_option},
    {"schedule", required_argument, nullptr, schedule_option},
    {"help", no_argument, nullptr, help_option},
    {"version", no_argument, nullptr, version_option},
    {nullptr, 0, nullptr, 0},
};

// Status 2, once standard error has said what was wrong and where to look.
static int
usage_error()
{
	std::fputs(usage, stderr);
	std::fputs("Try 'loan-desk --help'.\n", stderr);
	return 2;
}

// The option whose value getopt_long returns as value: null for none.
static const option *
option_of(int value)
{
	for (const option *known = options; known->name != nullptr; known++) {
		if (known->val == value)
			return known;
	}
	return nullptr;
}

// Whether an option as typed, which getopt_long did not take, begins the
// names of more than one option: getopt_long takes any unambiguous
// beginning of a name (--sa for --save).
static bool
is_ambiguous(const char *typed)
{
	const std::size_t length = std::strcspn(typed + 2, "=");
	int matches = 0;

	if (std::strncmp(typed, "--", 2) != 0)
		return false;
	for (const option *known = options; known->name != nullptr; known++)
		matches +=
		    std::strncmp(known->name, typed + 2, length) == 0 ? 1 : 0;
	return matches > 1;
}

// Why getopt_long refused the argument before optind: a file name
// missing, a value given to an option that takes none (C libraries
// differ in which of their two results they say that by), a short option
// or one whose name is unknown or ambiguous.
static void
say_refused(int result, const char *const argv[])
{
	const option *known = option_of(optopt);
	const char *typed = argv[optind - 1];

	if (known != nullptr && known->has_arg == no_argument)
		complain("--%s takes no value", known->name);
	else if (known != nullptr && result == ':')
		complain("--%s needs a file name", known->name);
	else if (optopt != 0)
		complain("unknown argument '-%c'", optopt);
	else if (is_ambiguous(typed))
		complain(
		    "ambiguous option '%s': the start of more than one option",
		    typed);
	else
		complain("unknown argument '%s'", typed);
}

// Stores an option's value: false, once it has said why, when the option
// was given before or its file name is none.
static bool
take_option(int value, const char **field)
{
	const char *name = option_of(value)->name;

	if (*field != nullptr) {
		complain("--%s is given twice", name);
		return false;
	}
	if (optarg != nullptr && *optarg == '\0') {
		complain("--%s needs a file name", name);
		return false;
	}
	if (optarg != nullptr && std::strcmp(optarg, "-") == 0) {
		complain("--%s needs a file name, not '-': standard output "
		         "already carries the page",
		         name);
		return false;
	}
	*field = optarg != nullptr ? optarg : "";
	return true;
}

// The request's options, each checked alone: false, once it has said
// why, on the first that is wrong.
static bool
read_options(int argc, char *argv[], Request *request)
{
	int value = 0;

	opterr = 0; // the messages are ours, each saying what was wrong
	while ((value = getopt_long(argc, argv, ":", options, nullptr)) != -1) {
		const char **field =
		    value == save_option       ? &request->save_path
		    : value == schedule_option ? &request->schedule_path
		    : value == help_option     ? &request->help
		    : value == version_option  ? &request->version
		                               : nullptr;
		if (field == nullptr) {
			say_refused(value, argv);
			return false;
		}
		if (!take_option(value, field))
			return false;
	}
	if (optind < argc) {
		complain("unexpected argument '%s'", argv[optind]);
		return false;
	}
	return true;
}

// The request as a whole: --help and --version stand alone, and the two
// files are two.
static bool
is_consistent(const Request &request, int argc)
{
	const char *alone = request.help != nullptr      ? "--help"
	                    : request.version != nullptr ? "--version"
	                                                 : nullptr;

	if (alone != nullptr && argc > 2) {
		complain("%s takes no other argument", alone);
		return false;
	}
	if (request.save_path != nullptr && request.schedule_path != nullptr &&
	    std::strcmp(request.save_path, request.schedule_path) == 0) {
		complain("--save and --schedule name the same file '%s'",
		         request.save_path);
		return false;
	}
	return true;
}

int
main(int argc, char *argv[])
{
	Request request{};

	if (!read_options(argc, argv, &request) ||
	    !is_consistent(request, argc))
		return usage_error();
	if (request.help != nullptr)
		std::printf("%s%s%s\n", usage, help, manual_pointer);
	else if (request.version != nullptr)
		std::printf("loan-desk %s\n", LOAN_DESK_VERSION);
	else
		return run_desk(request.save_path, request.schedule_path);
	return flush_page() ? 0 : 1;
}
