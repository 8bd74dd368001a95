// SPDX-License-Identifier: MIT
// A page saved to a file whole or not at all: drawn in a new file beside
// the one asked for, flushed to the disk, and only then given its name,
// which is never taken from a file already there.
#ifndef LOAN_DESK_CONSOLE_SAVED_FILE_H
#define LOAN_DESK_CONSOLE_SAVED_FILE_H

#include <cstdio>

// Whether a page could be saved as path: false, with errno set, when
// something has that name already (EISDIR where a folder has it) or no
// file can be made beside it.
bool can_save_as(const char *path);

// A new file beside path to draw the page in, for text or for bytes as
// they are (create_file), its name left in *temporary for the caller to
// free; null, with errno set, when none can be made.
std::FILE *open_beside(const char *path, bool as_text, char **temporary);

// Closes the file and gives it the name path: null when the page is kept
// there, else why not, and the file is gone.
const char *keep_as(std::FILE *file, const char *temporary, const char *path);

// Closes the file and removes it: what it holds is not to be kept.
void discard(std::FILE *file, const char *temporary);

#endif
