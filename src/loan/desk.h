// SPDX-License-Identifier: MIT
// One consultation at the loan desk, from greeting to statement.
#ifndef LOAN_DESK_LOAN_DESK_H
#define LOAN_DESK_LOAN_DESK_H

// The run's exit status.  With a save_path the statement is also kept
// there, and with a schedule_path the payment schedule, each as a new
// file: the run stops before anything is cleared or asked where either
// could not be.
int run_desk(const char *save_path, const char *schedule_path);

#endif
