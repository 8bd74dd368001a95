// SPDX-License-Identifier: MIT
// Arbitrary bytes as the borrower's standard input.  Whatever is typed,
// reading the terms ends one of two ways: four terms, each of them written
// and usable by the statement, or the failure of input that ran out first.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "loan/payment.h"
#include "loan/questions.h"

// Fillings that a reader which forgets a term cannot pass for an answer:
// neither count is a multiple of 12, neither rate is finite, and a price
// or down payment left alone differs between the two.
static LoanTerms
poisoned(std::int32_t fill, float rate)
{
	return LoanTerms{fill, fill, fill, rate};
}

// Reads the terms from the bytes; ran_out tells whether the reader met the
// end of them.
static bool
read_from(const std::uint8_t *data, std::size_t size, LoanTerms *terms,
          bool *ran_out)
{
	// A read-only stream never writes to its buffer.
	std::FILE *in = fmemopen(const_cast<std::uint8_t *>(data), size, "r");

	if (in == nullptr)
		std::abort();
	const bool complete = read_terms(in, terms);
	*ran_out = std::feof(in) != 0 && std::ferror(in) == 0;
	std::fclose(in);
	return complete;
}

// Both runs wrote every term, and wrote the same.
static bool
same(const LoanTerms &first, const LoanTerms &second)
{
	return first.purchase_price == second.purchase_price &&
	       first.down_payment == second.down_payment &&
	       first.payment_count == second.payment_count &&
	       first.annual_rate == second.annual_rate;
}

// A rate inside the range whose figures are right, which keeps the rate
// shown, times 100, a number too.
static bool
usable(const LoanTerms &terms)
{
	const float rate = monthly_rate(terms);

	return terms.payment_count % 12 == 0 && rate > lowest_monthly_rate &&
	       rate < highest_monthly_rate;
}

// The fuzzer is run with the diagnostics thrown away; written a byte at a
// time to an unbuffered stream, they would take most of each input's time.
extern "C" int
LLVMFuzzerInitialize(int * /*argc*/, char *** /*argv*/)
{
	static char buffer[BUFSIZ];

	std::setvbuf(stderr, buffer, _IOFBF, sizeof buffer);
	return 0;
}

extern "C" int
LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
	LoanTerms first = poisoned(std::numeric_limits<std::int32_t>::max(),
	                           std::numeric_limits<float>::quiet_NaN());
	LoanTerms second = poisoned(std::numeric_limits<std::int32_t>::min(),
	                            std::numeric_limits<float>::infinity());
	bool first_ran_out = false;
	bool second_ran_out = false;

	const bool complete = read_from(data, size, &first, &first_ran_out);
	if (read_from(data, size, &second, &second_ran_out) != complete)
		std::abort();
	if (!complete && !(first_ran_out && second_ran_out))
		std::abort();
	if (complete && !(usable(first) && same(first, second)))
		std::abort();
	return 0;
}
