// SPDX-License-Identifier: MIT
// What differs between POSIX systems and Windows, kept in one place.
#ifndef LOAN_DESK_CONSOLE_PLATFORM_H
#define LOAN_DESK_CONSOLE_PLATFORM_H

#include <cstddef>

// Runs the console's clear command.  On failure returns false and stores
// a code that says why: the last-error code on Windows; elsewhere the
// command's exit status, errno when it could not be started, or 128 plus
// the signal that ended it.  On POSIX systems a clear ended by the
// interrupt or quit signal ends the run by that signal instead.
bool clear_console(unsigned long *failure_code);

// The login name to greet and print, as UTF-8 where the system holds
// names in another form; empty when none is known, null when there is no
// memory to hold it.  Storage made for it is left in *held, for the
// caller to free; *held is null when none was needed.
const char *login_name(char **held);

// The columns a text the person gave takes on the console.
std::size_t text_columns(const char *text);

// Writes a text the person gave to standard output, so that the console
// shows its characters.
void put_text(const char *text);

#endif
