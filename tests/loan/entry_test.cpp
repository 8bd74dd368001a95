// SPDX-License-Identifier: MIT
#include "loan/desk.h"
#include "loan/entry.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

constexpr long long int32_min = INT32_MIN;
constexpr long long int32_max = INT32_MAX;

TEST(ParseWhole, TakesSignedDecimalNumbersInRange)
{
	std::int32_t value = 0;

	EXPECT_TRUE(parse_whole("900", int32_min, int32_max, &value));
	EXPECT_EQ(value, 900);
	EXPECT_TRUE(parse_whole("+0900", int32_min, int32_max, &value));
	EXPECT_EQ(value, 900);
	EXPECT_TRUE(parse_whole("-2147483648", int32_min, int32_max, &value));
	EXPECT_EQ(value, INT32_MIN);
	EXPECT_TRUE(parse_whole("2147483647", int32_min, int32_max, &value));
	EXPECT_EQ(value, INT32_MAX);
	EXPECT_TRUE(parse_whole("-0", int32_min, int32_max, &value));
	EXPECT_EQ(value, 0);
}

// A rejected word leaves the stored value as it was: nothing partial.
TEST(ParseWhole, RejectsAnythingElseWhole)
{
	for (const char *word :
	     {"", "+", "-", "abc", "12abc", "9,000", "$900", "7.5", "1e3",
	      "0x10", " 12", "12 ", "--1", "2147483648", "-2147483649",
	      "99999999999999999999999", "\xef\xbc\x91"}) {
		std::int32_t value = 42;
		EXPECT_FALSE(parse_whole(word, int32_min, int32_max, &value))
		    << word;
		EXPECT_EQ(value, 42) << word;
	}
}

TEST(ParseWhole, HonoursTheCallersRange)
{
	std::int32_t value = 0;

	EXPECT_TRUE(
	    parse_whole("178956970", INT32_MIN / 12, INT32_MAX / 12, &value));
	EXPECT_FALSE(
	    parse_whole("178956971", INT32_MIN / 12, INT32_MAX / 12, &value));
	EXPECT_FALSE(
	    parse_whole("-178956971", INT32_MIN / 12, INT32_MAX / 12, &value));
	EXPECT_FALSE(parse_whole("3000000000", 0, 4000000000LL, &value));
}

TEST(ParseRate, TakesTheDecimalFormsOfAPercentage)
{
	for (const char *word :
	     {"7.5", "7.50", "7.5e0", "+7.5", "75e-1", "0.075E2", "7.5E+0"}) {
		float value = 0;
		EXPECT_TRUE(parse_rate(word, &value)) << word;
		EXPECT_EQ(value, 7.5F) << word;
	}
	float value = 0;
	EXPECT_TRUE(parse_rate(".5", &value));
	EXPECT_EQ(value, 0.5F);
	EXPECT_TRUE(parse_rate("5.", &value));
	EXPECT_EQ(value, 5.0F);
	EXPECT_TRUE(parse_rate("-3", &value));
	EXPECT_EQ(value, -3.0F);
	EXPECT_TRUE(parse_rate("1e-60", &value)); // too small to tell from 0
	EXPECT_EQ(value, 0.0F);
}

TEST(ParseRate, RejectsWhatNoPersonMeansAsARate)
{
	for (const char *word :
	     {"", ".", "+", "e5", "7.5e", "7.5e+", "1.2.3", "7.5%", "abc",
	      "nan", "NAN", "inf", "-infinity", "0x1p3", "0x10", "1e39",
	      "-1e39", "1,5", "12abc"}) {
		float value = 42;
		EXPECT_FALSE(parse_rate(word, &value)) << word;
		EXPECT_EQ(value, 42) << word;
	}
}

// Reads from a string as if it were standard input, through a file of
// the test's own name in the folder the tests run in (the build's), which
// any platform lets the tests write.  One at a time per test.
class Input
{
      public:
	explicit Input(const std::string &text, const char *mode = "rb")
	{
		const testing::TestInfo *test =
		    testing::UnitTest::GetInstance()->current_test_info();
		path = std::string(test->test_suite_name()) + "." +
		       test->name() + ".in";
		std::FILE *out = std::fopen(path.c_str(), "wb");
		const bool written = out != nullptr &&
		                     std::fwrite(text.data(), 1, text.size(),
		                                 out) == text.size() &&
		                     std::fclose(out) == 0;
		file = written ? std::fopen(path.c_str(), mode) : nullptr;
		if (file == nullptr) {
			std::perror(path.c_str());
			std::abort();
		}
	}
	~Input()
	{
		std::fclose(file);
		std::remove(path.c_str());
	}
	Input(const Input &) = delete;
	Input &operator=(const Input &) = delete;
	std::string path;
	std::FILE *file = nullptr;
};

TEST(ReadWord, SplitsOnAnyWhiteSpaceAcrossLines)
{
	const std::string text = " \t900\n\n100\r\n  2 12";
	Input input(text);
	Word word;

	for (const char *expected : {"900", "100", "2", "12"}) {
		ASSERT_TRUE(read_word(input.file, &word));
		EXPECT_STREQ(word.text, expected);
		EXPECT_TRUE(word_is_intact(word));
	}
	EXPECT_EQ(word.ended_by, EOF);
	EXPECT_FALSE(read_word(input.file, &word));
}

TEST(ReadWord, KeepsOverlongAndNulWordsFromPassingAsNumbers)
{
	const std::string text =
	    std::string(1000, '7') + " 12" + std::string(1, '\0') + "3 next";
	Input input(text);
	Word word;

	ASSERT_TRUE(read_word(input.file, &word));
	EXPECT_EQ(word.length, 1000U);
	EXPECT_EQ(std::string(word.text), std::string(word_capacity - 1, '7'));
	EXPECT_FALSE(word_is_intact(word));

	ASSERT_TRUE(read_word(input.file, &word));
	EXPECT_EQ(word.length, 4U);
	EXPECT_FALSE(word_is_intact(word));

	ASSERT_TRUE(read_word(input.file, &word));
	EXPECT_STREQ(word.text, "next");
}

TEST(ReadWord, SkippingTheRestOfALineStopsAtItsEnd)
{
	const std::string text = "abc 5 5\n900\nxyz\n42";
	Input input(text);
	Word word;

	ASSERT_TRUE(read_word(input.file, &word));
	skip_rest_of_line(input.file, word);
	ASSERT_TRUE(read_word(input.file, &word));
	EXPECT_STREQ(word.text, "900");
	skip_rest_of_line(input.file, word); // the word ended its line
	ASSERT_TRUE(read_word(input.file, &word));
	EXPECT_STREQ(word.text, "xyz");
}

static bool
read_all(const std::string &text, LoanTerms *terms)
{
	Input input(text);

	testing::internal::CaptureStdout();
	testing::internal::CaptureStderr();
	const bool complete = read_terms(input.file, terms);
	testing::internal::GetCapturedStdout();
	testing::internal::GetCapturedStderr();
	return complete;
}

TEST(ReadTerms, StoresMonthsAndAFractionalRate)
{
	LoanTerms terms{};

	ASSERT_TRUE(read_all("900 100 2 12", &terms));
	EXPECT_EQ(terms.purchase_price, 900);
	EXPECT_EQ(terms.down_payment, 100);
	EXPECT_EQ(terms.payment_count, 24);
	EXPECT_EQ(terms.annual_rate, 12.0F / 100.0F);

	ASSERT_TRUE(read_all("-5 7 0 0", &terms));
	EXPECT_EQ(terms.payment_count, 0);
	EXPECT_EQ(terms.annual_rate, 0.0F);
}
