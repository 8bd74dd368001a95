// SPDX-License-Identifier: MIT
#include "loan/answers.h"
#include "loan/questions.h"
#include "test_input.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

// What a refused word leaves in the value it would have filled.
constexpr int untouched = 42;

// Why words are refused in the range -40 to 75, or what they are taken
// as.  Numbers past 32 bits, or past long long, stay past the range.
TEST(ParseWhole, SaysWhyAWordIsRefused)
{
	const struct {
		Verdict verdict;
		std::int32_t value;
		std::vector<const char *> words;
	} cases[] = {
	    {Verdict::taken, 75, {"75", "+075"}},
	    {Verdict::taken, -40, {"-40", "-0040"}},
	    {Verdict::taken, 0, {"-0", "0"}},
	    {Verdict::too_large,
	     untouched,
	     {"76", "4294967336", "99999999999999999999999"}},
	    {Verdict::too_small,
	     untouched,
	     {"-41", "-4294967336", "-99999999999999999999999"}},
	    {Verdict::not_a_number,
	     untouched,
	     {"", "+", "-", "abc", "12abc", "9,000", "$50", "7.5", "1e3",
	      "0x10", " 12", "12 ", "--1", "99999999999999999999999x",
	      "\xef\xbc\x91"}},
	};

	for (const auto &c : cases)
		for (const char *word : c.words) {
			std::int32_t value = untouched;
			EXPECT_EQ(parse_whole(word, -40, 75, &value), c.verdict)
			    << word;
			EXPECT_EQ(value, c.value) << word;
		}
}

// The decimal forms of a percentage are taken; nan, inf and hexadecimal are
// no rate a person means, and numbers past single precision lie past the
// ends of any range.
TEST(ParseRate, TakesOnlyTheDecimalFormsOfAPercentage)
{
	const struct {
		Verdict verdict;
		float value;
		std::vector<const char *> words;
	} cases[] = {
	    {Verdict::taken,
	     7.5F,
	     {"7.5", "7.50", "7.5e0", "+7.5", "75e-1", "0.075E2", "7.5E+0"}},
	    {Verdict::taken, 0.5F, {".5"}},
	    {Verdict::taken, 5.0F, {"5."}},
	    {Verdict::taken, -3.0F, {"-3"}},
	    {Verdict::taken, 0.0F, {"1e-60"}}, // too small to tell from 0
	    {Verdict::too_large, untouched, {"1e39"}},
	    {Verdict::too_small, untouched, {"-1e39"}},
	    {Verdict::not_a_number,
	     untouched,
	     {"", ".", "+", "e5", "7.5e", "7.5e+", "1.2.3", "7.5%", "abc",
	      "nan", "NAN", "inf", "-infinity", "0x1p3", "0x10", "1,5",
	      "12abc"}},
	};

	for (const auto &c : cases)
		for (const char *word : c.words) {
			float value = untouched;
			EXPECT_EQ(parse_rate(word, &value), c.verdict) << word;
			EXPECT_EQ(value, c.value) << word;
		}
}

// The manual promises words of up to 127 bytes.
TEST(ReadWord, KeepsOverlongAndNulWordsFromPassingAsNumbers)
{
	const std::string text =
	    std::string(1000, '7') + " 12" + std::string(1, '\0') + "3 " +
	    std::string(127, '7') + " " + std::string(128, '7') + " next";
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
	EXPECT_TRUE(word_is_intact(word));
	EXPECT_EQ(std::string(word.text), std::string(127, '7'));
	ASSERT_TRUE(read_word(input.file, &word));
	EXPECT_FALSE(word_is_intact(word));

	ASSERT_TRUE(read_word(input.file, &word));
	EXPECT_STREQ(word.text, "next");
}

TEST(ReadWord, SkippingTheRestOfALineStopsAtItsEnd)
{
	const std::string text = "abc 5 5\n315\nxyz\n42";
	Input input(text);
	Word word;

	ASSERT_TRUE(read_word(input.file, &word));
	skip_rest_of_line(input.file);
	ASSERT_TRUE(read_word(input.file, &word));
	EXPECT_STREQ(word.text, "315");
	skip_rest_of_line(input.file); // the word ended its line
	ASSERT_TRUE(read_word(input.file, &word));
	EXPECT_STREQ(word.text, "xyz");
}

// Windows editors start a UTF-8 file with a byte-order mark.  Only a
// whole mark, and only as the input's first bytes, is skipped; the bytes
// of a partial one are a word of their own.
TEST(ReadFirstWord, SkipsAByteOrderMarkAtTheVeryStart)
{
	const std::string mark = "\xef\xbb\xbf";
	const struct {
		std::string input;
		std::string first; // empty: no word at all
	} cases[] = {
	    {mark + "315 45", "315"},
	    {mark + "\r\n 315", "315"},
	    {"315 45", "315"},
	    {"  315", "315"},
	    {" " + mark + "315", mark + "315"},
	    {mark + mark + "315", mark + "315"},
	    {mark.substr(0, 2) + "315", mark.substr(0, 2) + "315"},
	    {mark.substr(0, 1) + " 315", mark.substr(0, 1)},
	    {mark, ""},
	    {"", ""},
	};

	for (const auto &c : cases) {
		Input input(c.input);
		Word word;
		EXPECT_EQ(read_first_word(input.file, &word), !c.first.empty());
		if (!c.first.empty()) {
			EXPECT_EQ(word.text, c.first);
			EXPECT_TRUE(word_is_intact(word));
		}
	}
}

static Word
word_of(const std::string &text)
{
	Word word{};

	word.length = text.size();
	text.copy(word.text, std::min(text.size(), word_capacity - 1));
	return word;
}

// What a diagnostic shows of a word: bytes that could drive the terminal
// or end the quotes are escaped, and the echo never passes 20 columns.
TEST(EchoWord, EscapesAndCutsToTwentyColumns)
{
	const struct {
		std::string word;
		const char *echo;
	} cases[] = {
	    {"9,000", "9,000"},
	    {"\"7\"or\\7", "\\x227\\x22or\\x5c7"},
	    {"\"\\", "\\x22\\x5c"},
	    {"\x1b[2J", "\\x1b[2J"},
	    {"12" + std::string(1, '\0') + "3", "12\\x003"},
	    {"12345678901234567890", "12345678901234567890"},
	    {"123456789012345678901", "12345678901234567..."},
	    {"\x01\x02\x03\x04\x05", "\\x01\\x02\\x03\\x04\\x05"},
	    {"\x01\x02\x03\x04\x05\x06", "\\x01\\x02\\x03\\x04..."},
	    {"1234567890123456\x01", "1234567890123456\\x01"},
	    {"12345678901234567\x01", "12345678901234567..."},
	    {std::string(1000, '7'), "77777777777777777..."},
	};

	for (const auto &c : cases) {
		char echo[echo_size];
		echo_word(word_of(c.word), echo);
		EXPECT_STREQ(echo, c.echo);
	}
}

struct Session {
	bool complete;
	std::string out;
	std::string err;
};

static Session
read_all(const std::string &text, LoanTerms *terms, const char *mode = "rb")
{
	Input input(text, mode);

	testing::internal::CaptureStdout();
	testing::internal::CaptureStderr();
	const bool complete = read_terms(input.file, terms);
	return {complete, testing::internal::GetCapturedStdout(),
	        testing::internal::GetCapturedStderr()};
}

// A byte-order mark counts only at the start; an APR is taken above -1200
// and below about 9.5073795e31, as single precision holds them, and asked
// again past either end; 1,000 is refused, being one or a thousand.
TEST(ReadTerms, StoresMonthsAndAFractionalRate)
{
	const std::string mark = "\xef\xbb\xbf";
	const struct {
		std::string input;
		LoanTerms terms;
	} cases[] = {
	    {"315 45 3 9.5", {315, 45, 36, 0.095F}},
	    {"-5 7 0 0", {-5, 7, 0, 0.0F}},
	    {mark + "315 45 3 9.5", {315, 45, 36, 0.095F}},
	    {"315 " + mark + "45\n7 3 9.5", {315, 7, 36, 0.095F}},
	    {"1 0 1 -1200\n-1199.9999", {1, 0, 12, -1199.9999F / 100.0F}},
	    {"1 0 1 9.50737951e31\n9.5073790e31",
	     {1, 0, 12, 9.5073790e31F / 100.0F}},
	    {"1 0 1 3.4028235e38\n-3.4028235e38\n9.5", {1, 0, 12, 0.095F}},
	    // One '$' before an amount, one '%' after the rate, and no other.
	    {"$315 $-45 3 9.5%", {315, -45, 36, 0.095F}},
	    {"-$5\n$$5\n5$\n$\n1,000\n$315 -$45\n$-45 $3\n3 %\n9.5%%\n%9.5\n"
	     "$9.5\n9.5%",
	     {315, -45, 36, 0.095F}},
	};

	for (const auto &c : cases) {
		LoanTerms terms{};
		ASSERT_TRUE(read_all(c.input, &terms).complete) << c.input;
		EXPECT_EQ(terms.purchase_price, c.terms.purchase_price);
		EXPECT_EQ(terms.down_payment, c.terms.down_payment);
		EXPECT_EQ(terms.payment_count, c.terms.payment_count);
		EXPECT_EQ(terms.annual_rate, c.terms.annual_rate) << c.input;
	}
}

// Every message of the terms entry fits the 80-column console on a line
// of its own: each rejection at its worst (the longest word shown whole,
// an overlong word, escaped bytes, numbers past either end of a range)
// and input that ends before each answer.
TEST(ReadTerms, EveryMessageFitsOnAConsoleLine)
{
	// The rate takes the last of the numbers, so it rejects four words.
	const std::string worst = "wwwwwwwwwwwwwwwwwwww\n" +
	                          std::string(300, 'w') + "\n" +
	                          std::string(20, '\x01') + "\n" +
	                          "-9999999999999999999\n"
	                          "99999999999999999999\n";
	std::string rejected;
	std::string answered;
	std::string messages;
	LoanTerms terms{};

	for (const char *answer : {"315", "45", "3", "9.5"}) {
		messages += read_all(answered, &terms).err;
		answered += std::string(answer) + " ";
		rejected += worst + answer + "\n";
	}
	const Session session = read_all(rejected, &terms);
	ASSERT_TRUE(session.complete);
	messages += session.err;

	std::istringstream lines(messages);
	int count = 0;
	for (std::string line; std::getline(lines, line); count++) {
		EXPECT_EQ(line.rfind("loan-desk: ", 0), 0U) << line;
		EXPECT_LE(line.size(), 79U) << line;
	}
	EXPECT_EQ(count, 4 + 3 * 5 + 4);
}

// A word typed ahead on an earlier answer's line follows a prompt whose
// line nothing ended: its message starts with a line end of its own.  A
// word that starts its line, as typed after its prompt, needs none.
TEST(ReadTerms, AMessageAfterAPromptLeftOpenStartsALine)
{
	const struct {
		const char *input;
		bool typed_ahead;
	} cases[] = {
	    {"900 dollars\n100 2 12", true},
	    {"900 100 2 years\n12", true},
	    {"dollars 5\n900 100 2 12", false},
	    {"900\r\n\r\n dollars 5\n100 2 12", false},
	};

	for (const auto &c : cases) {
		LoanTerms terms{};
		const Session session = read_all(c.input, &terms);
		ASSERT_TRUE(session.complete) << c.input;
		EXPECT_EQ(session.err.rfind("\nloan-desk: ", 0) == 0,
		          c.typed_ahead)
		    << c.input;
		EXPECT_EQ(session.err.find("loan-desk: "),
		          session.err.rfind("loan-desk: "))
		    << c.input;
	}
}

// Input that cannot be read (here, a stream open only for writing) ends
// the prompt's line and says so, as input that ends does (the ended-
// transcripts show that).
TEST(ReadTerms, SaysInputCannotBeRead)
{
	const std::string prompt = questions[0].prompt;
	LoanTerms terms{};

	bool read_fails = false;
	{
		Input probe("", "ab");
		read_fails = std::getc(probe.file) == EOF &&
		             std::ferror(probe.file) != 0;
	}
	if (!read_fails)
		GTEST_SKIP() << "this C library reads a write-only stream as "
		                "ended (Windows does)";
	const Session failed = read_all("315 45 3 9.5", &terms, "ab");
	EXPECT_FALSE(failed.complete);
	EXPECT_EQ(failed.out, prompt + "\n");
	EXPECT_EQ(failed.err.rfind(std::string("loan-desk: cannot read ") +
	                               questions[0].name + ": ",
	                           0),
	          0U)
	    << failed.err;
}
