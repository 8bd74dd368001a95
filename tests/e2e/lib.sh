# Shared by the end-to-end checks, which run loan-desk as a person would:
# answers on standard input, a controlled environment, and a stand-in
# `clear` first on PATH that writes a marker instead of clearing.
#
# Usage from a check script:  . lib.sh; ...cases...; finish
# The command to run is given by LOAN_DESK (a path, possibly prefixed by
# an emulator, e.g. "wine /path/loan-desk.exe").

set -u

golden_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../golden" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

mkdir "$work/marker" "$work/failing" "$work/none"
printf '#!/bin/sh\nprintf "<clear>"\n' >"$work/marker/clear"
printf '#!/bin/sh\nexit 1\n' >"$work/failing/clear"
chmod +x "$work/marker/clear" "$work/failing/clear"

# Which stand-in clears the console: marker, failing or none.
clear_kind=marker

# run INPUT [VAR=value...]: runs loan-desk with only the given variables
# set, leaving $work/out, $work/err and $status.
run() {
	local input=$1
	shift
	printf '%b' "$input" >"$work/in"
	# shellcheck disable=SC2086  # LOAN_DESK may carry an emulator
	env -i PATH="$work/$clear_kind" "$@" $LOAN_DESK \
		<"$work/in" >"$work/out" 2>"$work/err"
	status=$?
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

same_as_golden() {
	if cmp -s "$golden_dir/$1" "$work/out"; then
		return 0
	fi
	diff "$golden_dir/$1" "$work/out" | head -20
	return 1
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

err_is_empty() {
	[ ! -s "$work/err" ] || { cat "$work/err"; return 1; }
}

# line N: the Nth line of the output, without its line end.
line() {
	sed -n "${1}p" "$work/out"
}

finish() {
	echo "$passed passed, $failed failed"
	[ "$failed" -eq 0 ]
}
