# SPDX-License-Identifier: MIT
# shellcheck shell=bash disable=SC2034  # the variables serve the scripts
# Shared by the transcript runner and the shell checks, which run loan-desk
# as a person would: answers on standard input, a controlled environment,
# and first on PATH the stand-in `clear` of tests/e2e/stand-in, which
# writes <clear> (the scripts run the program with it too).
#
# LOAN_DESK is the program's path, taken whole, spaces and all;
# LOAN_DESK_EMULATOR what runs it, if anything, words separated by spaces
# ("qemu-aarch64 -L /usr/aarch64-linux-gnu").  With LOAN_DESK_PLATFORM=Windows
# it is the .exe under wine, and the real cls runs: a page is expected with
# what cls writes in place of <clear> and CR LF line ends.

set -u

read -ra emulator <<<"${LOAN_DESK_EMULATOR:-}"
# The program's PATH is the checks' own: the emulator goes by its full path.
if [ ${#emulator[@]} -gt 0 ] && found=$(type -P "${emulator[0]}"); then
	emulator[0]=$found
fi
loan_desk=("${emulator[@]}" "${LOAN_DESK:?names the program to test}")

transcripts=$(cd "$(dirname "${BASH_SOURCE[0]}")/../transcripts" && pwd)
# The environment of a transcript that has no NAME.env of its own.
usual_env=$transcripts/../transcript.env
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
stand_in=$(cd "$(dirname "${BASH_SOURCE[0]}")/stand-in" && pwd)
clear_dir=$stand_in # the run's PATH, where it finds `clear`
starter=()             # what starts loan-desk on POSIX, if not env alone
arguments=()           # loan-desk's arguments

windows() {
	[ "${LOAN_DESK_PLATFORM:-}" = Windows ]
}

if windows; then
	exe_folder=$(cd "$(dirname "$LOAN_DESK")" && pwd)
	# The wine prefix of the tests, which the windows test preset names:
	# beside the program in its build folder.  Wine reports making one on
	# standard error, which a run would take for the program's: a prefix
	# not made yet is made first, quietly.
	export WINEPREFIX=${WINEPREFIX:-$exe_folder/wine}
	[ -e "$WINEPREFIX/system.reg" ] || WINEDEBUG=-all \
		"${emulator[@]}" wineboot --init </dev/null >/dev/null 2>&1
	wine_debug=-all # -all,trace+process: the commands started, on stderr
	# Wine reads the command line it is given, with the variables set
	# there, in the encoding of its locale: UTF-8, as transcripts hold it.
	wine_env=(LC_ALL=C.UTF-8)
	for variable in HOME WINEPREFIX WINEDLLOVERRIDES; do
		[ -z "${!variable:-}" ] || wine_env+=("$variable=${!variable}")
	done
fi

# run INPUT [VAR=value...]: runs loan-desk on INPUT (printf's %b escapes)
# with only those variables set: $work/out, $work/err and $status.
run() {
	printf '%b' "$1" >"$work/in"
	shift
	start "$work/out" "$@"
}

# given NAME EXT [DEFAULT]: the transcript's file NAME.EXT, or where it has
# none, DEFAULT (else an empty file).
given() {
	if [ -f "$transcripts/$1.$2" ]; then
		echo "$transcripts/$1.$2"
	else
		echo "${3:-/dev/null}"
	fi
}

# prepare NAME [FOLDER]: the transcript's answers in $work/in, its
# environment in $variables, its arguments in $arguments, and `clear` from
# FOLDER, else from NAME.clear, else the stand-in.
prepare() {
	local name=$transcripts/$1
	cp "$(given "$1" in)" "$work/in"
	mapfile -t variables <"$(given "$1" env "$usual_env")"
	mapfile -t arguments <"$(given "$1" args)"
	clear_dir=${2:-$stand_in}
	if [ $# -eq 1 ] && [ -f "$name.clear" ]; then
		clear_dir=$work/$1
		mkdir -p "$clear_dir"
		[ ! -s "$name.clear" ] || install "$name.clear" "$clear_dir/clear"
	fi
}

# run_transcript NAME [FOLDER]: runs loan-desk as the transcript has it.
run_transcript() {
	prepare "$@"
	start "$work/out" "${variables[@]}"
}

# start FILE [VAR=value...]: runs loan-desk on $work/in, its output to FILE.
start() {
	if windows; then
		start_windows "$@"
	else
		env -i PATH="$clear_dir" "${@:2}" "${starter[@]}" "${loan_desk[@]}" \
			"${arguments[@]}" <"$work/in" >"$1" 2>"$work/err"
	fi
	status=$?
}

# wine_path PATH: PATH as a Windows program under wine names it, through
# wine's drive Z:, the Unix root.
wine_path() {
	printf 'Z:%s' "${1//\//\\}"
}

# Wine passes the program its prefix's USERNAME and COMSPEC, so variables
# are set the Windows way, by the command interpreter that starts the
# program from the current folder (no path to quote), its arguments words
# that need no quotes (wine quotes the whole line again); the same line
# keeps what cls writes in $work/cls.  Once in a while, on a prefix wine has
# just made, wine ends at once with status 1 without running the line at
# all (no $work/cls): that start is made again, once, and said so.
start_windows() {
	local line variable argument started attempt program=${LOAN_DESK##*/}
	line="cls>$(wine_path "$work/cls")& "
	for variable in "${@:2}"; do
		line="${line}set $variable&& "
	done
	for argument in "${arguments[@]}"; do
		program="$program $argument"
	done
	for attempt in first again; do
		rm -f "$work/cls"
		(cd "$exe_folder" && env -i WINEDEBUG="$wine_debug" \
			"${wine_env[@]}" "${emulator[@]}" cmd /c \
			"$line$program" <"$work/in" >"$1" 2>"$work/trace")
		started=$?
		{ [ -e "$work/cls" ] || [ $attempt = again ]; } && break
		echo "wine ran nothing (status $started): starting it again"
	done
	grep -av '^[0-9a-f]*:trace:' "$work/trace" >"$work/err"
	return $started
}

# same_as EXPECTED ACTUAL: the files match, EXPECTED as this platform
# writes it; else their difference is shown.
same_as() {
	if windows; then
		local text cleared
		text=$(cat "$1" && printf .) cleared=$(cat "$work/cls" && printf .)
		text=${text%.} cleared=${cleared%.}
		text=${text//$'\n'/$'\r\n'}
		printf '%s' "${text//"<clear>"/"$cleared"}" >"$work/expected"
	else
		cp "$1" "$work/expected"
	fi
	cmp -s "$work/expected" "$2" && return 0
	diff -a "$work/expected" "$2" | head -20
	return 1
}

# as_expected NAME: the run wrote what the transcript NAME expects on
# both streams, and ended with its status.
as_expected() {
	local same=0 wanted
	same_as "$(given "$1" out)" "$work/out" || same=1
	same_as "$(given "$1" err)" "$work/err" || same=1
	wanted=$(cat "$(given "$1" status)")
	status_is "${wanted:-0}" || same=1
	return $same
}

# check NAME CONDITION...: one assertion; a failed one is named, and
# fails the test at its end.
check() {
	"${@:2}" && return
	failed=$((failed + 1))
	echo "FAIL $1" >&2
}

status_is() {
	[ "$status" -eq "$1" ] || { echo "status $status, wanted $1"; return 1; }
}

err_has() {
	grep -qF -- "$1" "$work/err" || { cat "$work/err"; return 1; }
}

is_empty_file() {
	[ ! -s "$1" ] || { cat "$1"; return 1; }
}

finish() {
	[ "$failed" -eq 0 ]
}
