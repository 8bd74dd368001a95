#!/bin/bash
# SPDX-License-Identifier: MIT
# Both screens of a whole run, byte for byte, and the clear command's
# part in them.
. "$(dirname "$0")/lib.sh"

run '900\n100\n2\n12\n' USERNAME=jdoe
check "typical run matches its golden page" same_as_golden typical.out
check "typical run exits 0" status_is 0
check "typical run writes no diagnostics" err_is_empty

run '900 100 2 12\n' USERNAME=jdoe
check "answers on one line give the same page" same_as_golden typical.out

run '  900\t100\n\n\n2\r\n 12' USERNAME=jdoe
check "any white space separates answers" same_as_golden typical.out
check "a last answer without line end is read" status_is 0

# Stand-ins for clear: cls is built into the Windows command interpreter.
clear_kind=failing
run '900 100 2 12\n' USERNAME=jdoe
posix_check "failed clear reports its status before the rule" \
	same_as_golden clear-failed.out
posix_check "failed clear does not fail the run" status_is 0

clear_kind=none
run '900 100 2 12\n' USERNAME=jdoe
posix_check "missing clear command reports 127" \
	out_has 'Crap, a thing happened  127$$$$$$$$'
posix_check "missing clear does not fail the run" status_is 0

# run_perl CODE: the typical answers, with the program started by perl
# after CODE has set up the process as some other starter would.
run_perl() {
	printf '900 100 2 12\n' >"$work/in"
	env -i PATH="$work/$clear_kind" USERNAME=jdoe "$(command -v perl)" \
		-e "$1"'; exec { $ARGV[0] } @ARGV or die' "${loan_desk[@]}" \
		<"$work/in" >"$work/out" 2>"$work/err"
	status=$?
}

# Stand-ins ended by a signal sent to the shell that runs them ($PPID), to
# themselves ($$), or to the whole job (0), as the interrupt key sends it;
# the program leads a process group of its own.  An interrupt ends the
# run by the same signal, before the statement.  Any other signal is
# reported as 128 plus the signal, as a shell reports it, and the run goes
# on.
mkdir "$work/killed"
while read -r signal target outcome; do
	if ! windows; then
		printf '#!/bin/sh\nkill -%s %s\n' "$signal" "$target" \
			>"$work/killed/clear"
		chmod +x "$work/killed/clear"
		clear_kind=killed
		run_perl 'setpgrp(0, 0)'
	fi
	if [ "$outcome" = ends ]; then
		posix_check "clear ended by SIG$signal sent to $target ends the run" \
			status_is 130
		posix_check "at the first clear, with nothing written" \
			is_empty_file "$work/out"
	else
		posix_check "clear ended by SIG$signal sent to $target reports $outcome" \
			out_has "Crap, a thing happened  $outcome\$\$\$\$\$\$\$\$"
		posix_check "and the run goes on" status_is 0
	fi
done <<'EOF'
TERM $PPID 143
TERM $$ 143
INT $$ ends
INT 0 ends
EOF

# Some service managers and shells start programs with SIGCHLD ignored;
# clear's own status is still the one reported.
if ! windows; then
	clear_kind=marker
	run_perl '$SIG{CHLD} = "IGNORE"'
fi
posix_check "with SIGCHLD ignored, a clear that succeeds reports nothing" \
	same_as_golden typical.out
if ! windows; then
	clear_kind=failing
	run_perl '$SIG{CHLD} = "IGNORE"'
fi
posix_check "with SIGCHLD ignored, a failed clear reports its own status" \
	same_as_golden clear-failed.out

# A reader that has gone away ends the run as it ends any filter: killed
# by SIGPIPE at the first write, silently, status 141.
if ! windows; then
	clear_kind=marker
	run_perl '$SIG{PIPE} = "DEFAULT"; pipe(my $r, my $w) or die;
		close $r; open(STDOUT, ">&", $w) or die'
fi
posix_check "a reader gone away ends the run with status 141" status_is 141
posix_check "a reader gone away gets no diagnostics" err_is_empty

# The real clear needs TERM; without it each clearing is reported and the
# page goes on.
if ! windows && command -v clear >/dev/null; then
	mkdir "$work/real"
	ln -s "$(command -v clear)" "$work/real/clear"
	clear_kind=real
	run '900 100 2 12\n' USERNAME=jdoe
	check "without TERM, clear's failure is shown twice" \
		test "$(grep -o 'Crap, a thing happened  1\$\$' "$work/out" | wc -l)" -eq 2
	check "without TERM the run still succeeds" status_is 0
fi

# On Windows the real cls runs, through the command interpreter; when that
# cannot be started, Windows' last error is shown: 3, the path not found,
# where errno would say 2.
if windows; then
	run '900 100 2 12\n' USERNAME=jdoe
	check "cls runs before each screen" test "$(clears)" -eq 2
	run '900 100 2 12\n' USERNAME=jdoe 'COMSPEC=C:\no\such\cmd.exe'
	check "an interpreter that cannot start reports the last error" \
		out_has 'Crap, a thing happened  3$$$$$$$$'
	check "an interpreter that cannot start does not fail the run" \
		status_is 0
fi

finish
