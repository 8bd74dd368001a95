#!/bin/bash
# SPDX-License-Identifier: MIT
# Reading the four answers: what is accepted, what is asked again, and a
# run that ends before all four are in.
. "$(dirname "$0")/lib.sh"

price_prompt='Enter the purchase price in whole dollars: '
years_prompt='Enter your preferred loan term in years: '
rate_prompt='Good news, your terms qualify you for preferred lending! Enter your preferred APR: '

asked_twice() {
	out_has "$1$1"
}

# Rejected whole numbers: the word is named, the line dropped, the prompt
# written again, and the next line's answer taken.
for word in abc 12abc 9,000 '$900' 7.5 0x10 - + 2147483648 -2147483649 \
	99999999999999999999; do
	run "$word 5 5 5\n900\n100 2 12\n" USERNAME=jdoe
	check "price '$word' is asked again" asked_twice "$price_prompt"
	check "price '$word' is named on standard error" \
		err_has "loan-desk: \"$word\" is not a purchase price: "
	check "price '$word': the run goes on to the statement" \
		row_is "Purchase Price:" '$900.00'
done

# Each message names what was wanted: the form, or the end of the range
# that a number passed.
run '9,000\n2147483648\n-2147483649\n900 100 2 12\n' USERNAME=jdoe
check "a price of the wrong form asks for whole dollars" \
	err_has 'loan-desk: "9,000" is not a purchase price: enter whole dollars'
check "too large a price states the largest" \
	err_has '"2147483648" is not a purchase price: at most 2147483647'
check "too small a price states the smallest" \
	err_has '"-2147483649" is not a purchase price: at least -2147483648'
run '900\n100\n178956971\n-178956971\n2\n12\n' USERNAME=jdoe
check "a term whose months overflow is asked again" asked_twice "$years_prompt"
check "the years' range is stated" \
	err_has '"178956971" is not a loan term: at most 178956970'
check "the years' lower end is stated" \
	err_has '"-178956971" is not a loan term: at least -178956970'
check "the next term is taken" row_is "Number of Payments" "24      "

for word in abc nan inf infinity 0x1p3 7.5% 1e39 7.5e 1.2.3 . e5; do
	run "900 100 2 $word\n12\n" USERNAME=jdoe
	check "rate '$word' is asked again" asked_twice "$rate_prompt"
	check "rate '$word' is named" \
		err_has "\"$word\" is not an APR: enter a percentage such as 7.5"
	check "rate '$word': the next rate is taken" \
		row_is "Annual Interest Rate:" "12.00%"
done

# The forms a rate may take.
for word in 7.5 7.50 7.5e0 +7.5 75e-1 0.075E2; do
	run "900 100 2 $word\n" USERNAME=jdoe
	check "rate '$word' reads as 7.5" \
		row_is "Annual Interest Rate:" "7.50%"
done
run "900 100 2 .5\n" USERNAME=jdoe
check "rate '.5' reads as 0.5" row_is "Annual Interest Rate:" "0.50%"

# Whole numbers at the edges of their ranges, with signs and zeros.
run '2147483647 -2147483648 178956970 1\n' USERNAME=jdoe
check "largest price is taken" row_is "Purchase Price:" '$2147483648.00'
check "smallest down payment is taken" row_is "Down Payment:" '$-2147483648.00'
check "longest term is taken" row_is "Number of Payments" "2147483640"
run '+0900 -0 -178956970 5\n' USERNAME=jdoe
check "signs and leading zeros are read" row_is "Purchase Price:" '$900.00'
check "most negative term is taken" row_is "Number of Payments" "-2147483640"
check "accepted answers write no diagnostics" err_is_empty

# Bytes that are no number: a NUL inside a word, an endless word, control
# characters echoed harmlessly.
run '12\00003 900 100 2 12\n900 100 2 12\n' USERNAME=jdoe
check "a NUL inside a word rejects it" asked_twice "$price_prompt"
check "the NUL is shown escaped" err_has '"12\x003" is not'
long=$(head -c 100000 /dev/zero | tr '\0' 7)
run "$long\n900 100 2 12\n" USERNAME=jdoe
check "an endless word is rejected" asked_twice "$price_prompt"
check "an endless word is shown cut short" \
	err_has '"77777777777777777..." is not a purchase price'
check "after an endless word the run goes on" same_as_golden typical-after-retry.out
run '\033[2J 900 100 2 12\n900 100 2 12\n' USERNAME=jdoe
check "escape bytes are shown escaped" err_has '"\x1b[2J" is not'

# Input that ends before the fourth answer: status 1, a message, and
# neither the second clear nor the statement.
answers=(900 100 2 12)
names=("the purchase price" "the down payment" "the loan term" "the APR")
for given in 0 1 2 3; do
	run "${answers[*]:0:given}" USERNAME=jdoe
	check "end after $given answers fails" status_is 1
	check "end after $given answers says what was missing" \
		err_has "loan-desk: input ended before ${names[given]} was entered"
	check "end after $given answers shows no statement" \
		test "$(clears)" -eq 1
done
run 'abc' USERNAME=jdoe
check "end after a rejected answer fails" status_is 1

# run_together INPUT: runs loan-desk with standard output and standard
# error into one file, $work/out, as a terminal shows both.
run_together() {
	printf '%b' "$1" >"$work/in"
	env -i PATH="$work/marker" USERNAME=jdoe "${loan_desk[@]}" \
		<"$work/in" >"$work/out" 2>&1
}

out_ends_with() {
	[ "$(tail -c "${#1}" "$work/out"; echo .)" = "$1." ] ||
		{ tail -c "${#1}" "$work/out"; return 1; }
}

# In a terminal, the message of ended input stands on a line of its own,
# after the prompt's.
if ! windows; then run_together '900 100 2'; fi
posix_check "ended input ends the prompt's line before its message" \
	out_ends_with "$rate_prompt"$'\n'"loan-desk: input ended before the APR was entered"$'\n'

# prompt_shown_unanswered: with standard output a pipe, as when another
# program drives the desk, the first prompt is out before it is answered.
prompt_shown_unanswered() {
	local shown="" from to pid
	coproc desk { env -i PATH="$work/marker" USERNAME=jdoe "${loan_desk[@]}" 2>/dev/null; }
	# Bash forgets a coprocess's descriptors once it has ended.
	from=${desk[0]} to=${desk[1]} pid=$desk_PID
	IFS= read -r -t 10 -d : -u "$from" shown
	printf '900 100 2 12\n' >&"$to"
	exec {to}>&-
	cat <&"$from" >/dev/null
	wait "$pid"
	[ "${shown##*$'\n'}" = "${price_prompt%: }" ] ||
		{ echo "before the answer: [${shown: -80}]"; return 1; }
}
posix_check "a prompt is written before its answer is read" \
	prompt_shown_unanswered

finish
