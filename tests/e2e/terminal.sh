#!/bin/bash
# SPDX-License-Identifier: MIT
# The typical run in a real 80x40 terminal: tmux runs loan-desk with the
# real `clear`, the answers are typed one by one after their prompts, and
# the screen is read back as a person would see it.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"

# Without tmux or clear the check is skipped (77), not failed.
for tool in tmux clear; do
	if ! command -v $tool >/dev/null; then
		echo "SKIP: $tool is not installed (apt-get install tmux ncurses-bin)"
		exit 77
	fi
done

# A server of our own on a socket in the work directory, so that no other
# tmux session is touched; server and socket go away with the check,
# whatever its outcome.
unset TMUX
trap 'tmux -S "$work/tmux.sock" kill-server 2>/dev/null; rm -rf "$work"' EXIT
term() {
	tmux -S "$work/tmux.sock" "$@"
}

# No status line, so the pane is the whole 80x40 screen; a dead pane stays
# to be read, without a notice that would scroll the screen.
cat >"$work/tmux.conf" <<'EOF'
set -g default-terminal xterm-256color
set -g status off
set -g remain-on-exit on
set -g remain-on-exit-format ""
EOF

deadline_seconds=10

# wait_until CONDITION...: retries the condition until it holds or the
# deadline passes.
wait_until() {
	local give_up=$((SECONDS + deadline_seconds))
	until "$@"; do
		[ "$SECONDS" -lt "$give_up" ] || return 1
		sleep 0.05
	done
}

# capture [-J]: the screen as the terminal shows it, or with -J the lines
# that it wrapped joined again.
capture() {
	term capture-pane -p "$@" >"$work/screen"
}

screen_is() {
	capture && cmp -s "$1" "$work/screen"
}

# screen_has TEXT...: each text is on the screen.
screen_has() {
	local text
	capture -J || return
	for text; do grep -qF -- "$text" "$work/screen" || return; done
}

# shows_screen EXPECTED: the whole screen, once it has settled on it.
shows_screen() {
	wait_until screen_is "$1" && return 0
	diff "$1" "$work/screen" | head -20
	return 1
}

# type_answer TEXT SHOWN...: types an answer and Enter, as a person would,
# and waits for what should then show.
type_answer() {
	term send-keys -l "$1" && term send-keys Enter &&
		wait_until screen_has "${@:2}"
}

# The typical run, read from its transcript: the answers, the prompts
# (from the first line that asks to the one that clears), and the screens
# as a terminal shows them: each clear starts one, capture-pane drops
# trailing spaces, and the rest of the 40 lines stay blank.
page=$transcripts/typical.out
read -r -d '' -a answers <"$transcripts/typical.in"
mapfile -t variables <"$usual_env"
first=$(grep -n -m 1 ': $' "$page" | cut -d : -f 1)
last=$(grep -n '<clear>' "$page" | sed -n '2s/:.*//p')
mapfile -t prompts < <(sed -n "$first,${last}p; ${last}q" "$page" |
	sed 's/<clear>.*//')
screen_from_golden() {
	sed "$1"'!d; s/^.*<clear>//; s/ *$//' "$page" >"$2"
	while [ "$(wc -l <"$2")" -lt 40 ]; do echo >>"$2"; done
}
screen_from_golden "1,$first" "$work/welcome"
screen_from_golden "$last,\$" "$work/statement"

# Something is on the screen before the desk starts: the first clear must
# remove it.  The shell around the program records its exit status in a
# file (tmux's own record of it is not reliable under load) and writes
# nothing more.  The program runs natively here.
# shellcheck disable=SC2016  # the inner shell expands them
term -f "$work/tmux.conf" new-session -d -x 80 -y 40 -- \
	sh -c 'status_file=$1; shift; echo "left over from before"; "$@"
		echo $? >"$status_file"' sh "$work/status" \
	env -i PATH=/usr/bin:/bin TERM=xterm-256color "${variables[@]}" \
	"${loan_desk[@]}"
check "the terminal is 80x40" \
	test "$(term display-message -p '#{pane_width}x#{pane_height}')" = 80x40

check "before the first answer, the welcome screen fills the screen from the top" \
	shows_screen "$work/welcome"
for i in 0 1 2; do
	check "answer $((i + 1)) shows after its prompt, and the next is asked" \
		type_answer "${answers[i]}" "${prompts[i]}${answers[i]}" \
		"${prompts[i + 1]% }"
done
term send-keys -l "${answers[3]}"
term send-keys Enter

check "after the last answer, the screen holds only the statement" \
	shows_screen "$work/statement"
check "the program ends" wait_until test -s "$work/status"
check "with status 0" test "$(cat "$work/status")" = 0

finish
