// SPDX-License-Identifier: MIT
#include "loan/answers.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

static bool
is_space(int c)
{
	return c != EOF && std::isspace(c) != 0;
}

// Keeps the first bytes of an overlong word and counts the rest, so that
// no input can outgrow the buffer.
static void
add_byte(Word *word, int c)
{
	if (word->length < word_capacity - 1)
		word->text[word->length] = static_cast<char>(c);
	word->length++;
}

// Adds c and what follows it up to white space or the end of input.
// False when that makes no word at all.
static bool
finish_word(std::FILE *in, int c, Word *word)
{
	for (; c != EOF && !is_space(c); c = std::getc(in))
		add_byte(word, c);
	word->text[std::min(word->length, word_capacity - 1)] = '\0';
	if (c != EOF)
		std::ungetc(c, in);
	return word->length > 0;
}

// Notes in line_ended whether the white space held a line end.
static int
skip_space(std::FILE *in, int c, bool *line_ended)
{
	for (; is_space(c); c = std::getc(in)) {
		if (c == '\n')
			*line_ended = true;
	}
	return c;
}

// False when input ends before a word.
bool
read_word(std::FILE *in, Word *word)
{
	word->length = 0;
	word->starts_line = false;
	return finish_word(
	    in, skip_space(in, std::getc(in), &word->starts_line), word);
}

// As read_word, for the first word of the input.  Windows editors start a
// UTF-8 file with a byte-order mark; it is no part of the answer.  Only a
// whole mark at the very start is skipped: bytes that merely begin one
// stay in the word, which is then rejected like any other.
bool
read_first_word(std::FILE *in, Word *word)
{
	static const char mark[] = "\xef\xbb\xbf";
	const std::size_t mark_length = sizeof mark - 1;
	int c = std::getc(in);

	word->length = 0;
	word->starts_line = true;
	while (word->length < mark_length &&
	       c == static_cast<unsigned char>(mark[word->length])) {
		add_byte(word, c);
		c = std::getc(in);
	}
	if (word->length == mark_length)
		word->length = 0;
	if (word->length == 0)
		c = skip_space(in, c, &word->starts_line);
	return finish_word(in, c, word);
}

// A word that overflowed the buffer or holds a NUL byte is not what its
// text says, and so is never a number.
bool
word_is_intact(const Word &word)
{
	return std::strlen(word.text) == word.length;
}

// The line end stays unread: the word after it starts its line.
void
skip_rest_of_line(std::FILE *in)
{
	int c = std::getc(in);

	while (c != '\n' && c != EOF)
		c = std::getc(in);
	if (c != EOF)
		std::ungetc(c, in);
}

// How a byte is echoed: as itself, or as \xNN when it could drive the
// terminal or be taken for the quotes around the echo.  Returns the
// columns it takes.
static std::size_t
escape_byte(unsigned char byte, char (&shown)[sizeof "\\xff"])
{
	if (std::isprint(byte) != 0 && byte != '"' && byte != '\\') {
		shown[0] = static_cast<char>(byte);
		shown[1] = '\0';
		return 1;
	}
	std::snprintf(shown, sizeof shown, "\\x%02x", byte);
	return sizeof shown - 1;
}

// A word too wide for the echo is cut where "..." still fits after it.
void
echo_word(const Word &word, char (&echo)[echo_size])
{
	static const char cut_mark[] = "...";
	const std::size_t kept = std::min(word.length, word_capacity - 1);
	std::size_t width = 0;
	std::size_t cut = 0;

	for (std::size_t i = 0; i < kept; i++) {
		char shown[sizeof "\\xff"];
		const std::size_t shown_width = escape_byte(
		    static_cast<unsigned char>(word.text[i]), shown);
		if (width + shown_width > echo_width) {
			std::memcpy(echo + cut, cut_mark, sizeof cut_mark);
			return;
		}
		std::memcpy(echo + width, shown, shown_width);
		width += shown_width;
		if (width + sizeof cut_mark - 1 <= echo_width)
			cut = width;
	}
	echo[width] = '\0';
}

static const char *
skip_digits(const char *text, int *digits)
{
	while (std::isdigit(static_cast<unsigned char>(*text)) != 0) {
		text++;
		(*digits)++;
	}
	return text;
}

static const char *
skip_sign(const char *text)
{
	return *text == '+' || *text == '-' ? text + 1 : text;
}

// An optional sign and decimal digits, nothing else.
static bool
is_whole_form(const char *text)
{
	int digits = 0;

	text = skip_digits(skip_sign(text), &digits);
	return digits > 0 && *text == '\0';
}

// The decimal forms a "%f" conversion reads: 12, 7.5, .5, 5., +7.5, 7.5e0.
// Not nan, inf or hexadecimal, which are no rate a person means.
static bool
is_decimal_form(const char *text)
{
	int digits = 0;

	text = skip_digits(skip_sign(text), &digits);
	if (*text == '.')
		text = skip_digits(text + 1, &digits);
	if (digits == 0)
		return false;
	if (*text == 'e' || *text == 'E') {
		int exponent_digits = 0;
		text = skip_digits(skip_sign(text + 1), &exponent_digits);
		if (exponent_digits == 0)
			return false;
	}
	return *text == '\0';
}

// A number past long long is read as its nearest end, which lies past
// either end of any 32-bit range.
Verdict
parse_whole(const char *text, std::int32_t min, std::int32_t max,
            std::int32_t *value)
{
	if (!is_whole_form(text))
		return Verdict::not_a_number;
	const long long number = std::strtoll(text, nullptr, 10);
	if (number < min)
		return Verdict::too_small;
	if (number > max)
		return Verdict::too_large;
	*value = static_cast<std::int32_t>(number);
	return Verdict::taken;
}

// A rate too large for single precision lies past either end of the
// rate's range; one too small to tell from 0 is read as 0 or nearly so,
// which is what was meant.
Verdict
parse_rate(const char *text, float *value)
{
	if (!is_decimal_form(text))
		return Verdict::not_a_number;
	const float number = std::strtof(text, nullptr);
	if (std::isinf(number))
		return number < 0 ? Verdict::too_small : Verdict::too_large;
	*value = number;
	return Verdict::taken;
}
