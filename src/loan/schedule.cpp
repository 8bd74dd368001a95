// SPDX-License-Identifier: MIT
#include "loan/schedule.h"

#include <cstdint>
#include <cstdio>

#include "loan/payment.h"
#include "numeric/binary_power.h"
#include "numeric/cents.h"

static const char no_loan[] = "these terms have no payment schedule";
static const char too_large[] =
    "an amount reaches $10^16, more than a schedule holds";

// The statement's monthly payment as it prints it, to the cent: the
// schedule pays what the borrower reads there.
static bool
printed_payment(LoanTerms terms, std::int64_t *cents)
{
	char text[64];
	const int length =
	    std::snprintf(text, sizeof text, "%.2f", monthly_payment(terms));

	return length > 0 && static_cast<std::size_t>(length) < sizeof text &&
	       cents_of_text(text, cents);
}

// Only a loan is repaid: a principal and at least one payment.
const char *
start_schedule(LoanTerms terms, Schedule *schedule)
{
	constexpr std::int64_t cents_per_dollar = 100;

	if (principal(terms) <= 0 || terms.payment_count <= 0)
		return no_loan;
	*schedule = {monthly_rate(terms), terms.payment_count, 0, 0,
	             principal(terms) * cents_per_dollar};
	return printed_payment(terms, &schedule->installment) ? nullptr
	                                                      : too_large;
}

// Month k pays the balance and its interest where that is due: in the last
// month, or where the installment would cover it.  Any other month pays
// the installment, its principal what the interest leaves of it, which is
// less than nothing where the installment falls short of the interest:
// the balance then grows.
bool
next_payment(Schedule *schedule, Payment *payment, bool *too_large)
{
	std::int64_t interest = 0;

	*too_large = false;
	if (schedule->balance == 0)
		return false; // paid off: no month leaves a balance of 0 but
		              // the last
	if (!cents_times_rate(schedule->balance, schedule->rate, &interest) ||
	    schedule->balance + interest >= cents_limit) {
		*too_large = true;
		return false;
	}
	const std::int64_t owed = schedule->balance + interest;
	const bool last = ++schedule->month == schedule->count ||
	                  owed <= schedule->installment;
	const std::int64_t paid = last ? owed : schedule->installment;

	*payment = {schedule->month, paid, interest, paid - interest,
	            owed - paid};
	schedule->balance = owed - paid;
	return true;
}

// The digits of value, its sign before them, ending just before end, the
// last two after a point where it is in cents ("-0.05", as "%s%lld.%02d"
// would write it): where they start.
static char *
digits_before(char *end, std::int64_t value, bool in_cents)
{
	const int least_digits = in_cents ? 3 : 1;
	std::uint64_t size = unsigned_magnitude(value);

	for (int place = 0; place < least_digits || size != 0; place++) {
		if (in_cents && place == 2)
			*--end = '.';
		*--end = static_cast<char>('0' + size % 10);
		size /= 10;
	}
	if (value < 0)
		*--end = '-';
	return end;
}

// A line is made from its last byte back and written whole: the same
// bytes as one fprintf a line, without a format parsed for every line,
// which made up most of the run's instructions with a 30-year schedule
// (bench/README.md).  The line end is written as bytes: the file is
// opened for bytes, so that every build writes the same file.
static void
print_payment(std::FILE *out, const Payment &line)
{
	char text[128]; // five numbers of at most 21 bytes, and separators
	char *const end = text + sizeof text;
	const std::int64_t amounts[] = {line.payment, line.interest,
	                                line.principal, line.balance};
	char *start = end - 2;

	start[0] = '\r';
	start[1] = '\n';
	for (int column = 3; column >= 0; column--) {
		start = digits_before(start, amounts[column], true);
		*--start = ',';
	}
	start = digits_before(start, line.month, false);
	std::fwrite(start, 1, static_cast<std::size_t>(end - start), out);
}

const char *
write_schedule(std::FILE *out, Schedule *schedule)
{
	Payment payment{};
	bool amount_too_large = false;

	std::fputs("Month,Payment,Interest,Principal,Balance\r\n", out);
	// A stream that failed (a full disk) fails the rest: keep_as says so.
	while (std::ferror(out) == 0 &&
	       next_payment(schedule, &payment, &amount_too_large))
		print_payment(out, payment);
	return amount_too_large ? too_large : nullptr;
}
