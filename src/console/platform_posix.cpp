// SPDX-License-Identifier: MIT
// The POSIX layer: clear(1) through the shell, the login name from the
// environment or the password database, columns from the C library under
// the person's locale.
#include "console/platform.h"

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <langinfo.h>
#include <locale.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Whether the signal would end this process: not when whoever started it
// chose to ignore it, as a shell does for a job in the background.
static bool
is_default_action(int signal_number)
{
	struct sigaction action = {};

	return sigaction(signal_number, nullptr, &action) == 0 &&
	       action.sa_handler == SIG_DFL;
}

// The interrupt and quit keys signal the whole job, which system() keeps
// from ending this process while clear runs; the run then ends as the
// signal would have ended it.
static void
end_if_interrupted(int status)
{
	const int signal_number = ending_signal(status);

	if ((signal_number == SIGINT || signal_number == SIGQUIT) &&
	    is_default_action(signal_number))
		std::raise(signal_number);
}

// The failure code is the command's exit status, errno when it could not
// be started, or 128 plus the signal that ended it.
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
// A run started with none of them (by cron, env -i, a service) is still
// someone's: the user it runs as, as the password database names it.
char *
login_name()
{
	static const char *const variables[] = {"USERNAME", "LOGNAME", "USER"};

	for (const char *variable : variables) {
		const char *name = std::getenv(variable);
		if (name != nullptr)
			return strdup(name);
	}
	const passwd *user = getpwuid(getuid());
	return strdup(user != nullptr ? user->pw_name : "");
}

// A terminal outlives the programs run in it.
void
hold_own_console()
{
}

// The columns of a valid UTF-8 text, as the C library gives them under a
// UTF-8 locale; its length in bytes when a byte sequence is no character
// or a character has no width there (the C library does not know how the
// console shows it).
static std::size_t
utf8_columns(const char *text, std::size_t bytes)
{
	std::mbstate_t state{};
	std::size_t columns = 0;

	for (std::size_t at = 0; at < bytes;) {
		wchar_t character = 0;
		const std::size_t length =
		    std::mbrtowc(&character, text + at, bytes - at, &state);
		if (length > bytes - at) // (size_t)-1 or -2: no character
			return bytes;
		const int width = wcwidth(character);
		if (width < 0)
			return bytes;
		columns += static_cast<std::size_t>(width);
		at += length;
	}
	return columns;
}

// Measured under the person's LC_CTYPE, where that is UTF-8: combining
// marks take no column, East Asian wide characters two.  Any other text,
// and any text under another locale, counts one column a byte.  That
// locale is taken for this thread alone and for the measuring alone: the
// program itself stays in the "C" locale, where answers are read and
// rejected words echoed alike everywhere.
std::size_t
text_columns(const char *text)
{
	const std::size_t bytes = std::strlen(text);
	std::size_t columns = bytes;

	if (is_ascii(text))
		return bytes;
	const locale_t person = newlocale(LC_CTYPE_MASK, "", nullptr);
	if (person == nullptr)
		return bytes;
	const locale_t program = uselocale(person);
	if (std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0)
		columns = utf8_columns(text, bytes);
	uselocale(program);
	freelocale(person);
	return columns;
}

void
put_text(std::FILE *out, const char *text)
{
	std::fputs(text, out);
}

const char manual_pointer[] =
    "The manual: man loan-desk, or man -l loan-desk.1\n"
    "in the program's folder.";

bool
name_is_free(const char *path)
{
	struct stat status = {};

	if (lstat(path, &status) != 0)
		return true;
	errno = S_ISDIR(status.st_mode) ? EISDIR : EEXIST;
	return false;
}

// The file that a signal ending the run removes first, null for none.
static const char *volatile unfinished_file = nullptr;

// The signals that end a run from outside: the interrupt key, a
// termination, the terminal's closing.
static sigset_t
ending_signals()
{
	sigset_t set;

	sigemptyset(&set);
	sigaddset(&set, SIGINT);
	sigaddset(&set, SIGTERM);
	sigaddset(&set, SIGHUP);
	return set;
}

// Only async-signal-safe calls: the file goes, then the signal, raised
// again with its default action once the handler returns, ends the run
// as it would have, with the status a shell reports for it.
static void
remove_unfinished(int signal_number)
{
	const char *path = unfinished_file;

	if (path != nullptr)
		unlink(path);
	std::signal(signal_number, SIG_DFL);
	std::raise(signal_number);
}

// While a file is unfinished the handler takes each of the signals that
// would end the run, and then each goes back to its default action.  One
// ignored since the start stays ignored.
static void
handle_ending_signals(bool unfinished)
{
	static const int handled[] = {SIGINT, SIGTERM, SIGHUP};
	struct sigaction action = {};

	action.sa_handler = remove_unfinished;
	action.sa_mask = ending_signals();
	for (const int signal_number : handled) {
		struct sigaction before = {};
		sigaction(signal_number, nullptr, &before);
		if (!unfinished && before.sa_handler == remove_unfinished)
			std::signal(signal_number, SIG_DFL);
		else if (unfinished && before.sa_handler == SIG_DFL)
			sigaction(signal_number, &action, nullptr);
	}
}

// The signals that end the run are held back while the unfinished file
// is made, recorded, kept or removed, so that the handler sees it whole;
// one held back then ends the run once they are let through.
static sigset_t
hold_ending_signals()
{
	const sigset_t ending = ending_signals();
	sigset_t before;

	sigprocmask(SIG_BLOCK, &ending, &before);
	return before;
}

// errno as the call before left it.
static void
let_through(const sigset_t &before)
{
	const int kept_errno = errno;

	sigprocmask(SIG_SETMASK, &before, nullptr);
	errno = kept_errno;
}

// "x": O_EXCL, so that a file made meanwhile is never written over.  Text
// and bytes are alike here.
std::FILE *
create_file(const char *path, bool /*as_text*/)
{
	const sigset_t before = hold_ending_signals();
	std::FILE *file = std::fopen(path, "wx");
	const int open_errno = errno;

	if (file != nullptr) {
		unfinished_file = path;
		handle_ending_signals(true);
	}
	errno = open_errno;
	let_through(before);
	return file;
}

bool
sync_file(std::FILE *file)
{
	return fsync(fileno(file)) == 0;
}

// A new link fails where the name is taken, which rename(2) would replace.
// From the link on the file is kept: the signals wait until its other
// name is gone and it is no longer unfinished.
bool
rename_new(const char *temporary, const char *path)
{
	const sigset_t before = hold_ending_signals();
	const bool kept = link(temporary, path) == 0;
	const int link_errno = errno;

	if (kept) {
		unlink(temporary);
		unfinished_file = nullptr;
		handle_ending_signals(false);
	}
	errno = link_errno;
	let_through(before);
	return kept;
}

void
remove_new(const char *temporary)
{
	const sigset_t before = hold_ending_signals();

	unlink(temporary);
	unfinished_file = nullptr;
	handle_ending_signals(false);
	let_through(before);
}
