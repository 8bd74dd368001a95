#!/bin/bash
# SPDX-License-Identifier: MIT
# shellcheck disable=SC2016,SC2034  # perl and sh code; variables lib.sh reads
# What a transcript cannot hold: how the run's process is started and
# ended, output that cannot be written, the order of the two streams on
# one terminal, the real clear and cls.  What to expect is read from the
# transcripts.
#
#   process.sh e2e.NAME   (LOAN_DESK as for lib.sh)
#
# runs the scenario e2e.NAME, one of the functions below, each a test of
# its own: CMake registers every function whose name starts e2e., those
# named e2e.posix-* on POSIX builds only and e2e.windows-* on Windows only.
# A scenario that lacks what it needs here is skipped, with status 77.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

skip() {
	echo "SKIP: $*"
	exit 77
}

# by_perl CODE: loan-desk is started by perl after CODE has set up the
# process as some other starter would.
by_perl() {
	starter=("$(command -v perl)" -e "$1"'; exec { $ARGV[0] } @ARGV or die')
}

# Output that cannot be written: a full device, or where there is none
# (macOS; LOAN_DESK_NO_DEV_FULL=1), a closed standard output.  Windows' C
# library drops a buffer it could not write, and the error with it: the
# last flush finds only the stream's error flag.
e2e.unwritable-output() {
	local why
	prepare typical
	if [ -w /dev/full ] && [ -z "${LOAN_DESK_NO_DEV_FULL:-}" ]; then
		start /dev/full "${variables[@]}"
		why="No space left on device"
	else
		starter=(/bin/sh -c 'exec "$@" >&-' sh)
		start "$work/out" "${variables[@]}"
		why="Bad file descriptor"
	fi
	check "output that cannot be written fails the run" status_is 1
	if windows; then
		check "and says so" test "$(grep -c . "$work/err")" -eq 1
	else
		check "and says why" err_has "$why"
	fi
}

# On Windows the real cls runs, through the command interpreter: twice.
e2e.windows-cls() {
	wine_debug=-all,trace+process
	run_transcript typical
	check "cls runs before each screen" test "$(grep -c \
		'CreateProcessInternalW .* cmdline L".* /c cls"' "$work/trace")" -eq 2
}

# save_in FOLDER NAME: the run asks --save FOLDER/NAME, a folder of its
# own, by a path that this platform's program reads.
save_in() {
	local path=$work/$1/$2
	mkdir -p "$work/$1"
	! windows || path=$(wine_path "$path")
	arguments=(--save "$path")
}

# The statement of the typical run's page: what follows the last clear.
statement_of_typical() {
	local page
	page=$(cat "$transcripts/typical.out" && printf .)
	page=${page%.}
	printf '%s' "${page##*<clear>}" >"$work/statement"
}

# With --save the console gets the very page of the typical run, and the
# file the statement alone, in this platform's text; nothing else is left.
e2e.saved-statement() {
	prepare typical
	save_in saved statement.txt
	start "$work/out" "${variables[@]}"
	check "the run with --save is the typical run" as_expected typical
	statement_of_typical
	check "the file holds the statement alone" \
		same_as "$work/statement" "$work/saved/statement.txt"
	check "nothing else is left beside it" \
		test "$(ls -A "$work/saved")" = statement.txt
}

# Input that ends before the statement saves nothing.
e2e.saved-nothing-when-input-ends() {
	prepare ended-before-apr
	save_in saved statement.txt
	start "$work/out" "${variables[@]}"
	check "ended input is reported as ever" as_expected ended-before-apr
	check "and leaves no file" test -z "$(ls -A "$work/saved")"
}

# A full disk, a tmpfs of 8 KiB filled up: the statement still shows, the
# run says it was not saved and why, and leaves no file, not even the
# temporary one.  Mounting needs root.
e2e.posix-saved-full-disk() {
	mkdir "$work/full"
	[ "$(id -u)" -eq 0 ] || skip "mounting a small tmpfs needs root"
	mount -t tmpfs -o size=8k loan-desk-test "$work/full" 2>/dev/null ||
		skip "no tmpfs can be mounted here"
	trap 'umount "$work/full"; rm -rf "$work"' EXIT
	head -c 8192 /dev/zero >"$work/full/filler" 2>/dev/null
	prepare typical
	save_in full statement.txt
	start "$work/out" "${variables[@]}"
	check "the statement still shows" \
		same_as "$transcripts/typical.out" "$work/out"
	check "the run fails" status_is 1
	check "saying it was not saved, and why" err_has \
		"the statement was not saved as $work/full/statement.txt: No space left on device"
	check "and leaves nothing but the filler" \
		test "$(ls -A "$work/full")" = filler
}

# Some service managers and shells start programs with SIGCHLD ignored;
# clear's own status is still the one reported.
e2e.posix-sigchld-ignored-clear-succeeds() {
	by_perl '$SIG{CHLD} = "IGNORE"'
	run_transcript typical
	check "with SIGCHLD ignored, a clear that succeeds reports nothing" \
		as_expected typical
}

e2e.posix-sigchld-ignored-clear-fails() {
	by_perl '$SIG{CHLD} = "IGNORE"'
	run_transcript posix-clear-failed
	check "with SIGCHLD ignored, a failed clear reports its own status" \
		as_expected posix-clear-failed
}

# A reader that has gone away ends the run as it ends any filter: killed
# by SIGPIPE at the first write, silently, status 141.
e2e.posix-reader-gone() {
	by_perl '$SIG{PIPE} = "DEFAULT"; pipe(my $r, my $w) or die;
		close $r; open(STDOUT, ">&", $w) or die'
	run_transcript typical
	check "a reader gone away ends the run with status 141" status_is 141
	check "a reader gone away gets no diagnostics" is_empty_file "$work/err"
}

# The real clear needs TERM; without it, it fails with status 1 as the
# stand-in of posix-clear-failed does, and the page is the same.
e2e.posix-real-clear-without-term() {
	command -v clear >/dev/null || skip "no clear here (ncurses-bin)"
	mkdir "$work/real"
	ln -s "$(command -v clear)" "$work/real/clear"
	run_transcript posix-clear-failed "$work/real"
	check "without TERM, the real clear's failure is shown" \
		same_as "$transcripts/posix-clear-failed.out" "$work/out"
	check "without TERM the run still succeeds" status_is 0
}

# interrupted_in_clear SIGNAL NUMBER: the interrupt and quit keys send
# SIGINT and SIGQUIT to the whole job, which here the program leads: while
# clear runs, either ends both the shell running clear and, once clear is
# reported, the program itself, before the statement, with the shell's
# status 128 plus the signal.  (qemu reports a quit on standard error; a
# core dump is not wanted.)
interrupted_in_clear() {
	mkdir "$work/interrupted"
	ulimit -c 0
	by_perl 'setpgrp(0, 0)'
	printf '#!/bin/sh\nkill -%s 0\n' "$1" >"$work/interrupted/clear"
	chmod +x "$work/interrupted/clear"
	run_transcript posix-clear-interrupted "$work/interrupted"
	check "SIG$1 in the job ends the run as the key would" \
		status_is $((128 + $2))
	check "SIG$1 in the job ends the run before anything is written" \
		is_empty_file "$work/out"
}
e2e.posix-interrupt-in-clear() { interrupted_in_clear INT 2; }
e2e.posix-quit-in-clear() { interrupted_in_clear QUIT 3; }

# Started with the interrupt ignored, as a job in the background is, the
# run is not ended by it: clear's end by it (here as a shell reports it,
# since clear inherits the ignoring) is reported as any other signal's.
e2e.posix-interrupt-ignored() {
	mkdir "$work/interrupted"
	printf '#!/bin/sh\nexit 130\n' >"$work/interrupted/clear"
	chmod +x "$work/interrupted/clear"
	by_perl '$SIG{INT} = "IGNORE"'
	run_transcript typical "$work/interrupted"
	sed 's/ 143/ 130/g' "$transcripts/posix-clear-terminated.out" >"$work/ignored"
	check "with the interrupt ignored, the run reports it and goes on" \
		same_as "$work/ignored" "$work/out"
}

# A run ended from outside while its schedule is being written, a long
# one: the interrupt key, a termination or the terminal's closing ends it
# as the signal does, and neither the file nor its temporary is left.  (A
# shell starts a job in the background with the interrupt ignored.)
e2e.posix-ended-while-saving() {
	local signal number pid
	printf '1000000 0 100000 5\n' >"$work/in"
	by_perl '$SIG{INT} = "DEFAULT"'
	for signal in INT:2 TERM:15 HUP:1; do
		number=${signal#*:} signal=${signal%:*}
		mkdir "$work/$signal"
		env -i PATH="$clear_dir" "${starter[@]}" "${loan_desk[@]}" \
			--schedule "$work/$signal/p.csv" <"$work/in" >/dev/null &
		pid=$!
		check "SIG$signal: the schedule is being written" \
			growing "$work/$signal/p.csv.0.tmp"
		kill -s "$signal" "$pid"
		wait "$pid" 2>/dev/null # bash names the signal otherwise
		status=$?
		check "SIG$signal ends the run as the signal does" \
			status_is $((128 + number))
		check "SIG$signal leaves no file behind" \
			test -z "$(ls -A "$work/$signal")"
	done
}
# growing FILE: FILE is there and grows, within ten seconds.
growing() {
	local size=0 now wait
	for wait in $(seq 500); do
		now=$(wc -c 2>/dev/null <"$1") || now=0
		[ "$size" -gt 0 ] && [ "$now" -gt "$size" ] && return 0
		size=$now
		sleep 0.02
	done
	echo "$1 did not grow within $((wait / 50)) s"
	return 1
}

# Answers that never end, into output that cannot be written: the first
# prompt that cannot be written ends the run, with the one message.  (The
# stand-in clear that fails writes nothing of its own.)
e2e.posix-endless-answers-full-disk() {
	[ -w /dev/full ] || skip "no /dev/full here"
	prepare posix-clear-failed
	yes 1x | timeout 10 env -i PATH="$clear_dir" "${variables[@]}" \
		"${loan_desk[@]}" >/dev/full 2>"$work/err"
	status=$?
	check "endless answers into a full disk end the run" status_is 1
	check "with one message" test "$(grep -c . "$work/err")" -eq 1
	check "saying why" err_has "No space left on device"
}

# In a terminal, where both streams show together, the message of ended
# input stands on a line of its own after the prompt's.
e2e.posix-streams-together() {
	prepare ended-before-term
	env -i PATH="$clear_dir" "${variables[@]}" "${loan_desk[@]}" \
		<"$work/in" >"$work/out" 2>&1
	cat "$transcripts/ended-before-term".{out,err} >"$work/together"
	check "ended input ends the prompt's line before its message" \
		same_as "$work/together" "$work/out"
}

# With standard output a pipe, as when another program drives the desk,
# the welcome screen and the first prompt are out before the first answer
# is given.
e2e.posix-prompt-before-answer() {
	check "the first prompt is written before its answer is read" \
		prompt_shown_unanswered
}
prompt_shown_unanswered() {
	local LC_ALL=C expected shown="" from to pid
	expected=$(sed -n '1,/: $/p' "$transcripts/typical.out")
	prepare typical
	coproc desk { env -i PATH="$clear_dir" "${variables[@]}" \
		"${loan_desk[@]}" 2>/dev/null; }
	# Bash forgets a coprocess's descriptors once it has ended.
	# shellcheck disable=SC2154  # bash sets desk_PID
	from=${desk[0]} to=${desk[1]} pid=$desk_PID
	read -r -N ${#expected} -t 10 -u "$from" shown
	cat "$work/in" >&"$to"
	exec {to}>&-
	cat <&"$from" >/dev/null
	wait "$pid"
	[ "$shown" = "$expected" ] ||
		{ echo "before the answer: [${shown: -80}]"; return 1; }
}

if [[ ${1:-} != e2e.* ]] || ! declare -F "$1" >/dev/null; then
	echo "usage: process.sh e2e.NAME, a scenario of this file" >&2
	exit 2
fi
"$1"
finish
