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

# keep_in FOLDER OPTION NAME...: the run asks each OPTION (--save,
# --schedule) for FOLDER/NAME, a folder of its own, by a path that this
# platform's program reads.
keep_in() {
	local folder=$work/$1 path
	mkdir -p "$folder"
	shift
	arguments=()
	while [ $# -gt 1 ]; do
		path=$folder/$2
		! windows || path=$(wine_path "$path")
		arguments+=("$1" "$path")
		shift 2
	done
}

# The statement of the typical run's page: what follows the last clear.
statement_of_typical() {
	local page
	page=$(cat "$transcripts/typical.out" && printf .)
	page=${page%.}
	printf '%s' "${page##*<clear>}" >"$work/statement"
}

# listed FOLDER: the names in it, each followed by a space.
listed() {
	(cd "$1" && shopt -s dotglob nullglob && for name in *; do
		printf '%s ' "$name"
	done)
}

# With --save, --schedule or both, in either order, the console gets the
# very page of the typical run; the statement's file the statement alone,
# in this platform's text, and the schedule's the same bytes everywhere.
# Nothing else is left.
e2e.kept-files() {
	local options words names
	statement_of_typical
	for options in "--save s.txt" "--schedule p.csv" \
		"--save s.txt --schedule p.csv" "--schedule p.csv --save s.txt"; do
		rm -rf "$work/kept"
		prepare typical
		read -ra words <<<"$options"
		keep_in kept "${words[@]}"
		names=$(printf '%s\n' "${words[@]}" | grep -v '^--' | sort | tr '\n' ' ')
		start "$work/out" "${variables[@]}"
		check "[$options] the run is the typical run" as_expected typical
		[[ $options != *--save* ]] || check "[$options] the statement" \
			same_as "$work/statement" "$work/kept/s.txt"
		[[ $options != *--schedule* ]] || check "[$options] the schedule" \
			cmp "$transcripts/typical.csv" "$work/kept/p.csv"
		check "[$options] nothing else is left" \
			test "$(listed "$work/kept")" = "$names"
	done
}

# What makes no file: input that ends before the statement, for either
# file, and terms with no loan for the schedule, which say so naming it.
e2e.kept-nothing() {
	local name option
	for name in "ended-before-apr --save" "ended-before-apr --schedule" \
		"no-loan --schedule"; do
		read -r name option <<<"$name"
		rm -rf "$work/kept"
		prepare "$name"
		keep_in kept "$option" file
		start "$work/out" "${variables[@]}"
		if [ "$name" = no-loan ]; then
			check "no loan: the statement shows" \
				same_as "$transcripts/no-loan.out" "$work/out"
			check "no loan: the run fails" status_is 1
			check "no loan: one message naming the file" \
				err_has "${arguments[1]}: "
		else
			check "$option: ended input as ever" as_expected "$name"
		fi
		check "$name $option: no file is left" test -z "$(listed "$work/kept")"
	done
}

# A name taken already, by a file or (on POSIX) a dangling link, stops
# the run before the console is cleared or anything asked, and what has
# the name is left as it was.
e2e.kept-name-taken() {
	local option taken names=file
	mkdir -p "$work/taken"
	echo earlier >"$work/taken/file"
	windows || { ln -s nowhere "$work/taken/link" && names="file link"; }
	for option in --save --schedule; do
		for taken in $names; do
			prepare typical
			keep_in taken "$option" "$taken"
			start "$work/out" "${variables[@]}"
			check "$option $taken: nothing is shown" is_empty_file "$work/out"
			check "$option $taken: the run fails" status_is 1
			check "$option $taken: a message names it" err_has "${arguments[1]}: "
		done
	done
	check "the file is as it was" test "$(cat "$work/taken/file")" = earlier
	windows || check "the link is as it was" \
		test "$(readlink "$work/taken/link")" = nowhere
	check "nothing else is left" test "$(listed "$work/taken")" = "$names "
}

# A full disk, a tmpfs of 8 KiB filled up: the statement still shows, the
# run says the file was not saved, and why, and leaves no file, not even
# the temporary one.  Mounting needs root.
e2e.posix-kept-full-disk() {
	local option
	mkdir "$work/full"
	[ "$(id -u)" -eq 0 ] || skip "mounting a small tmpfs needs root"
	mount -t tmpfs -o size=8k loan-desk-test "$work/full" 2>/dev/null ||
		skip "no tmpfs can be mounted here"
	trap 'umount "$work/full"; rm -rf "$work"' EXIT
	head -c 8192 /dev/zero >"$work/full/filler" 2>/dev/null
	for option in --save --schedule; do
		prepare typical
		keep_in full "$option" file
		start "$work/out" "${variables[@]}"
		check "$option: the statement still shows" \
			same_as "$transcripts/typical.out" "$work/out"
		check "$option: the run fails" status_is 1
		check "$option: saying it was not saved as the file, and why" \
			err_has "${arguments[1]}: No space left on device"
		check "$option: and leaves nothing but the filler" \
			test "$(listed "$work/full")" = "filler "
	done
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

# With none of USERNAME, LOGNAME and USER set, the page greets the user
# the run is, by the name id -un prints; one that the password database
# does not know, as with a name set empty, gets the empty name.
e2e.posix-name-of-user() {
	prepare typical
	start "$work/expected" "USERNAME=$(id -un)"
	start "$work/out"
	check "with no name set, the name is the one id -un prints" \
		same_as "$work/expected" "$work/out"
}
e2e.posix-name-of-unknown-user() {
	local uid=2147483000
	[ "$(id -u)" -eq 0 ] || skip "running as another user needs root"
	! getent passwd $uid >/dev/null || skip "user $uid is known here"
	by_perl "\$< = \$> = $uid"
	prepare typical
	start "$work/expected" USERNAME=
	start "$work/out"
	check "an unknown user with no name set gets the empty name" \
		same_as "$work/expected" "$work/out"
}

# On Windows, with USERNAME unset (cmd's "set USERNAME=" unsets it), the
# name is the user account's, which wine takes from the user running it.
e2e.windows-name-of-account() {
	prepare typical
	start "$work/expected" "USERNAME=$(id -un)"
	start "$work/out" USERNAME=
	check "with USERNAME unset, the name is the account's" \
		cmp "$work/expected" "$work/out"
}

# A console of the run's own, which wine gives a program started from a
# terminal (tmux here) as a double click does, stays after the statement
# until Enter; cmd's console, which cmd shares, does not.
e2e.windows-own-console() {
	local last
	command -v tmux >/dev/null || skip "no tmux here"
	prepare typical
	last=$(grep -v '^\$*$' "$transcripts/typical.out" | tail -1)
	check "alone in its console, the run shows the statement" \
		in_console "" "$last"
	check "and waits" test "$(console display -p '#{pane_dead}')" = 0
	console send-keys Enter
	check "until Enter" eventually ended
	check "in cmd's, the run shows it" in_console "cmd /c" "$last"
	check "and ends at once" eventually ended
	console kill-server
}
console() {
	tmux -S "$work/tmux.sock" "$@"
}
# in_console STARTER SHOWN: loan-desk started through STARTER under wine in
# an 80x40 pane; the typical answers typed at the first prompt (a line
# ending in a colon), and two seconds given once SHOWN is on the screen.
in_console() {
	console kill-server 2>/dev/null
	console -f /dev/null new-session -d -x 80 -y 40 "cd '$exe_folder' &&
		WINEDEBUG=-all ${emulator[*]} $1 ${LOAN_DESK##*/}" \; \
		set remain-on-exit on
	eventually shown ':$' &&
		console send-keys -l "$(tr '\n' ' ' <"$work/in")" &&
		console send-keys Enter && eventually shown "$2" && sleep 2
}
# eventually CONDITION...: it holds within 30 seconds.
eventually() {
	local give_up=$((SECONDS + 30))
	until "$@"; do
		[ "$SECONDS" -lt $give_up ] || return 1
		sleep 0.2
	done
}
shown() {
	console capture-pane -p | grep -q -- "$1"
}
ended() {
	test "$(console display -p '#{pane_dead}')" = 1
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
