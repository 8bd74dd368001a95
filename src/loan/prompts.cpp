// SPDX-License-Identifier: MIT
#include "loan/prompts.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "console/page.h"
#include "loan/answers.h"

// Amounts are whole dollars in 32 bits.  Years are kept as months, so a
// term must stay in range times 12.
constexpr long long dollars_min = INT32_MIN;
constexpr long long dollars_max = INT32_MAX;
constexpr long long years_min = INT32_MIN / 12;
constexpr long long years_max = INT32_MAX / 12;

static bool
take_price(const char *text, LoanTerms *terms)
{
	return parse_whole(text, dollars_min, dollars_max,
	                   &terms->purchase_price);
}

static bool
take_down_payment(const char *text, LoanTerms *terms)
{
	return parse_whole(text, dollars_min, dollars_max,
	                   &terms->down_payment);
}

static bool
take_years(const char *text, LoanTerms *terms)
{
	std::int32_t years = 0;

	if (!parse_whole(text, years_min, years_max, &years))
		return false;
	terms->payment_count = years * 12;
	return true;
}

// The statement shows the rate as the stored fraction times 100, which
// for the largest single-precision percentages comes out infinite.
static bool
take_rate(const char *text, LoanTerms *terms)
{
	float percentage = 0;

	if (!parse_rate(text, &percentage))
		return false;
	const float rate = percentage / 100.0F;
	if (!std::isfinite(rate * 100.0F))
		return false;
	terms->annual_rate = rate;
	return true;
}

// What one prompt asks for, how its answer is taken, and how messages
// name it.  A rejection fits the 80-column console: "loan-desk: ", the
// echo and its quotes leave 46 columns for the rest.
struct Entry {
	const char *prompt;
	const char *name;   // "input ended before the loan term was entered"
	const char *noun;   // "... is not a loan term"
	const char *wanted; // "... enter whole years"
	long long min;      // the range of a whole number; a rate has none
	long long max;
	bool (*take)(const char *text, LoanTerms *terms);
};

static constexpr Entry price_entry = {
    "Enter the purchase price in whole dollars: ",
    "the purchase price",
    "a purchase price",
    "whole dollars",
    dollars_min,
    dollars_max,
    take_price};
static constexpr Entry down_entry = {
    "Enter the sum you'll be paying down on this purchase in whole "
    "dollars: ",
    "the down payment",
    "a down payment",
    "whole dollars",
    dollars_min,
    dollars_max,
    take_down_payment};
static constexpr Entry years_entry = {
    "Enter your preferred loan term in years: ",
    "the loan term",
    "a loan term",
    "whole years",
    years_min,
    years_max,
    take_years};
static constexpr Entry rate_entry = {
    "Good news, your terms qualify you for preferred lending! Enter your "
    "preferred APR: ",
    "the APR",
    "an APR",
    "a percentage such as 7.5",
    0,
    0,
    take_rate};

// Writes the prompt, visibly, and reads the answer.  A prompt that cannot
// be written ends the entry at once, with the write error: nobody sees
// what is asked, and answers that never end would be read for ever.  When
// input ends or fails first, ends the prompt's line, so that the message
// has one of its own, and says so.  False in both cases.
static bool
ask(std::FILE *in, const Entry &entry, bool at_start, Word *word)
{
	std::printf("%s", entry.prompt);
	if (!flush_page())
		return false;
	if (at_start ? read_first_word(in, word) : read_word(in, word))
		return true;
	const int read_errno = errno;
	print_blank_lines(1);
	if (std::ferror(in) != 0)
		complain("cannot read %s: %s", entry.name,
		         std::strerror(read_errno));
	else
		complain("input ended before %s was entered", entry.name);
	return false;
}

// A whole number of the right form that was still rejected lies outside
// its range.
static bool
is_out_of_range(const Entry &entry, const Word &word)
{
	return entry.min < entry.max && word_is_intact(word) &&
	       is_whole_form(word.text);
}

// Names the word and what was wanted instead: the form, or the end of the
// range that the number passed.  The rest of the line goes with the word:
// it was typed as one answer, and the prompt is asked again.
static void
reject(std::FILE *in, const Entry &entry, const Word &word)
{
	char echo[echo_size];

	echo_word(word, echo);
	if (!is_out_of_range(entry, word))
		complain("\"%s\" is not %s: enter %s", echo, entry.noun,
		         entry.wanted);
	else if (word.text[0] == '-')
		complain("\"%s\" is not %s: at least %lld", echo, entry.noun,
		         entry.min);
	else
		complain("\"%s\" is not %s: at most %lld", echo, entry.noun,
		         entry.max);
	skip_rest_of_line(in, word);
}

// Asks until an answer is taken: false when input ends or a prompt
// cannot be written first.
static bool
read_entry(std::FILE *in, const Entry &entry, bool at_start, LoanTerms *terms)
{
	Word word;

	for (; ask(in, entry, at_start, &word); at_start = false) {
		if (word_is_intact(word) && entry.take(word.text, terms))
			return true;
		reject(in, entry, word);
	}
	return false;
}

// Fills the terms in prompt order, months and a fractional rate as they
// are read.  False, with terms incomplete, when input ends or a prompt
// cannot be written first.
bool
read_terms(std::FILE *in, LoanTerms *terms)
{
	if (!read_entry(in, price_entry, true, terms))
		return false;
	print_blank_lines(1);
	if (!read_entry(in, down_entry, false, terms))
		return false;
	print_blank_lines(1);
	if (!read_entry(in, years_entry, false, terms))
		return false;
	print_blank_lines(1);
	return read_entry(in, rate_entry, false, terms);
}
