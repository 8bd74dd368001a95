// SPDX-License-Identifier: MIT
#ifndef LOAN_DESK_TESTS_TEST_INPUT_H
#define LOAN_DESK_TESTS_TEST_INPUT_H

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

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

#endif
