// SPDX-License-Identifier: MIT
// The page both screens are drawn on: 80 columns, rules of '$', centred
// headings and label/value rows whose values start at column 23.
#ifndef LOAN_DESK_CONSOLE_PAGE_H
#define LOAN_DESK_CONSOLE_PAGE_H

#include <cstdio>

constexpr int page_width = 80;
constexpr int value_column = 23;

void clear_screen();
void print_rule();
void print_blank_lines(int count);
void print_centered(const char *text);
bool flush_page();

// A text from outside the program, such as the login name, as the page
// shows it: each byte of a control character written as \xNN, as a
// rejected answer's are, so that the text can neither forge a line of the
// page nor drive the terminal.  A text without one is shown as it is.
// Null when there is no memory for it; the caller frees it.
char *shown_text(const char *text);

// Writes the label, then the row's values through format, whose first
// conversion is the "%*s" padding field.  The padding is measured from what
// the label's own output call reports, so the value lands on value_column.
// The labels are the statement's own, none as wide; the formats are its
// own literals, none from input.
template <typename... Values>
void
print_row(const char *label, const char *format, Values... values)
{
	const int label_width = std::printf("%s", label);
	std::printf(format, value_column - label_width, " ", values...);
}

// Writes "loan-desk: ", the message and a line end to standard error.
// Standard output goes first, so that where both reach one terminal the
// message comes after what was written before it.
template <typename... Values>
void
complain(const char *format, Values... values)
{
	std::fflush(stdout);
	std::fputs("loan-desk: ", stderr);
	std::fprintf(stderr, format, values...);
	std::fputc('\n', stderr);
}

#endif
