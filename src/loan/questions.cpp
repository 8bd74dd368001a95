// SPDX-License-Identifier: MIT
#include "loan/questions.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "console/page.h"
#include "loan/answers.h"
#include "loan/payment.h"

// The rate's range is the monthly rates whose figures are right; the
// table and its messages give its ends as the APRs they come from: 12
// months, as a percentage.  A float times 1200 is exact in a double, so
// that APRs compare as their monthly rates do.
static constexpr double
apr_of(float monthly_rate)
{
	return 12.0 * 100.0 * static_cast<double>(monthly_rate);
}

constexpr std::int32_t months_per_year = 12;

// A rejection fits the 80-column console: "loan-desk: ", the echo and its
// quotes leave 46 columns for the rest of it.  A whole answer's range is
// the widest whose answers, times what the field holds per unit, still fit
// the field.
constexpr Question questions[] = {
    {.prompt = "Enter the purchase price in whole dollars: ",
     .name = "the purchase price",
     .noun = "a purchase price",
     .wanted = "whole dollars",
     .lowest = INT32_MIN,
     .highest = INT32_MAX,
     .whole = &LoanTerms::purchase_price,
     .mark_before = '$'},
    {.prompt = "Enter the sum you'll be paying down on this purchase in "
               "whole dollars: ",
     .name = "the down payment",
     .noun = "a down payment",
     .wanted = "whole dollars",
     .lowest = INT32_MIN,
     .highest = INT32_MAX,
     .whole = &LoanTerms::down_payment,
     .mark_before = '$'},
    {.prompt = "Enter your preferred loan term in years: ",
     .name = "the loan term",
     .noun = "a loan term",
     .wanted = "whole years",
     .lowest = INT32_MIN / months_per_year,
     .highest = INT32_MAX / months_per_year,
     .whole = &LoanTerms::payment_count,
     .per_unit = months_per_year},
    {.prompt = "Good news, your terms qualify you for preferred lending! "
               "Enter your preferred APR: ",
     .name = "the APR",
     .noun = "an APR",
     .wanted = "a percentage such as 7.5",
     .lowest = apr_of(lowest_monthly_rate),
     .highest = apr_of(highest_monthly_rate),
     .is_rate = true,
     .mark_after = '%'},
};

// The answer is checked as the monthly rate it comes to, by the APR that
// this rate stands for, in which the table holds the range.
static Verdict
take_rate(const Question &question, const char *text, LoanTerms *terms)
{
	float percentage = 0;
	const Verdict verdict = parse_rate(text, &percentage);
	LoanTerms taken = *terms;

	if (verdict != Verdict::taken)
		return verdict;
	taken.annual_rate = percentage / 100.0F;
	const double apr = apr_of(monthly_rate(taken));
	if (apr <= question.lowest)
		return Verdict::too_small;
	if (apr >= question.highest)
		return Verdict::too_large;
	*terms = taken;
	return Verdict::taken;
}

// The answer without the one mark its question lets it carry, as the
// statement writes its amounts ($-200 too) and rate; any other mark stays,
// and is refused with the word.
static const char *
unmarked(const Question &question, const char *text,
         char (&bare)[word_capacity])
{
	std::size_t length = std::strlen(text);

	if (question.mark_before != '\0' && text[0] == question.mark_before) {
		text++;
		length--;
	}
	if (question.mark_after != '\0' && length > 0 &&
	    text[length - 1] == question.mark_after)
		length--;
	std::memcpy(bare, text, length);
	bare[length] = '\0';
	return bare;
}

// Stores the answer in the question's field, or says why it is none.
static Verdict
take(const Question &question, const char *typed, LoanTerms *terms)
{
	std::int32_t number = 0;
	char bare[word_capacity];
	const char *text = unmarked(question, typed, bare);

	if (question.is_rate)
		return take_rate(question, text, terms);
	const Verdict verdict =
	    parse_whole(text, static_cast<std::int32_t>(question.lowest),
	                static_cast<std::int32_t>(question.highest), &number);
	if (verdict == Verdict::taken)
		terms->*question.whole = number * question.per_unit;
	return verdict;
}

// Writes the prompt, visibly, and reads the answer.  A prompt that cannot
// be written ends the entry at once, with the write error: nobody sees
// what is asked, and answers that never end would be read for ever.  When
// input ends or fails first, ends the prompt's line, so that the message
// has one of its own, and says so.  False in both cases.
static bool
ask(std::FILE *in, const Question &question, bool at_start, Word *word)
{
	std::printf("%s", question.prompt);
	if (!flush_page())
		return false;
	if (at_start ? read_first_word(in, word) : read_word(in, word))
		return true;
	const int read_errno = errno;
	print_blank_lines(stdout, 1);
	if (std::ferror(in) != 0)
		complain("cannot read %s: %s", question.name,
		         std::strerror(read_errno));
	else
		complain("input ended before %s was entered", question.name);
	return false;
}

// Names the word and what was wanted instead, as the reason for refusing
// it has it: the form, or the end of the range that the number passed.
// The rest of the line goes with the word: it was typed as one answer, and
// the prompt is asked again.  A word typed ahead, on an earlier answer's
// line, follows a prompt whose line no typed line end has ended: the
// message starts a line of its own, by a line end on standard error, so
// that standard output stays the page it always is.
static void
refuse(std::FILE *in, const Question &question, const Word &word,
       Verdict reason)
{
	const bool low = reason == Verdict::too_small;
	const double end = low ? question.lowest : question.highest;
	char echo[echo_size];

	echo_word(word, echo);
	if (!word.starts_line) {
		std::fflush(stdout);
		std::fputc('\n', stderr);
	}
	if (reason == Verdict::not_a_number)
		complain("\"%s\" is not %s: enter %s", echo, question.noun,
		         question.wanted);
	else if (!question.is_rate)
		complain("\"%s\" is not %s: at %s %.0f", echo, question.noun,
		         low ? "least" : "most", end);
	else
		complain("\"%s\" is not %s: %s than %.8g", echo, question.noun,
		         low ? "more" : "less", end);
	skip_rest_of_line(in);
}

// Asks until an answer is taken: false when input ends or a prompt
// cannot be written first.
static bool
ask_until_taken(std::FILE *in, const Question &question, bool at_start,
                LoanTerms *terms)
{
	Word word;

	for (; ask(in, question, at_start, &word); at_start = false) {
		const Verdict verdict = word_is_intact(word)
		                            ? take(question, word.text, terms)
		                            : Verdict::not_a_number;
		if (verdict == Verdict::taken)
			return true;
		refuse(in, question, word, verdict);
	}
	return false;
}

// Fills the terms in the questions' order.  Each answer but the last ends
// its line; the last is followed by the statement's clear.  False, with
// terms incomplete, when input ends or a prompt cannot be written first.
bool
read_terms(std::FILE *in, LoanTerms *terms)
{
	for (std::size_t i = 0; i < std::size(questions); i++) {
		if (i > 0)
			print_blank_lines(stdout, 1);
		if (!ask_until_taken(in, questions[i], i == 0, terms))
			return false;
	}
	return true;
}
