#!/bin/bash
# SPDX-License-Identifier: MIT
# The borrower's name: where it is centred, where it comes from, and that
# it is only ever text.
. "$(dirname "$0")/lib.sh"

welcome_name_line=8
statement_name_line=28 # the statement starts on the fourth prompt's line, 17

# name_placed NAME SPACES: the welcome line holds exactly SPACES spaces
# then NAME, and the statement row shows NAME at column 23.
name_placed() {
	local want
	want="$(printf '%*s' "$2" '')$1"
	[ "$(line $welcome_name_line)" = "$want" ] ||
		{ echo "welcome line: [$(line $welcome_name_line)]"; return 1; }
	[ "$(line $statement_name_line)" = "Borrower Name:         $1" ] ||
		{ echo "statement row: [$(line $statement_name_line)]"; return 1; }
}

# name_shown NAME: both screens show NAME, however it is padded.
name_shown() {
	[ "$(line $welcome_name_line | sed 's/^ *//')" = "$1" ] &&
		[ "$(line $statement_name_line)" = "Borrower Name:         $1" ] ||
		{ echo "name lines: [$(line $welcome_name_line)]" \
			"[$(line $statement_name_line)]"; return 1; }
}

name_of() {
	head -c "$1" /dev/zero | tr '\0' "$2"
}

for length in 10 79 80 81; do
	name=$(name_of "$length" n)
	run '1 0 1 1\n' USERNAME="$name"
	case $length in
	10) spaces=35 ;;
	*) spaces=1 ;;
	esac
	check "name of $length characters after $spaces spaces" \
		name_placed "$name" $spaces
done

run '1 0 1 1\n' USERNAME=
check "empty name leaves 40 spaces" name_placed "" 40

# A very long name still writes a page of ordinary shape: 31 lines of
# welcome and prompts, 30 of statement, each name once per screen.
long=$(name_of 5000 x)
run '1 0 1 1\n' USERNAME="$long"
check "5000-character name is placed after one space" name_placed "$long" 1
check "5000-character name keeps the page's line count" \
	test "$(wc -l <"$work/out")" -eq 46
check "5000-character name adds nothing beyond itself" \
	test "$(wc -c <"$work/out")" -lt $((2 * 5000 + 2000))

run '1 0 1 1\n' USERNAME='%s%n%x'
check "conversion characters in a name are printed as they are" \
	name_placed '%s%n%x' 37

# A POSIX login session sets LOGNAME or USER; Windows always sets USERNAME.
run '1 0 1 1\n' LOGNAME=lee USER=una
posix_check "without USERNAME, LOGNAME is the name" name_placed lee 38
run '1 0 1 1\n' USER=una
posix_check "without USERNAME and LOGNAME, USER is the name" \
	name_placed una 38
run '1 0 1 1\n' USERNAME=jdoe LOGNAME=lee USER=una
check "USERNAME comes first" name_placed jdoe 38
run '1 0 1 1\n'
posix_check "with no name known the name is empty" name_placed "" 40
posix_check "with no name known the run still succeeds" status_is 0
if windows; then
	windows_name=$(windows_command 'echo %USERNAME%' | tr -d '\r\n')
	check "Windows names its user" test -n "$windows_name"
	check "started by Windows, the name is the USERNAME it sets" \
		name_shown "$windows_name"
	# Set through the command interpreter, which wine hands it as UTF-8.
	run '1 0 1 1\n' 'USERNAME=José Müller'
	check "a name beyond the ANSI code page is written as UTF-8, centred" \
		name_placed 'José Müller' 34
fi

# --- Temporary, until the transcript runner runs tests/transcripts ------
# The name transcripts: invalid bytes and the C locale are POSIX's alone.
for env_file in "$golden_dir"/name-*.env; do
	transcript=$(basename "$env_file" .env)
	mapfile -t variables <"$env_file"
	run "$(cat "$golden_dir/$transcript.in")\n" "${variables[@]}"
	case $transcript in
	name-invalid | name-c-locale) page_check=posix_check ;;
	*) page_check=check ;;
	esac
	$page_check "transcript $transcript: the page" \
		same_as_golden "$transcript.out"
	check "transcript $transcript: no diagnostics" \
		cmp -s "$golden_dir/$transcript.err" "$work/err"
	check "transcript $transcript: the status" \
		status_is "$(cat "$golden_dir/$transcript.status")"
done
# --- End of the temporary check -----------------------------------------

finish
