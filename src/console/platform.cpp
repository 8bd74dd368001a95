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
constexpr int signal_status_base = 128;

// The signal that ended clear, told from the wait status of the shell
// that ran it: one that ended the shell as well, as a key reaches both,
// or 128 plus the signal, as a shell that outlived clear reports it (as
// dash does when clear alone is signalled).  0 when no signal did.
static int
ending_signal(int status)
{
	if (WIFSIGNALED(status))
		return WTERMSIG(status);
	if (WIFEXITED(status) && WEXITSTATUS(status) > signal_status_base)
		return WEXITSTATUS(status) - signal_status_base;
	return 0;
}

// The interrupt and quit keys signal the whole job, which system() keeps
// from ending this process while clear runs; the run then ends as the
// signal would have ended it.
static void
end_if_interrupted(int status)
{
	const int signal_number = ending_signal(status);

	if (signal_number == SIGINT || signal_number == SIGQUIT) {
		std::signal(signal_number, SIG_DFL);
		std::raise(signal_number);
	}
}

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

	if (status == -1) {
		*failure_code = static_cast<unsigned long>(errno);
		return false;
	}
	end_if_interrupted(status);
	if (WIFSIGNALED(status))
		*failure_code = static_cast<unsigned long>(WTERMSIG(status)) +
		                signal_status_base;
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
