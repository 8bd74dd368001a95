// SPDX-License-Identifier: MIT
#include "loan/prompts.h"

#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "console/page.h"
#include "loan/answers.h"

// Amounts are whole dollars in 32 bits.  Years are kept as months, so a
// term must stay in range times 12.
constexpr std::int32_t dollars_min = INT32_MIN;
constexpr std::int32_t dollars_max = INT32_MAX;
constexpr std::int32_t years_min = INT32_MIN / 12;
constexpr std::int32_t years_max = INT32_MAX / 12;

static Verdict
take_price(const char *text, LoanTerms *terms)
{
	return parse_whole(text, dollars_min, dollars_max,
	                   &terms->purchase_price);
}

static Verdict
take_down_payment(const char *text, LoanTerms *terms)
{
	return parse_whole(text, dollars_min, dollars_max,
	                   &terms->down_payment);
}

static Verdict
take_years(const char *text, LoanTerms *terms)
{
	std::int32_t years = 0;
	const Verdict verdict = parse_whole(text, years_min, years_max, &years);

	if (verdict == Verdict::taken)
		terms->payment_count = years * 12;
	return verdict;
}

// The statement shows the rate as the stored fraction times 100, which
// for the largest single-precision percentages comes out infinite.
static Verdict
take_rate(const char *text, LoanTerms *terms)
{
	float percentage = 0;

	if (parse_rate(text, &percentage) != Verdict::taken)
		return Verdict::not_a_number;
	const float rate = percentage / 100.0F;
	if (!std::isfinite(rate * 100.0F))
		return Verdict::not_a_number;
	terms->annual_rate = rate;
	return Verdict::taken;
}

// What one prompt asks for, how its answer is taken, and how messages
// name it.  A rejection fits the 80-column console: "loan-desk: ", the
// echo and its quotes leave 46 columns for the rest.
struct Entry {
	const char *prompt;
	const char *name;   // "input ended before the loan term was entered"
	const char *noun;   // "... is not a loan term"
	const char *wanted; // "... enter whole years"
	std::int32_t min;   // the range of a whole number; a rate has none
	std::int32_t max;
	Verdict (*take)(const char *text, LoanTerms *terms);
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

// Writes the prompt, visibly, and reads the answer.  When input ends or
// fails first, ends the prompt's line, so that the message has one of its
// own, and says so: false.
static bool
ask(std::FILE *in, const Entry &entry, bool at_start, Word *word)
{
	std::printf("%s", entry.prompt);
	std::fflush(stdout);
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

// Names the word and what was wanted instead, as the reason for refusing
// it has it: the form, or the end of the range that the number passed.
// The rest of the line goes with the word: it was typed as one answer, and
// the prompt is asked again.
static void
refuse(std::FILE *in, const Entry &entry, const Word &word, Verdict reason)
{
	char echo[echo_size];

	echo_word(word, echo);
	if (reason == Verdict::too_small)
		complain("\"%s\" is not %s: at least %" PRId32, echo,
		         entry.noun, entry.min);
	else if (reason == Verdict::too_large)
		complain("\"%s\" is not %s: at most %" PRId32, echo, entry.noun,
		         entry.max);
	else
		complain("\"%s\" is not %s: enter %s", echo, entry.noun,
		         entry.wanted);
	skip_rest_of_line(in, word);
}

// Asks until an answer is taken: false when input ends first.
static bool
read_entry(std::FILE *in, const Entry &entry, bool at_start, LoanTerms *terms)
{
	Word word;

	for (; ask(in, entry, at_start, &word); at_start = false) {
		const Verdict verdict = word_is_intact(word)
		                            ? entry.take(word.text, terms)
		                            : Verdict::not_a_number;
		if (verdict == Verdict::taken)
			return true;
		refuse(in, entry, word, verdict);
	}
	return false;
}

// Fills the terms in prompt order, months and a fractional rate as they
// are read.  False, with terms incomplete, when input ends first.
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
