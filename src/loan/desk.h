// SPDX-License-Identifier: MIT
// One consultation at the loan desk, from greeting to statement.
#ifndef LOAN_DESK_LOAN_DESK_H
#define LOAN_DESK_LOAN_DESK_H

// The run's exit status.  With a save_path, the statement is also saved
// there, as a new file: the run stops before anything is cleared or asked
// where it could not be.
int run_desk(const char *save_path);

#endif
