// SPDX-License-Identifier: MIT
// The page both screens are drawn on: 80 columns, rules of '$', centred
// headings and label/value rows whose values start at column 23.  Each
// writer takes the stream it draws on: the console's standard output, or
// the file a statement is saved to.
#ifndef LOAN_DESK_CONSOLE_PAGE_H
#define LOAN_DESK_CONSOLE_PAGE_H

#include <cstdio>

// The compiler checks a format of ours against its arguments, as it does
// printf's: a C variadic function can say so, a template cannot.
#if defined(__MINGW_PRINTF_FORMAT)
#define PRINTF_LIKE(format_at, first_value_at)                                 \
	__attribute__((                                                        \
	    format(__MINGW_PRINTF_FORMAT, format_at, first_value_at)))
#elif defined(__GNUC__)
#define PRINTF_LIKE(format_at, first_value_at)                                 \
	__attribute__((format(printf, format_at, first_value_at)))
#else
#define PRINTF_LIKE(format_at, first_value_at)
#endif

constexpr int page_width = 80;
constexpr int value_column = 23;

void clear_screen();
void print_rule(std::FILE *out);
void print_blank_lines(std::FILE *out, int count);
void print_centered(std::FILE *out, const char *text);

// Writes a row's label, then the "%*s" padding field that brings what
// follows to value_column: 23 less what the label's own output call
// reports.
void print_label(std::FILE *out, const char *label);

// A label/value row: the label and its padding, then the value as format
// (the value's alone, such as "$%-5.2f") has it.  No line end follows.
// NOLINTNEXTLINE(cert-dcl50-cpp): variadic, so that its format is checked
void print_row(std::FILE *out, const char *label, const char *format, ...)
    PRINTF_LIKE(3, 4);

// Flushes the console's page so far: false, once it has said so, when a
// write failed now or earlier.
bool flush_page();

// Flushes out: null when everything written to it reached its file, else
// why not, as the C library says or, where the stream kept only its error
// flag, "output was lost".
const char *write_failure(std::FILE *out);

// A text from outside the program, such as the login name, as the page
// shows it: each byte of a control character written as \xNN, so that the
// text can neither forge a line of the page nor drive the terminal.  Null
// when there is no memory for it; the caller frees it.
char *shown_text(const char *text);

// Writes "loan-desk: ", the message and a line end to standard error,
// after what standard output holds, so that on one terminal the message
// comes after what was written before it.
// NOLINTNEXTLINE(cert-dcl50-cpp): variadic, so that its format is checked
void complain(const char *format, ...) PRINTF_LIKE(1, 2);

#endif
