// SPDX-License-Identifier: MIT
// loan-desk: greets the borrower, takes four loan terms and prints the
// loan disclosure statement.  Arguments are ignored.
#include "loan/desk.h"

int
main()
{
	return run_desk();
}
