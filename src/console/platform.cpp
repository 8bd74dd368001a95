// SPDX-License-Identifier: MIT
#include "console/platform.h"

#include <cstdlib>

#ifdef _WIN32

#include <windows.h>

bool
clear_console(unsigned long *failure_code)
{
	if (std::system("cls") == 0)
		return true;
	*failure_code = GetLastError();
	return false;
}

const char *
login_name()
{
	const char *name = std::getenv("USERNAME");

	return name != nullptr ? name : "";
}

#else

#include <cerrno>
#include <csignal>
#include <sys/wait.h>

// As a shell reports it: a command ended by signal N has status 128 + N.
constexpr unsigned long signal_status_base = 128;

bool
clear_console(unsigned long *failure_code)
{
	// A program started with SIGCHLD ignored has its children reaped
	// unseen, and system() then finds no status to return.
	std::signal(SIGCHLD, SIG_DFL);
	// Clearing is the job of the terminal's own `clear` command; the
	// command line is a fixed word, and nothing typed reaches the shell.
	// NOLINTNEXTLINE(cert-env33-c)
	const int status = std::system("clear");

	if (status == -1)
		*failure_code = static_cast<unsigned long>(errno);
	else if (WIFSIGNALED(status))
		*failure_code = signal_status_base +
		                static_cast<unsigned long>(WTERMSIG(status));
	else if (WEXITSTATUS(status) != 0)
		*failure_code = static_cast<unsigned long>(WEXITSTATUS(status));
	else
		return true;
	return false;
}

// USERNAME is the Windows name; a POSIX login session sets LOGNAME or USER.
const char *
login_name()
{
	static const char *const variables[] = {"USERNAME", "LOGNAME", "USER"};

	for (const char *variable : variables) {
		const char *name = std::getenv(variable);
		if (name != nullptr)
			return name;
	}
	return "";
}

#endif
