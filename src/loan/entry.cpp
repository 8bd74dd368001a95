// SPDX-License-Identifier: MIT
#include "loan/entry.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

static bool
is_space(int c)
{
	return c != EOF && std::isspace(c) != 0;
}

// Keeps the first bytes of an overlong word and counts the rest, so that
// no input can outgrow the buffer.  False when input ends before a word.
bool
read_word(std::FILE *in, Word *word)
{
	int c = std::getc(in);
	std::size_t length = 0;

	while (is_space(c))
		c = std::getc(in);
	for (; c != EOF && !is_space(c); c = std::getc(in)) {
		if (length < word_capacity - 1)
			word->text[length] = static_cast<char>(c);
		length++;
	}
	word->text[std::min(length, word_capacity - 1)] = '\0';
	word->length = length;
	word->ended_by = c;
	return length > 0;
}

// A word that overflowed the buffer or holds a NUL byte is not what its
// text says, and so is never a number.
bool
word_is_intact(const Word &word)
{
	return std::strlen(word.text) == word.length;
}

void
skip_rest_of_line(std::FILE *in, const Word &word)
{
	int c = word.ended_by;

	while (c != '\n' && c != EOF)
		c = std::getc(in);
}

// Echoes a word in a diagnostic with control bytes escaped, so that what
// was typed cannot drive the terminal.
void
print_word(std::FILE *out, const Word &word)
{
	const std::size_t kept = std::min(word.length, word_capacity - 1);

	std::fputc('"', out);
	for (std::size_t i = 0; i < kept; i++) {
		const auto byte = static_cast<unsigned char>(word.text[i]);
		if (std::isprint(byte) != 0 && byte != '"' && byte != '\\')
			std::fputc(byte, out);
		else
			std::fprintf(out, "\\x%02x", byte);
	}
	std::fputs(kept < word.length ? "...\"" : "\"", out);
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

bool
parse_whole(const char *text, long long min, long long max, std::int32_t *value)
{
	char *end = nullptr;

	if (!is_whole_form(text))
		return false;
	errno = 0;
	const long long number = std::strtoll(text, &end, 10);
	if (errno == ERANGE || *end != '\0' || number < min || number > max)
		return false;
	if (number < INT32_MIN || number > INT32_MAX)
		return false;
	*value = static_cast<std::int32_t>(number);
	return true;
}

// A rate too large for single precision is rejected; one too small to
// tell from 0 is read as 0 or nearly so, which is what was meant.
bool
parse_rate(const char *text, float *value)
{
	char *end = nullptr;

	if (!is_decimal_form(text))
		return false;
	const float number = std::strtof(text, &end);
	if (*end != '\0' || std::isinf(number))
		return false;
	*value = number;
	return true;
}
