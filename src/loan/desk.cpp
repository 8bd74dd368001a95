// SPDX-License-Identifier: MIT
#include "loan/desk.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "console/page.h"
#include "console/platform.h"
#include "loan/entry.h"
#include "loan/letterhead.h"
#include "loan/statement.h"

// What one prompt asks for: its text, the term's name for diagnostics, and
// for a whole number the range it must fall in.
struct Entry {
	const char *prompt;
	const char *name;
	const char *wanted;
	long long min;
	long long max;
};

// Years are kept as months, so a term must stay in range times 12.
static constexpr Entry price_entry = {
    "Enter the purchase price in whole dollars: ", "the purchase price",
    "whole dollars from -2147483648 to 2147483647", INT32_MIN, INT32_MAX};
static constexpr Entry down_entry = {
    "Enter the sum you'll be paying down on this purchase in whole "
    "dollars: ",
    "the down payment", "whole dollars from -2147483648 to 2147483647",
    INT32_MIN, INT32_MAX};
static constexpr Entry years_entry = {
    "Enter your preferred loan term in years: ", "the loan term",
    "whole years from -178956970 to 178956970", INT32_MIN / 12, INT32_MAX / 12};
static constexpr Entry rate_entry = {
    "Good news, your terms qualify you for preferred lending! Enter your "
    "preferred APR: ",
    "the APR", "a percentage such as 12 or 7.5", 0, 0};

static void
print_welcome(const char *borrower_name)
{
	print_letterhead("$$ Consignee $$");
	print_centered(borrower_name);
	print_blank_lines(2);
	print_rule();
	print_blank_lines(3);
}

// Writes the prompt, visibly, and reads the answer.  False when input
// ends or fails first, after saying so.
static bool
ask(std::FILE *in, const Entry &entry, Word *word)
{
	std::printf("%s", entry.prompt);
	std::fflush(stdout);
	if (read_word(in, word))
		return true;
	if (std::ferror(in) != 0)
		std::fprintf(stderr, "loan-desk: cannot read %s: %s\n",
		             entry.name, std::strerror(errno));
	else
		std::fprintf(stderr,
		             "loan-desk: input ended before %s was entered\n",
		             entry.name);
	return false;
}

// The rest of the line went with the rejected word: it was typed as one
// answer, and the prompt is asked again.
static void
reject(std::FILE *in, const Entry &entry, const Word &word)
{
	std::fprintf(stderr, "loan-desk: ");
	print_word(stderr, word);
	std::fprintf(stderr, " is not %s: enter %s\n", entry.name,
	             entry.wanted);
	skip_rest_of_line(in, word);
}

// Whether a word answers the entry, storing the value only if it does.
static bool
accepts(const Entry &entry, const char *text, std::int32_t *value)
{
	return parse_whole(text, entry.min, entry.max, value);
}

static bool
accepts(const Entry & /*entry*/, const char *text, float *value)
{
	return parse_rate(text, value);
}

// Asks until an answer is accepted: false when input ends first.
template <typename Value>
static bool
read_entry(std::FILE *in, const Entry &entry, Value *value)
{
	Word word;

	while (ask(in, entry, &word)) {
		if (word_is_intact(word) && accepts(entry, word.text, value))
			return true;
		reject(in, entry, word);
	}
	return false;
}

// Fills the terms in prompt order, months and a fractional rate as they
// are read.  False, with terms incomplete, when input ends first.
bool
read_terms(std::FILE *in, LoanTerms *terms)
{
	std::int32_t years = 0;
	float percentage = 0;

	if (!read_entry(in, price_entry, &terms->purchase_price))
		return false;
	print_blank_lines(1);
	if (!read_entry(in, down_entry, &terms->down_payment))
		return false;
	print_blank_lines(1);
	if (!read_entry(in, years_entry, &years))
		return false;
	terms->payment_count = years * 12;
	print_blank_lines(1);
	if (!read_entry(in, rate_entry, &percentage))
		return false;
	terms->annual_rate = percentage / 100.0F;
	return true;
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
	return finish_page();
}
