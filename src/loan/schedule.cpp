// SPDX-License-Identifier: MIT
#include "loan/schedule.h"

#include <cinttypes>

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

// An amount as the CSV writes it: sign, whole dollars and two decimals.
struct Shown {
	const char *sign;
	long long dollars;
	int cents;
};

static Shown
shown(std::int64_t amount)
{
	const std::uint64_t size = unsigned_magnitude(amount);

	return {amount < 0 ? "-" : "", static_cast<long long>(size / 100),
	        static_cast<int>(size % 100)};
}

// One fprintf a line, the line end written as bytes: the file is opened
// for bytes, so that every build writes the same file.
static void
print_payment(std::FILE *out, const Payment &line)
{
	const Shown payment = shown(line.payment);
	const Shown interest = shown(line.interest);
	const Shown repaid = shown(line.principal);
	const Shown balance = shown(line.balance);

	std::fprintf(
	    out, "%lld,%s%lld.%02d,%s%lld.%02d,%s%lld.%02d,%s%lld.%02d\r\n",
	    static_cast<long long>(line.month), payment.sign, payment.dollars,
	    payment.cents, interest.sign, interest.dollars, interest.cents,
	    repaid.sign, repaid.dollars, repaid.cents, balance.sign,
	    balance.dollars, balance.cents);
}

const char *
write_schedule(std::FILE *out, LoanTerms terms)
{
	Schedule schedule{};
	Payment payment{};
	bool amount_too_large = false;
	const char *refusal = start_schedule(terms, &schedule);

	if (refusal != nullptr)
		return refusal;
	std::fputs("Month,Payment,Interest,Principal,Balance\r\n", out);
	// A stream that failed (a full disk) fails the rest: keep_as says so.
	while (std::ferror(out) == 0 &&
	       next_payment(&schedule, &payment, &amount_too_large))
		print_payment(out, payment);
	return amount_too_large ? too_large : nullptr;
}
