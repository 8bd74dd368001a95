// SPDX-License-Identifier: MIT
// A statement is saved whole, under a new name, or not at all.  The runs
// that save one, and a full disk, are the end-to-end checks'.
#include "console/saved_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// A folder of the test's own, empty, in the folder the tests run in.
static fs::path
empty_folder()
{
	fs::path folder =
	    testing::UnitTest::GetInstance()->current_test_info()->name();
	fs::remove_all(folder);
	fs::create_directory(folder);
	return folder;
}

static void
write_file(const fs::path &path, const char *text)
{
	std::ofstream(path, std::ios::binary) << text;
}

static std::string
contents(const fs::path &path)
{
	std::ostringstream text;
	text << std::ifstream(path, std::ios::binary).rdbuf();
	return text.str();
}

// What the folder holds, by name, in order.
static std::string
names_in(const fs::path &folder)
{
	std::vector<std::string> names;
	std::string listed;

	std::transform(fs::directory_iterator(folder), fs::directory_iterator(),
	               std::back_inserter(names),
	               [](const fs::directory_entry &entry) {
		               return entry.path().filename().string();
	               });
	std::sort(names.begin(), names.end());
	for (const std::string &name : names)
		listed += name + " ";
	return listed;
}

// An existing file, a folder that is missing, a file where the folder
// should be: each is refused before anything is written, and the file
// already there is left as it was.
TEST(SavedFile, RefusesANameThatCannotBeNew)
{
	const fs::path folder = empty_folder();
	const std::string kept = (folder / "kept").string();
	write_file(kept, "earlier statement");
	const struct {
		std::string path;
		int error;
	} cases[] = {
	    {kept, EEXIST},
	    {(folder / "none" / "s.txt").string(), ENOENT},
#ifndef _WIN32 // Windows calls a path through a file not found
	    {kept + "/s.txt", ENOTDIR},
#endif
	};

	for (const auto &c : cases) {
		errno = 0;
		EXPECT_FALSE(can_save_as(c.path.c_str())) << c.path;
		EXPECT_EQ(errno, c.error) << c.path;
	}
	EXPECT_EQ(contents(kept), "earlier statement");
	EXPECT_EQ(names_in(folder), "kept ");
	fs::remove_all(folder);
}

// A page is kept under its name, as text of the platform's line ends,
// drawn beside it under a temporary name no other file has; one whose name
// another file takes meanwhile is dropped, and that file kept.
TEST(SavedFile, KeepsAPageWholeAndNeverOverAnother)
{
	const fs::path folder = empty_folder();
	const std::string saved = (folder / "saved").string();
	const std::string taken = (folder / "taken").string();
	char *temporary = nullptr;

	write_file(saved + ".0.tmp", "another run's draft");
	ASSERT_TRUE(can_save_as(saved.c_str()));
	std::FILE *page = open_beside(saved.c_str(), true, &temporary);
	ASSERT_NE(page, nullptr);
	std::fputs("page\n", page);
	EXPECT_EQ(keep_as(page, temporary, saved.c_str()), nullptr);
	std::free(temporary);
#ifdef _WIN32
	EXPECT_EQ(contents(saved), "page\r\n");
#else
	EXPECT_EQ(contents(saved), "page\n");
#endif

	page = open_beside(taken.c_str(), true, &temporary);
	ASSERT_NE(page, nullptr);
	write_file(taken, "another run's");
	std::fputs("page\n", page);
	EXPECT_STREQ(keep_as(page, temporary, taken.c_str()),
	             std::strerror(EEXIST));
	std::free(temporary);
	EXPECT_EQ(contents(taken), "another run's");
	EXPECT_EQ(contents(saved + ".0.tmp"), "another run's draft");
	EXPECT_EQ(names_in(folder), "saved saved.0.tmp taken ");
	fs::remove_all(folder);
}
