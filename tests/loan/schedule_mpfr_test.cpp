// SPDX-License-Identifier: MIT
// The payment schedule against its rule worked out by MPFR, line by line:
// each month's interest the exact product of the balance and the monthly
// rate, rounded to the cent a half away from zero; the payment the one the
// statement prints, read from its text here.
//
// LOAN_DESK_SCHEDULES and LOAN_DESK_POWER_SEED change the number of random
// terms and their seed.
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <iterator>
#include <mpfr.h>
#include <random>
#include <string>

#include "loan/payment.h"
#include "loan/schedule.h"
#include "random_sweep.h"

// Whole cents of up to 64 bits times a float are exact here.
constexpr mpfr_prec_t exact_bits = 256;
constexpr long limit = 1'000'000'000'000'000'000; // $10^16

// The terms the rule meets at its edges: the typical loan; rates that
// round (7.5%) or are 0, negative, ties (600% is 0.5 a month) or beyond
// 2^23 a month; small loans that end early; 2^32 - 1 dollars, a down
// payment of -2^31; a float principal below the real one, so that the
// payment falls short of the interest and the balance grows, past the
// limit over 1000 years; payments beyond the limit; no loan.
static const LoanTerms edges[] = {
    {900, 100, 24, 0.12F},
    {900, 100, 360, 0.075F},
    {900, 100, 24, 0.0F},
    {900, 100, 24, -0.12F},
    {901, 0, 36, 6.0F},
    {901, 0, 36, -6.0F},
    {800, 0, 12, 1e10F},
    {900, 100, 24, 1e-44F},
    {1, 0, 36, 1.0F},
    {2147483647, 0, 12000, 0.12F},
    {INT32_MAX, INT32_MIN, 12000, 0.12F},
    {16777217, 0, 3000, 0.12F},
    {16777217, 0, 12000, 0.12F},
    {2147483583, 0, 48, 11.99F},
    {1, 0, 12, 1e18F},
    {100, 100, 24, 0.12F},
    {100, 900, 24, 0.12F},
    {900, 100, 0, 0.12F},
    {900, 100, -24, 0.12F},
};

// Principals up to 2^32 - 1 dollars (half with a negative down payment),
// 1 to 1000 years, and APRs from 0.001% to 10^7%, from -1199% up, a few 0.
static LoanTerms
random_terms(std::mt19937_64 &random)
{
	const auto borrowed =
	    static_cast<std::int64_t>(log_uniform(random, 1.0, 0x1p32 - 1));
	const std::int64_t price = random() % 2 == 0 ? INT32_MAX : borrowed / 2;
	const bool negative = random() % 4 == 0;
	const double apr = random() % 16 == 0 ? 0.0
	                   : negative ? -log_uniform(random, 1e-3, 1199.0)
	                              : log_uniform(random, 1e-3, 1e7);
	const auto years = std::lround(log_uniform(random, 1.0, 1000.0));

	return {static_cast<std::int32_t>(price),
	        static_cast<std::int32_t>(price - borrowed),
	        static_cast<std::int32_t>(12 * years),
	        static_cast<float>(apr / 100)};
}

// The statement's payment in cents, read from its "%.2f" text: the digits
// without the point.  False where it reaches the limit.
static bool
payment_cents(LoanTerms terms, mpfr_t scratch, std::int64_t *cents)
{
	char text[512];
	std::snprintf(text, sizeof text, "%.2f", monthly_payment(terms));
	std::string digits = text;
	digits.erase(digits.size() - 3, 1);
	mpfr_set_str(scratch, digits.c_str(), 10, MPFR_RNDN);
	*cents = mpfr_get_si(scratch, MPFR_RNDN);
	return mpfr_cmpabs_ui(scratch, limit) < 0;
}

static std::string
described(LoanTerms terms)
{
	char text[128];
	std::snprintf(text, sizeof text,
	              "%" PRId32 " %" PRId32 " %" PRId32 " months at %a",
	              terms.purchase_price, terms.down_payment,
	              terms.payment_count,
	              static_cast<double>(terms.annual_rate));
	return text;
}

// Walks the program's schedule beside the rule's; the lines it wrote,
// or -1 where the two part.
static long
compared(LoanTerms terms, mpfr_t product, mpfr_t rate)
{
	Schedule schedule{};
	Payment ours{};
	bool too_large = false;
	const std::int64_t loan = principal(terms) * 100;
	std::int64_t balance = loan;
	std::int64_t installment = 0;
	std::int64_t repaid = 0;
	const char *refusal = start_schedule(terms, &schedule);
	const std::string terms_are = described(terms);

	if (loan <= 0 || terms.payment_count <= 0 ||
	    !payment_cents(terms, product, &installment)) {
		EXPECT_NE(refusal, nullptr) << terms_are;
		return 0;
	}
	EXPECT_EQ(refusal, nullptr) << terms_are;
	mpfr_set_flt(rate, monthly_rate(terms), MPFR_RNDN);
	for (std::int64_t month = 1;; ++month) {
		mpfr_mul_si(product, rate, static_cast<long>(balance),
		            MPFR_RNDN);
		mpfr_round(product, product);
		const bool held = mpfr_cmpabs_ui(product, limit) < 0;
		const std::int64_t interest =
		    held ? mpfr_get_si(product, MPFR_RNDN) : 0;
		const std::int64_t owed = balance + interest;
		const bool last =
		    month == terms.payment_count || owed <= installment;
		const std::int64_t paid = last ? owed : installment;
		const bool more = next_payment(&schedule, &ours, &too_large);
		if (!held || owed >= limit) {
			EXPECT_TRUE(!more && too_large)
			    << terms_are << ", month " << month;
			return month - 1;
		}
		const Payment rule = {month, paid, interest, paid - interest,
		                      owed - paid};
		if (!more || ours.payment != rule.payment ||
		    ours.interest != rule.interest ||
		    ours.principal != rule.principal ||
		    ours.balance != rule.balance) {
			ADD_FAILURE()
			    << terms_are << ", month " << month << ": wrote "
			    << ours.payment << " " << ours.interest << " "
			    << ours.principal << " " << ours.balance;
			return -1;
		}
		repaid += ours.principal;
		balance = rule.balance;
		if (last) {
			EXPECT_FALSE(
			    next_payment(&schedule, &ours, &too_large));
			EXPECT_EQ(repaid, loan) << terms_are;
			return month;
		}
	}
}

TEST(ScheduleAgainstMpfr, EveryLineIsTheRulesExactly)
{
	const std::uint64_t count = setting("LOAN_DESK_SCHEDULES", 300);
	const std::uint64_t seed = setting("LOAN_DESK_POWER_SEED", 20240611);
	std::mt19937_64 random(seed);
	long lines = 0;
	mpfr_t product;
	mpfr_t rate;

	mpfr_inits2(exact_bits, product, rate, nullptr);
	// The edges first, then the random terms.
	for (std::size_t done = 0; done < std::size(edges) + count; ++done) {
		const LoanTerms terms = done < std::size(edges)
		                            ? edges[done]
		                            : random_terms(random);
		lines += compared(terms, product, rate);
	}
	mpfr_clears(product, rate, nullptr);
	std::printf("%" PRIu64 " random schedules, seed %" PRIu64
	            ", and the edges': %ld lines, each the rule's\n",
	            count, seed, lines);
}
