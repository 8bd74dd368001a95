#!/bin/bash
# SPDX-License-Identifier: MIT
# The disclosure statement's figures and renderings, end to end.
. "$(dirname "$0")/lib.sh"

# figures_are PAYMENT REPAYMENT INTEREST: the three money rows.
figures_are() {
	row_is "Monthly Payment:" "$1" && row_is "Total Repayment:" "$2" &&
		row_is "Total Interest:" "$3"
}

run '137 0 4 15\n' USERNAME=jdoe
check "single precision decides the totals' last cent; \$3.81 is padded" \
	figures_are '$3.81 ' '$183.01' '$46.01'
check "a zero down payment is followed by one space" \
	row_is "Down Payment:" '$0.00 '

run '555 0 1 18.9\n' USERNAME=jdoe
check "18.9% over a year" figures_are '$51.12' '$613.44' '$58.44'

run '250000 50000 30 7.5\n' USERNAME=jdoe
check "360 payments keep 5 trailing spaces" \
	row_is "Number of Payments" '360     '
check "a rate of 7.5 shows as 7.50%" \
	row_is "Annual Interest Rate:" '7.50%'

run '16777217 0 1 1\n' USERNAME=jdoe
check "amounts pass through single precision" \
	row_is "Purchase Price:" '$16777216.00'

run '100 300 30 7.5\n' USERNAME=jdoe
check "a down payment above the price gives a negative principal" \
	same_as_golden negative-principal.out

run '2000000000 -2000000000 1 5\n' USERNAME=jdoe
check "the principal does not wrap around" \
	row_is "Principle Borrowed:" '$4000000000.00'

run '900 100 2 0\n' USERNAME=jdoe
check "an interest-free loan spreads the principal evenly" \
	same_as_golden interest-free.out

run '900 100 0 12\n' USERNAME=jdoe
check "no payments at a rate: infinite payment" \
	row_is "Monthly Payment:" '$inf  '
check "no payments at a rate: totals are not numbers" \
	grep -qE '^Total Repayment: {7}\$-?nan ' "$work/out"

# Output that cannot be written: a full device, or where there is none
# (macOS), a closed standard output.  LOAN_DESK_NO_DEV_FULL=1 forces the
# latter.
if [ -w /dev/full ] && [ -z "${LOAN_DESK_NO_DEV_FULL:-}" ]; then
	unwritable=/dev/full why="No space left on device"
else
	unwritable=- why="Bad file descriptor"
fi
run_into "$unwritable" '900 100 2 12\n' USERNAME=jdoe
check "output that cannot be written fails the run" status_is 1
# Windows' C library drops a buffer it could not write, and the error with
# it: the last flush finds only the stream's error flag.
posix_check "and says why" err_has "loan-desk: write error: $why"
if windows; then
	check "and says it could not write" err_has "loan-desk: write error: "
fi

# Answers that never end, into output that cannot be written: the first
# prompt that cannot be written ends the run, with one message.  (The
# stand-in clear that fails writes nothing of its own.)
if ! windows; then
	yes 1x | output_to "$unwritable" timeout 10 env -i PATH="$work/failing" \
		USERNAME=jdoe "${loan_desk[@]}" 2>"$work/err"
	status=$?
fi
posix_check "endless answers into unwritable output end the run" status_is 1
posix_check "with the one message" \
	test "$(cat "$work/err")" = "loan-desk: write error: $why"

finish
