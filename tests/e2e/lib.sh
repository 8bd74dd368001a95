# SPDX-License-Identifier: MIT
# Shared by the end-to-end checks, which run loan-desk as a person would:
# answers on standard input, a controlled environment, and a stand-in
# `clear` first on PATH that writes a marker instead of clearing.
#
# Usage from a check script:  . lib.sh; ...cases...; finish
# LOAN_DESK is the path of the program, taken whole, spaces and all;
# LOAN_DESK_EMULATOR, where set, is the command that runs it, its words
# separated by spaces: "wine", say, or "qemu-aarch64 -L /usr/aarch64-linux-gnu".
#
# With LOAN_DESK_PLATFORM=Windows, LOAN_DESK is the .exe and the emulator
# wine.  There `cls` is built into the command interpreter and cannot be
# stood in for: the real one runs, and a page is compared with what cls
# writes in place of the marker and with the CR LF line ends of Windows
# text mode.

set -u

read -ra emulator <<<"${LOAN_DESK_EMULATOR:-}"
# The program runs with a PATH of the checks' own: the emulator goes by
# its full path.
if [ ${#emulator[@]} -gt 0 ] && found=$(type -P "${emulator[0]}"); then
	emulator[0]=$found
fi
loan_desk=("${emulator[@]}" "${LOAN_DESK:?names the program to test}")

golden_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../transcripts" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
skipped=0

mkdir "$work/marker" "$work/failing" "$work/none"
printf '#!/bin/sh\nprintf "<clear>"\n' >"$work/marker/clear"
printf '#!/bin/sh\nexit 1\n' >"$work/failing/clear"
chmod +x "$work/marker/clear" "$work/failing/clear"

# Which stand-in clears the console: marker, failing or none.
clear_kind=marker

windows() {
	[ "${LOAN_DESK_PLATFORM:-}" = Windows ]
}

if windows; then
	exe_folder=$(cd "$(dirname "$LOAN_DESK")" && pwd)
	exe_name=${LOAN_DESK##*/}
	# What wine needs from the environment.  Tracing processes puts each
	# command the program starts on standard error, and nothing else.
	# Wine reads the command line it is given, with the variables set
	# there, in the encoding of its locale: UTF-8, as the checks write it.
	wine_env=("WINEDEBUG=-all,trace+process" "LC_ALL=C.UTF-8")
	for variable in HOME WINEPREFIX WINEDLLOVERRIDES; do
		[ -z "${!variable:-}" ] || wine_env+=("$variable=${!variable}")
	done
fi

# run INPUT [VAR=value...]: runs loan-desk with only the given variables
# set, leaving $work/out, $work/err and $status.
run() {
	run_into "$work/out" "$@"
}

# run_into FILE INPUT [VAR=value...]: the same, writing the output to FILE,
# or with standard output closed where FILE is -.
run_into() {
	local output=$1 input=$2
	shift 2
	printf '%b' "$input" >"$work/in"
	if windows; then
		run_windows "$output" "$@"
		return
	fi
	output_to "$output" env -i PATH="$work/$clear_kind" "$@" \
		"${loan_desk[@]}" <"$work/in" 2>"$work/err"
	status=$?
}

# output_to FILE COMMAND...: runs COMMAND with standard output to FILE, or
# closed where FILE is -.
output_to() {
	local output=$1
	shift
	if [ "$output" = - ]; then
		"$@" >&-
	else
		"$@" >"$output"
	fi
}

# Wine gives a program started from Unix the USERNAME and COMSPEC of its
# prefix, so given variables are set the Windows way, by the command
# interpreter, which then starts the program; without any, the program is
# started directly.  The page is kept as written in $work/page and with
# Unix line ends in $work/out; wine's trace is kept apart from the
# program's diagnostics.
#
# The command interpreter finds the program in the current folder, where
# wine is started, so the line holds no path that would need quoting.
run_windows() {
	local output=$1 line="" variable
	shift
	for variable in "$@"; do
		line="${line}set $variable&& "
	done
	local command=("$exe_folder/$exe_name")
	[ $# -eq 0 ] || command=(cmd /c "$line$exe_name")
	(cd "$exe_folder" &&
		output_to "$output" env -i "${wine_env[@]}" "${emulator[@]}" \
			"${command[@]}" <"$work/in" 2>"$work/trace")
	status=$?
	grep -av '^[0-9a-f]*:trace:' "$work/trace" | sed 's/\r$//' >"$work/err"
	if [ "$output" = "$work/out" ]; then
		mv "$work/out" "$work/page"
		sed 's/\r$//' "$work/page" >"$work/out"
	fi
}

# windows_command LINE: what the Windows command interpreter writes for
# LINE, as it writes it.
windows_command() {
	env -i "${wine_env[@]}" "${emulator[@]}" cmd /c "$1" </dev/null 2>/dev/null
}

# clears: how many times the run cleared the console.
clears() {
	if windows; then
		grep -c 'CreateProcessInternalW .* cmdline L".* /c cls"' "$work/trace"
	else
		grep -c '<clear>' "$work/out"
	fi
}

pass() {
	passed=$((passed + 1))
}

fail() {
	failed=$((failed + 1))
	printf 'FAIL %s\n' "$*"
}

# check NAME CONDITION...: one assertion, counted.
check() {
	local name=$1
	shift
	if "$@"; then pass; else fail "$name"; fi
}

# posix_check NAME CONDITION...: an assertion about what only a POSIX
# system does; on Windows it is counted as skipped.
posix_check() {
	if windows; then
		skipped=$((skipped + 1))
		printf 'skip %s (POSIX only)\n' "$1"
		return
	fi
	check "$@"
}

same_as_golden() {
	local expected=$golden_dir/$1 actual=$work/out
	if windows; then
		windows_page "$expected" >"$work/expected"
		expected=$work/expected
		actual=$work/page
	fi
	if cmp -s "$expected" "$actual"; then
		return 0
	fi
	diff "$expected" "$actual" | head -20
	echo "status $status"
	head -5 "$work/err"
	return 1
}

# windows_page GOLDEN: the page as written on Windows, with CR LF line
# ends and, for each marker, what cls writes to a file.
windows_page() {
	local page cleared
	[ -f "$work/cls" ] || windows_command cls >"$work/cls"
	page=$(cat "$1" && printf .)
	page=${page%.}
	page=${page//$'\n'/$'\r\n'}
	cleared=$(cat "$work/cls" && printf .)
	cleared=${cleared%.}
	printf '%s' "${page//"<clear>"/"$cleared"}"
}

status_is() {
	[ "$status" -eq "$1" ] || { echo "status $status, wanted $1"; return 1; }
}

out_has() {
	grep -qF -- "$1" "$work/out"
}

err_has() {
	grep -qF -- "$1" "$work/err" || { cat "$work/err"; return 1; }
}

is_empty_file() {
	[ ! -s "$1" ] || { cat "$1"; return 1; }
}

err_is_empty() {
	is_empty_file "$work/err"
}

# row_is LABEL VALUE: the statement's row with that label shows VALUE from
# column 23 on.
row_is() {
	local row want
	row=$(grep -F -- "$1" "$work/out")
	want=$(printf '%-23s%s' "$1" "$2")
	[ "$row" = "$want" ] || { echo "row: [$row]"; return 1; }
}

# line N: the Nth line of the output, without its line end.
line() {
	sed -n "${1}p" "$work/out"
}

finish() {
	if [ "$skipped" -eq 0 ]; then
		echo "$passed passed, $failed failed"
	else
		echo "$passed passed, $failed failed, $skipped skipped"
	fi
	[ "$failed" -eq 0 ]
}
