#!/bin/bash
# SPDX-License-Identifier: MIT
# Runs loan-desk through transcripts of tests/transcripts and compares what
# it writes with what they expect; with --update, rewrites their expected
# files from what it writes instead, for git diff to show.
#
#   transcript.sh [--update] NAME...   (LOAN_DESK as for tests/e2e/lib.sh)
#
# The transcript NAME is a set of files, each of which may be left out:
#   NAME.args    loan-desk's arguments, one a line; none: no arguments
#   NAME.in      standard input, the bytes as typed; none: no input
#   NAME.env     the environment, one VAR=value a line; the run sets
#                nothing else but PATH.  None: that of tests/transcript.env
#   NAME.out     the expected standard output, <clear> where the console
#                is cleared; none: nothing
#   NAME.err     the expected standard error; none: nothing
#   NAME.status  the expected exit status; none: 0
#   NAME.clear   the `clear` the run finds on PATH, a script; an empty
#                file leaves the run without one.  None: a stand-in that
#                writes <clear>.
#   NAME.csv     the schedule that --schedule writes of NAME's answers,
#                which the end-to-end checks expect; --update writes it
#                anew where there is one
# --update writes NAME.out, NAME.err and NAME.status where they differ
# from those defaults, and removes them where they do not.
#
# Transcripts whose names start with posix- run only on POSIX builds (a
# NAME.clear, LOGNAME and USER need one), and windows- only on Windows.
# On Windows the variables are set by the command interpreter, over those
# wine gives every program (USERNAME, COMSPEC...); the expected output has
# CR LF line ends and what the real cls writes in place of <clear>, and
# --update turns both back.
# shellcheck source-path=SCRIPTDIR source=e2e/lib.sh
. "$(dirname "$0")/e2e/lib.sh"

update=false
if [ "${1:-}" = --update ]; then
	update=true
	shift
fi

# keep NAME EXT FILE: FILE becomes the transcript's NAME.EXT, or, where it
# is empty, NAME.EXT goes.
keep() {
	if [ -s "$3" ]; then
		cp "$3" "$transcripts/$1.$2"
	else
		rm -f "$transcripts/$1.$2"
	fi
}

# as_posix FILE: the run's FILE on Windows as a POSIX run writes it.
as_posix() {
	local text cleared
	text=$(cat "$1" && printf .) cleared=$(cat "$work/cls" && printf .)
	text=${text%.} cleared=${cleared%.}
	text=${text//$'\r\n'/$'\n'}
	[ -z "$cleared" ] || text=${text//"$cleared"/<clear>}
	printf '%s' "$text" >"$1"
}

# record NAME: writes the transcript's expected files from the run.  Under
# wine cls writes nothing to a file, so a Windows run's page tells where
# the console was cleared only if no cls ran: wine's trace of the processes
# started says.
record() {
	if windows; then
		if [ ! -s "$work/cls" ] && grep -q \
			'NtCreateUserProcess .* cmdline L".* /c cls"' "$work/trace"; then
			check "$1: cls ran, and wrote nothing to stand for <clear>" false
			return
		fi
		as_posix "$work/out"
		as_posix "$work/err"
	fi
	keep "$1" out "$work/out"
	keep "$1" err "$work/err"
	if [ "$status" -eq 0 ]; then
		: >"$work/status"
	else
		echo "$status" >"$work/status"
	fi
	keep "$1" status "$work/status"
}

# record_schedule NAME: NAME.csv written anew by the run with --schedule.
record_schedule() {
	rm -f "$work/schedule.csv"
	arguments+=(--schedule "$work/schedule.csv")
	start "$work/out" "${variables[@]}"
	cp "$work/schedule.csv" "$transcripts/$1.csv"
}

for name; do
	if windows && [ -f "$transcripts/$name.clear" ]; then
		check "$name: cls cannot be stood in for; name it posix-$name" false
		continue
	fi
	! $update || ! windows || wine_debug=-all,trace+process
	run_transcript "$name"
	if $update; then
		record "$name"
		[ ! -f "$transcripts/$name.csv" ] || record_schedule "$name"
	else
		check "$name" as_expected "$name"
	fi
done
finish
