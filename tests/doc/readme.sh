#!/bin/bash
# SPDX-License-Identifier: MIT
# The README's sample run is the typical transcript's: its first screen
# with the answers typed after the prompts, wrapped at 80 columns as the
# console wraps them, and its statement.  With --update, the README's
# sample is written anew from the transcript instead.
#
#   readme.sh [--update] README   (LOAN_DESK as for tests/e2e/lib.sh)
# shellcheck source-path=SCRIPTDIR source=../e2e/lib.sh
. "$(dirname "$0")/../e2e/lib.sh"

update=false
if [ "${1:-}" = --update ]; then
	update=true
	shift
fi
readme=${1:?usage: readme.sh [--update] README}

# The typical page's two screens, the first with each answer after its
# prompt as typed, each line folded at 80 columns as the console wraps it.
read -r -d '' -a answers <"$transcripts/typical.in"
awk -v typed="${answers[*]}" -v dir="$work" '
	BEGIN { RS = "<clear>"; split(typed, answer, " ") }
	NR > 1 { n = split($0, line, "\n"); out = dir "/screen" (NR - 1)
		if (NR == 2) print "$ scripts/run" >out
		for (i = 1; i <= n; i++) {
			if (i == n && line[i] == "") break
			prompt = line[i] ~ /: $/
			print line[i] (prompt ? answer[++asked] : "") >out
			# the line end typed with the answer
			if (prompt && i < n) print "" >out } }' \
	"$transcripts/typical.out"
for screen in 1 2; do
	fold -w 80 "$work/screen$screen" | sed 's/ *$//' >"$work/shown$screen"
done

# The README with the indented blocks of its section "A run" written
# apart, one file each, and replaced by the screens where asked.
awk -v dir="$work" -v replace="$update" '
	function screen(file, line) {
		while ((getline line <file) > 0) print (line == "" ? "" : "    " line)
	}
	/^## / { on = $0 == "## A run" }
	on && /^    / { if (!inside && replace == "true") screen(dir "/shown" blocks + 1)
		if (!inside) blocks++; inside = 1
		out = dir "/block" blocks; line = substr($0, 5); sub(/ +$/, "", line)
		for (; blank > 0; blank--) print "" >out; print line >out; next }
	on && inside && /^$/ { blank++; next }
	{ for (; blank > 0; blank--) print ""; inside = 0; print }' \
	"$readme" >"$work/readme"

if $update; then
	cp "$work/readme" "$readme"
	exit
fi
for screen in 1 2; do
	check "the README's screen $screen is the typical run's" \
		same_as "$work/shown$screen" "$work/block$screen"
done
finish
