// SPDX-License-Identifier: MIT
// Reading the borrower's answers: whitespace-separated words of input,
// each checked whole before it becomes a number.
#ifndef LOAN_DESK_LOAN_ANSWERS_H
#define LOAN_DESK_LOAN_ANSWERS_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

// Words longer than 127 bytes are never numbers; the rest is only counted.
constexpr std::size_t word_capacity = 128;

struct Word {
	char text[word_capacity]; // the word's first bytes, NUL-terminated
	std::size_t length;       // the whole word's length in bytes
	bool starts_line; // nothing but white space before it on its line
};

// The character that ends a word is left unread, so that the next read
// sees whether a line end comes before the next word.
bool read_word(std::FILE *in, Word *word);
bool read_first_word(std::FILE *in, Word *word);
bool word_is_intact(const Word &word);
void skip_rest_of_line(std::FILE *in);

// A rejected word as a diagnostic shows it: at most echo_width columns,
// so that the message fits on the console's line.
constexpr std::size_t echo_width = 20;
constexpr std::size_t echo_size = echo_width + 1;
void echo_word(const Word &word, char (&echo)[echo_size]);

// Why a number was refused, as strtonum(3) tells it: no number of the
// form asked for, or one past either end of its range.  A refused word
// leaves the value it would have filled as it was.
enum class Verdict { taken, not_a_number, too_small, too_large };

Verdict parse_whole(const char *text, std::int32_t min, std::int32_t max,
                    std::int32_t *value);
Verdict parse_rate(const char *text, float *value);

#endif
