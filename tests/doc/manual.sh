#!/bin/bash
# SPDX-License-Identifier: MIT
# The manual page: it renders without warnings at 80 columns, and what it
# quotes of a run (statement rows, messages, ranges) is what the program
# writes.  Usage: manual.sh PAGE, with LOAN_DESK set as for tests/e2e.
# shellcheck source-path=SCRIPTDIR source=../e2e/lib.sh
. "$(dirname "$0")/../e2e/lib.sh"

page=${1:?usage: manual.sh PAGE}

for tool in groff mandoc; do
	if ! command -v $tool >/dev/null; then
		echo "SKIP: $tool is not installed (scripts/test installs it)"
		exit 77
	fi
done

# section NAME: the roff source of one .SH section, escapes for '-' and
# '\' undone, so that quoted lines read as the program writes them.
section() {
	sed -n "/^\.SH $1\$/,/^\.SH /p" "$page" | sed -e 's/\\-/-/g' -e 's/\\e/\\/g'
}

# --- Rendering ---------------------------------------------------------

groff -man -ww -z -rLL=80n "$page" 2>"$work/lint"
status=$?
check "groff renders the page" status_is 0
check "groff gives no warnings at 80 columns" is_empty_file "$work/lint"

mandoc -Tlint "$page" >"$work/lint" 2>&1
check "mandoc lint finds nothing" is_empty_file "$work/lint"

groff -man -Tascii -rLL=80n -P-cbou "$page" 2>/dev/null |
	awk 'length > 80 { print "too wide: " $0 }' >"$work/lint"
check "no rendered line is wider than 80 columns" is_empty_file "$work/lint"

# --- The example run ---------------------------------------------------

examples=$(section EXAMPLES)
answers=$(printf '%s\n' "$examples" |
	sed -n "s/^\\\$ printf \\\\(aq\\(.*\\)\\\\(aq | loan-desk\$/\\1/p")
check "the example shows the answers it pipes in" test -n "$answers"

run "$answers" USERNAME=jdoe
check "the example run succeeds" status_is 0

# Every quoted row is a line of the statement, trailing blanks aside.
sed 's/ *$//' "$work/out" >"$work/rows"
rows=$(printf '%s\n' "$examples" | grep -E '^[A-Z][A-Za-z ]+:? {2,}[^ ]+$')
check "the example quotes the payment rows" \
	grep -q '^Monthly Payment:' <<<"$rows"
while IFS= read -r row; do
	check "example row [$row] is what the statement shows" \
		grep -qxF -- "$row" "$work/rows"
done <<<"$rows"

# The interest-free sentence names a rate and three amounts.
free=$(printf '%s\n' "$examples" | tr '\n' ' ' |
	sed -n 's/.*At \([0-9.]*\)% instead of [^,]*, the monthly payment is \$\([0-9.]*\), the total repayment \$\([0-9.]*\) and the total interest \$\([0-9.]*\)\..*/\1 \2 \3 \4/p')
check "the example states an interest-free run" test -n "$free"
read -r free_rate free_payment free_total free_interest <<<"$free"
run "${answers% *} $free_rate\\n" USERNAME=jdoe
check "interest-free payment as stated" \
	out_has "Monthly Payment:       \$$free_payment"
check "interest-free repayment as stated" \
	out_has "Total Repayment:       \$$free_total"
check "interest-free interest as stated" \
	out_has "Total Interest:        \$$free_interest"

# --- Quoted messages and ranges -----------------------------------------

# answers_before ENTRY: valid answers for the entries asked before it,
# ENTRY as a message names it ("the APR", "an APR").
answers_before() {
	case $1 in
	*"purchase price") echo "" ;;
	*"down payment") echo "900 " ;;
	*"loan term") echo "900 100 " ;;
	*APR) echo "900 100 2 " ;;
	*) echo "unknown entry: $1" >&2; return 1 ;;
	esac
}

description=$(section DESCRIPTION)
rejections=$(printf '%s\n' "$description" | grep -E '^loan-desk: ".*" is not ')
check "rejected entries' messages are quoted" test -n "$rejections"
while IFS= read -r rejected; do
	word=${rejected#loan-desk: \"} word=${word%%\"*}
	entry=${rejected#*\" is not } entry=${entry%%: *}
	run "$(answers_before "$entry")$word\\n900 100 2 12\\n" USERNAME=jdoe
	check "[$rejected] is written as quoted" err_has "$rejected"
done <<<"$rejections"

ended=$(printf '%s\n' "$description" | grep -E '^loan-desk: input ended before ')
check "the ended-input message is quoted" test -n "$ended"
entry=${ended#*input ended before } entry=${entry% was entered}
run "$(answers_before "$entry")" USERNAME=jdoe
check "the ended-input message is written as quoted" err_has "$ended"
check "ended input exits 1 as stated" status_is 1

# Each range the page states is the one the program holds to: a number
# just past either end is refused, naming that end.
ranges=$(printf '%s\n' "$description" | grep -oE '(dollars|years) from -?[0-9]+ to [0-9]+')
check "the page states the ranges of dollars and years" \
	test "$(grep -c . <<<"$ranges")" -ge 2
while read -r unit _ low _ high; do
	entry="the purchase price"
	[ "$unit" = dollars ] || entry="the loan term"
	run "$(answers_before "$entry")$((low - 1))\\n$((high + 1))\\n" USERNAME=jdoe
	check "$unit from $low" err_has ": at least $low"
	check "$unit to $high" err_has ": at most $high"
done <<<"$ranges"

finish
