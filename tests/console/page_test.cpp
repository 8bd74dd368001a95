// SPDX-License-Identifier: MIT
// The page's rules, blank lines, centred texts and rows are checked by
// every transcript's expected page; here what no page shows.
#include "console/page.h"

#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

// A name is measured under the person's UTF-8 locale, and the program is
// left in the "C" locale, in which answers are read and words echoed.
TEST(PrintCentered, LeavesTheProgramInTheCLocale)
{
#ifdef _WIN32
	GTEST_SKIP() << "Windows measures names without a locale";
#else
	const char *name = "Jos\xc3\xa9";
	setenv("LC_ALL", "C.UTF-8", 1);
	testing::internal::CaptureStdout();
	print_centered(stdout, name);
	const std::string shown = testing::internal::GetCapturedStdout();
	unsetenv("LC_ALL");
	if (shown == std::string(37, ' ') + name)
		GTEST_SKIP() << "no C.UTF-8 locale here";
	EXPECT_EQ(shown, std::string(38, ' ') + name);
	EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
#endif
}

// Control characters, C0, DEL and C1 as UTF-8 writes them, show as \xNN a
// byte; the bytes around them, and every other character, as they are.
TEST(ShownText, EscapesControlCharactersAlone)
{
	const struct {
		const char *text;
		const char *shown;
	} cases[] = {
	    {"jdoe \"%s\\ ~", "jdoe \"%s\\ ~"},
	    {"Jos\xc3\xa9 \xe5\xbc\xa0 \xc2\xa0\xc2\xa9\xc2",
	     "Jos\xc3\xa9 \xe5\xbc\xa0 \xc2\xa0\xc2\xa9\xc2"},
	    {"a\nb\x01\x1f\x7f", "a\\x0ab\\x01\\x1f\\x7f"},
	    {"\x1b[8mx\xc2\x80\xc2\x85\xc2\x9f",
	     "\\x1b[8mx\\xc2\\x80\\xc2\\x85\\xc2\\x9f"},
	    {"", ""},
	};

	for (const auto &c : cases) {
		char *shown = shown_text(c.text);
		ASSERT_NE(shown, nullptr);
		EXPECT_STREQ(shown, c.shown);
		std::free(shown);
	}
}
