#!/bin/bash
# SPDX-License-Identifier: MIT
# The manual page: it renders without warnings at 80 columns, and what it
# quotes of a run (statement rows, messages, ranges) is what the program
# writes.  Usage: manual.sh PAGE, with LOAN_DESK set as for tests/e2e.
# shellcheck source-path=SCRIPTDIR source=../e2e/lib.sh
. "$(dirname "$0")/../e2e/lib.sh"

page=${1:?usage: manual.sh PAGE}
# The runs take the typical run's environment and answers.
mapfile -t variables <"$usual_env"
read -r -d '' -a typical <"$transcripts/typical.in"

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

run "$answers" "${variables[@]}"
check "the example run succeeds" status_is 0

# Every quoted row is a line of the statement, trailing blanks aside.
sed 's/ *$//' "$work/out" >"$work/rows"
rows=$(printf '%s\n' "$examples" | grep -E '^[A-Z][A-Za-z ]+:? {2,}[^ ]+$')
check "the example quotes the statement's rows, the amounts last" \
	test "$(grep -c '\$' <<<"$rows")" -ge 3
while IFS= read -r row; do
	check "example row [$row] is what the statement shows" \
		grep -qxF -- "$row" "$work/rows"
done <<<"$rows"

# The interest-free sentence names a rate and three amounts, those of the
# last three quoted rows.
free=$(printf '%s\n' "$examples" | tr '\n' ' ' |
	sed -n 's/.*At \([0-9.]*\)% instead of [^,]*, the monthly payment is \$\([0-9.]*\), the total repayment \$\([0-9.]*\) and the total interest \$\([0-9.]*\)\..*/\1 \2 \3 \4/p')
check "the example states an interest-free run" test -n "$free"
read -r free_rate free_amounts <<<"$free"
run "${answers% *} $free_rate\\n" "${variables[@]}"
sed 's/ *$//' "$work/out" >"$work/rows"
for amount in $free_amounts; do
	read -r row
	check "interest-free amount \$$amount as stated" \
		grep -qxF -- "${row%\$*}\$$amount" "$work/rows"
done < <(tail -n 3 <<<"$rows")

# --- The schedule -------------------------------------------------------

# The lines quoted of the typical schedule are its own, CR LF and all.
csv_lines=$(section SCHEDULE | grep -E '^(Month,|[0-9]+,)')
check "the page quotes the typical schedule's lines" \
	test "$(grep -c . <<<"$csv_lines")" -ge 3
while IFS= read -r line; do
	check "schedule line [$line] is the typical schedule's" \
		grep -qxF -- "$line"$'\r' "$transcripts/typical.csv"
done <<<"$csv_lines"

# --- Options ------------------------------------------------------------

# The page quotes two blocks: the usage --help writes, and what an unknown
# argument gets; the version is the page's own.
options=$(section OPTIONS)
quoted() {
	printf '%s\n' "$options" | sed "s/\\\\(aq/'/g" | awk -v n="$1" '
		/^\.\\"/ { next } # a line of the page for the other system
		/^\.nf$/ { block++; inside = 1; next }
		/^\.fi$/ { inside = 0 } inside && block == n'
}
quoted 1 >"$work/help"
quoted 2 >"$work/usage-error"
version=$(printf '%s\n' "$options" | sed -n 's/^\.BR "\(loan-desk [^"]*\)".*/\1/p')
arguments=(--help)
run ""
check "--help writes the usage quoted" same_as "$work/help" "$work/out"
check "--help exits 0" status_is 0
arguments=(--version)
run ""
check "--version writes the version quoted" test "$(cat "$work/out")" = "$version"
unknown=$(sed -n "1s/.*unknown argument '\(.*\)'\$/\1/p" "$work/usage-error")
arguments=("$unknown")
run ""
check "an unknown argument [$unknown] gets the message quoted" \
	same_as "$work/usage-error" "$work/err"
check "an unknown argument exits 2, writing nothing else" \
	test "$status" -eq 2 -a ! -s "$work/out"
arguments=()

# --- Quoted messages and ranges -----------------------------------------

# answers_before ENTRY: the typical answers to the entries asked before
# ENTRY, as a message names it ("the APR", "an APR").
answers_before() {
	local count
	case $1 in
	*"purchase price") count=0 ;;
	*"down payment") count=1 ;;
	*"loan term") count=2 ;;
	*APR) count=3 ;;
	*) echo "unknown entry: $1" >&2; return 1 ;;
	esac
	printf '%s ' "${typical[@]:0:count}"
}

description=$(section DESCRIPTION)
rejections=$(printf '%s\n' "$description" | grep -E '^loan-desk: ".*" is not ')
check "rejected entries' messages are quoted" test -n "$rejections"
while IFS= read -r rejected; do
	word=${rejected#loan-desk: \"} word=${word%%\"*}
	entry=${rejected#*\" is not } entry=${entry%%: *}
	run "$(answers_before "$entry")$word\\n${typical[*]}\\n" "${variables[@]}"
	check "[$rejected] is written as quoted" err_has "$rejected"
done <<<"$rejections"

ended=$(printf '%s\n' "$description" | grep -E '^loan-desk: input ended before ')
check "the ended-input message is quoted" test -n "$ended"
entry=${ended#*input ended before } entry=${entry% was entered}
run "$(answers_before "$entry")" "${variables[@]}"
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
	run "$(answers_before "$entry")$((low - 1))\\n$((high + 1))\\n" "${variables[@]}"
	check "$unit from $low" err_has ": at least $low"
	check "$unit to $high" err_has ": at most $high"
done <<<"$ranges"

finish
