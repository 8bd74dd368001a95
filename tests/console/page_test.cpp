// SPDX-License-Identifier: MIT
#include "console/page.h"

#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

// The fixed texts' widths, a name's, and the ends of the range where the
// padding field's one-space minimum and the page's edge take over.
TEST(CenteredWidth, FollowsThePageFormula)
{
	EXPECT_EQ(centered_width(21), 29); // "Quillmere Trust House"
	EXPECT_EQ(centered_width(15), 32); // "$$ Consignee $$"
	EXPECT_EQ(centered_width(36), 22); // the statement's heading
	EXPECT_EQ(centered_width(10), 35);
	EXPECT_EQ(centered_width(0), 40);
	EXPECT_EQ(centered_width(78), 1);
	EXPECT_EQ(centered_width(79), 0);
	EXPECT_EQ(centered_width(80), 0);
}

TEST(CenteredWidth, NeverWrapsForTextsWiderThanThePage)
{
	EXPECT_EQ(centered_width(81), 0);
	EXPECT_EQ(centered_width(5000), 0);
	EXPECT_EQ(centered_width(SIZE_MAX), 0);
}

static std::string
centered(const char *text)
{
	CaptureStdout();
	print_centered(text);
	return GetCapturedStdout();
}

TEST(PrintCentered, PadsWithAtLeastOneSpaceAndNoLineEnd)
{
	EXPECT_EQ(centered("jdoe"), std::string(38, ' ') + "jdoe");
	EXPECT_EQ(centered(""), std::string(40, ' '));
	const std::string wide(80, 'w');
	EXPECT_EQ(centered(wide.c_str()), " " + wide);
	EXPECT_EQ(centered("%s%n"), std::string(38, ' ') + "%s%n");
}

// A name is measured under the person's UTF-8 locale, and the program is
// left in the "C" locale, in which answers are read and words echoed.
TEST(PrintCentered, LeavesTheProgramInTheCLocale)
{
#ifdef _WIN32
	GTEST_SKIP() << "Windows measures names without a locale";
#else
	const char *name = "Jos\xc3\xa9";
	setenv("LC_ALL", "C.UTF-8", 1);
	const std::string shown = centered(name);
	unsetenv("LC_ALL");
	if (shown == std::string(37, ' ') + name)
		GTEST_SKIP() << "no C.UTF-8 locale here";
	EXPECT_EQ(shown, std::string(38, ' ') + name);
	EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
#endif
}

TEST(PrintRule, IsEightyDollarsAndALineEnd)
{
	CaptureStdout();
	print_rule();
	EXPECT_EQ(GetCapturedStdout(), std::string(80, '$') + "\n");
}

TEST(PrintBlankLines, WritesExactlyTheLineEndsAsked)
{
	CaptureStdout();
	print_blank_lines(0);
	print_blank_lines(1);
	print_blank_lines(3);
	EXPECT_EQ(GetCapturedStdout(), "\n\n\n\n");
}

// Whatever the label's length, the value starts at column 23, measured
// from what the label's output actually took.
TEST(PrintRow, PutsEveryValueAtColumn23)
{
	CaptureStdout();
	print_row("Down Payment:", "%*s$%-5.2f", 100.0);
	print_row("|Annual Interest Rate:", "%*s%.2f%c", 12.0, '%');
	print_row("|Number of Payments", "%*s%-8d", 360);
	print_row("|Monthly Payment:", "%*s$%-5.2lf", 3.8128);
	EXPECT_EQ(GetCapturedStdout(), "Down Payment:          $100.00"
	                               "|Annual Interest Rate: 12.00%"
	                               "|Number of Payments    360     "
	                               "|Monthly Payment:      $3.81 ");
}
