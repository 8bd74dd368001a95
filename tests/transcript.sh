#!/bin/bash
# SPDX-License-Identifier: MIT
# Runs loan-desk through transcripts of tests/transcripts and compares what
# it writes with what they expect; with --update, rewrites their expected
# files from what it writes instead, for git diff to show.
#
#   transcript.sh [--update] NAME...   (LOAN_DESK as for tests/e2e/lib.sh)
#
# The transcript NAME is a set of files:
#   NAME.in      standard input, the bytes as typed
#   NAME.env     the environment, one VAR=value a line; the run sets
#                nothing else but PATH
#   NAME.out     the expected standard output, <clear> where the console
#                is cleared
#   NAME.err     the expected standard error
#   NAME.status  the expected exit status
#   NAME.clear   optional: the `clear` the run finds on PATH, a script; an
#                empty file leaves the run without one.  Without it, a
#                stand-in writes <clear>.
# Transcripts whose names start with posix- run only on POSIX builds (a
# NAME.clear, LOGNAME and USER need one), and windows- only on Windows.
# On Windows the variables are set by the command interpreter, over those
# wine gives every program (USERNAME, COMSPEC...); the expected output has
# CR LF line ends and what the real cls writes in place of <clear>; and
# expected files are written from POSIX runs only.
# shellcheck source-path=SCRIPTDIR source=e2e/lib.sh
. "$(dirname "$0")/e2e/lib.sh"

update=false
if [ "${1:-}" = --update ]; then
	update=true
	shift
fi
if $update && windows; then
	echo "transcript.sh: update the expected files from a POSIX build" >&2
	exit 1
fi

for name; do
	if windows && [ -f "$transcripts/$name.clear" ]; then
		check "$name: cls cannot be stood in for; name it posix-$name" false
		continue
	fi
	run_transcript "$name"
	if $update; then
		cp "$work/out" "$transcripts/$name.out"
		cp "$work/err" "$transcripts/$name.err"
		echo "$status" >"$transcripts/$name.status"
		continue
	fi
	check "$name" as_expected "$name"
done
$update || finish
