#!/bin/bash
# SPDX-License-Identifier: MIT
# shellcheck disable=SC2016,SC2034  # perl and sh code; variables lib.sh reads
# What a transcript cannot hold: how the run's process is started and
# ended, output that cannot be written, the order of the two streams on
# one terminal, the real clear and cls.  What to expect is read from the
# transcripts.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

# Output that cannot be written: a full device, or where there is none
# (macOS; LOAN_DESK_NO_DEV_FULL=1), a closed standard output.
prepare typical
if [ -w /dev/full ] && [ -z "${LOAN_DESK_NO_DEV_FULL:-}" ]; then
	start /dev/full "${variables[@]}"
	why="No space left on device"
else
	starter=(/bin/sh -c 'exec "$@" >&-' sh)
	start "$work/out" "${variables[@]}"
	why="Bad file descriptor"
fi
starter=()
check "output that cannot be written fails the run" status_is 1
# Windows' C library drops a buffer it could not write, and the error with
# it: the last flush finds only the stream's error flag.
if windows; then
	check "and says so" test "$(grep -c . "$work/err")" -eq 1
else
	check "and says why" err_has "$why"
fi

# On Windows the real cls runs, through the command interpreter: twice.
if windows; then
	wine_debug=-all,trace+process
	run_transcript typical
	check "cls runs before each screen" test "$(grep -c \
		'CreateProcessInternalW .* cmdline L".* /c cls"' "$work/trace")" -eq 2
	echo "skip starters, SIGPIPE, the real clear, the streams' order (POSIX only)"
	finish
	exit
fi

# by_perl CODE: loan-desk is started by perl after CODE has set up the
# process as some other starter would.
by_perl() {
	starter=("$(command -v perl)" -e "$1"'; exec { $ARGV[0] } @ARGV or die')
}

# Some service managers and shells start programs with SIGCHLD ignored;
# clear's own status is still the one reported.
by_perl '$SIG{CHLD} = "IGNORE"'
run_transcript typical
check "with SIGCHLD ignored, a clear that succeeds reports nothing" \
	as_expected typical
run_transcript posix-clear-failed
check "with SIGCHLD ignored, a failed clear reports its own status" \
	as_expected posix-clear-failed

# A reader that has gone away ends the run as it ends any filter: killed
# by SIGPIPE at the first write, silently, status 141.
by_perl '$SIG{PIPE} = "DEFAULT"; pipe(my $r, my $w) or die;
	close $r; open(STDOUT, ">&", $w) or die'
run_transcript typical
check "a reader gone away ends the run with status 141" status_is 141
check "a reader gone away gets no diagnostics" is_empty_file "$work/err"
starter=()

# The real clear needs TERM; without it, it fails with status 1 as the
# stand-in of posix-clear-failed does, and the page is the same.
if command -v clear >/dev/null; then
	mkdir "$work/real"
	ln -s "$(command -v clear)" "$work/real/clear"
	run_transcript posix-clear-failed "$work/real"
	check "without TERM, the real clear's failure is shown" \
		same_as "$transcripts/posix-clear-failed.out" "$work/out"
	check "without TERM the run still succeeds" status_is 0
fi

# The interrupt and quit keys send SIGINT and SIGQUIT to the whole job,
# which here the program leads: while clear runs, either ends both the
# shell running clear and, once clear is reported, the program itself,
# before the statement, with the shell's status 128 plus the signal.
# (qemu reports a quit on standard error; a core dump is not wanted.)
mkdir "$work/interrupted"
ulimit -c 0
by_perl 'setpgrp(0, 0)'
for key in INT:2 QUIT:3; do
	printf '#!/bin/sh\nkill -%s 0\n' "${key%:*}" >"$work/interrupted/clear"
	chmod +x "$work/interrupted/clear"
	run_transcript posix-clear-interrupted "$work/interrupted"
	check "SIG${key%:*} in the job ends the run as the key would" \
		status_is $((128 + ${key#*:}))
	check "SIG${key%:*} in the job ends the run before anything is written" \
		is_empty_file "$work/out"
done
# Started with the interrupt ignored, as a job in the background is, the
# run is not ended by it: clear's end by it (here as a shell reports it,
# since clear inherits the ignoring) is reported as any other signal's.
printf '#!/bin/sh\nexit 130\n' >"$work/interrupted/clear"
by_perl '$SIG{INT} = "IGNORE"'
run_transcript typical "$work/interrupted"
sed 's/ 143/ 130/g' "$transcripts/posix-clear-terminated.out" >"$work/ignored"
check "with the interrupt ignored, the run reports it and goes on" \
	same_as "$work/ignored" "$work/out"
starter=()

# Answers that never end, into output that cannot be written: the first
# prompt that cannot be written ends the run, with the one message.  (The
# stand-in clear that fails writes nothing of its own.)
if [ -w /dev/full ]; then
	prepare posix-clear-failed
	yes 1x | timeout 10 env -i PATH="$clear_dir" "${variables[@]}" \
		"${loan_desk[@]}" >/dev/full 2>"$work/err"
	status=$?
	check "endless answers into a full disk end the run" status_is 1
	check "with one message" test "$(grep -c . "$work/err")" -eq 1
	check "saying why" err_has "$why"
fi

# In a terminal, where both streams show together, the message of ended
# input stands on a line of its own after the prompt's.
prepare ended-before-term
env -i PATH="$clear_dir" "${variables[@]}" "${loan_desk[@]}" \
	<"$work/in" >"$work/out" 2>&1
cat "$transcripts/ended-before-term".{out,err} >"$work/together"
check "ended input ends the prompt's line before its message" \
	same_as "$work/together" "$work/out"

# prompt_shown_unanswered: with standard output a pipe, as when another
# program drives the desk, the welcome screen and the first prompt are out
# before the first answer is given.
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
check "the first prompt is written before its answer is read" \
	prompt_shown_unanswered

finish
