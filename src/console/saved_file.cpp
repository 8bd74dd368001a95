// SPDX-License-Identifier: MIT
#include "console/saved_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "console/page.h"
#include "console/platform.h"

// Making the file beside it tries the folder as the save will: that it is
// there, is a folder, and takes a new file.
bool
can_save_as(const char *path)
{
	char *temporary = nullptr;

	if (!name_is_free(path))
		return false;
	std::FILE *probe = open_beside(path, false, &temporary);
	if (probe == nullptr)
		return false;
	discard(probe, temporary);
	std::free(temporary);
	return true;
}

// PATH.N.tmp, the first N that no other file has, as another run saving
// the same name meanwhile may have taken one.
std::FILE *
open_beside(const char *path, bool as_text, char **temporary)
{
	constexpr int tries = 100;
	const std::size_t size = std::strlen(path) + sizeof ".99.tmp";
	auto *name = static_cast<char *>(std::malloc(size));

	*temporary = nullptr;
	if (name == nullptr) {
		errno = ENOMEM;
		return nullptr;
	}
	for (int n = 0; n < tries; n++) {
		std::snprintf(name, size, "%s.%d.tmp", path, n);
		std::FILE *file = create_file(name, as_text);
		if (file != nullptr) {
			*temporary = name;
			return file;
		}
		if (errno != EEXIST)
			break;
	}
	const int open_errno = errno;
	std::free(name);
	errno = open_errno;
	return nullptr;
}

const char *
keep_as(std::FILE *file, const char *temporary, const char *path)
{
	const char *failure = write_failure(file);

	if (failure == nullptr && !sync_file(file))
		failure = std::strerror(errno);
	if (std::fclose(file) != 0 && failure == nullptr)
		failure = std::strerror(errno);
	if (failure == nullptr && !rename_new(temporary, path))
		failure = std::strerror(errno);
	if (failure != nullptr)
		remove_new(temporary);
	return failure;
}

void
discard(std::FILE *file, const char *temporary)
{
	std::fclose(file);
	remove_new(temporary);
}
