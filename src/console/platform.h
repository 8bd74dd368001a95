// SPDX-License-Identifier: MIT
// What differs between POSIX systems and Windows, kept in one place.
#ifndef LOAN_DESK_CONSOLE_PLATFORM_H
#define LOAN_DESK_CONSOLE_PLATFORM_H

// Runs the console's clear command.  On failure returns false and stores
// a code that says why: the last-error code on Windows; elsewhere the
// command's exit status, errno when it could not be started, or 128 plus
// the signal that ended it.  On POSIX systems a clear ended by the
// interrupt or quit signal ends the run by that signal instead.
bool clear_console(unsigned long *failure_code);

// The login name to greet and print; never null, empty when none is known.
const char *login_name();

#endif
