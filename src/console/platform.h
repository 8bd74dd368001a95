// SPDX-License-Identifier: MIT
// What differs between POSIX systems and Windows.  Each has a file of its
// own, platform_posix.cpp and platform_windows.cpp, which CMake chooses.
#ifndef LOAN_DESK_CONSOLE_PLATFORM_H
#define LOAN_DESK_CONSOLE_PLATFORM_H

#include <cstddef>
#include <cstdio>

// Runs the console's clear command.  On failure returns false and stores
// a code that says why (the layer's own file says which code).  On POSIX
// systems a clear ended by the interrupt or quit key ends the run too.
bool clear_console(unsigned long *failure_code);

// The login name to greet and print, in UTF-8, for the caller to free:
// empty when none is known, null when there is no memory to hold it.
char *login_name();

// Where the console was made for this run alone, as for a program started
// from a file manager, it would close with the run: once it has said so,
// waits for Enter or the end of input.  Elsewhere does nothing.
void hold_own_console();

// The columns a text the person gave takes on the console.
std::size_t text_columns(const char *text);

// Writes a text the person gave, so that a console shows its characters.
void put_text(std::FILE *out, const char *text);

// Where --help sends the reader for the manual, as this system keeps it.
extern const char manual_pointer[];

// Files, each call false or null with errno set on failure.  Whether
// nothing, not even a dangling link, has the name path (errno EEXIST, or
// EISDIR for a folder):
bool name_is_free(const char *path);
// A new file of that name, never one already there: for text, in the
// system's line ends, or for bytes written as they are.  It is unfinished
// until it takes its name (rename_new) or is removed (remove_new): should
// an interrupt, a termination or the console's closing end the run
// meanwhile, the file goes with it.  One file at a time is unfinished, and
// the caller keeps the path's text until it is finished.
std::FILE *create_file(const char *path, bool as_text);
// What was written to the file reaches the disk:
bool sync_file(std::FILE *file);
// The file temporary, closed, takes the name path, unless that is taken
// (then it is still unfinished):
bool rename_new(const char *temporary, const char *path);
// Removes the unfinished file, closed: it is not to be kept.
void remove_new(const char *temporary);

// Bytes below 0x80 are the same characters in every encoding and locale
// the program meets: both layers measure and write such a text as bytes.
inline bool
is_ascii(const char *text)
{
	for (; *text != '\0'; text++) {
		if (static_cast<unsigned char>(*text) >= 0x80)
			return false;
	}
	return true;
}

#endif
