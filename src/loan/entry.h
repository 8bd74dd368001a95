// SPDX-License-Identifier: MIT
// Reading the borrower's answers: whitespace-separated words of input,
// each checked whole before it becomes a term.
#ifndef LOAN_DESK_LOAN_ENTRY_H
#define LOAN_DESK_LOAN_ENTRY_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

constexpr std::size_t word_capacity = 128;

struct Word {
	char text[word_capacity]; // the word's first bytes, NUL-terminated
	std::size_t length;       // the whole word's length in bytes
	int ended_by;             // the character after the word, or EOF
};

bool read_word(std::FILE *in, Word *word);
bool word_is_intact(const Word &word);
void skip_rest_of_line(std::FILE *in, const Word &word);
void print_word(std::FILE *out, const Word &word);

bool parse_whole(const char *text, long long min, long long max,
                 std::int32_t *value);
bool parse_rate(const char *text, float *value);

#endif
