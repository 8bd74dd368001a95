// SPDX-License-Identifier: MIT
#include "console/platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

// Bytes below 0x80 are the same characters in every encoding and locale
// the program meets: a text of them alone is measured by its bytes and
// written as it is, as it always was.
static bool
is_ascii(const char *text)
{
	constexpr unsigned char first_non_ascii = 0x80;

	for (; *text != '\0'; text++) {
		if (static_cast<unsigned char>(*text) >= first_non_ascii)
			return false;
	}
	return true;
}

#ifdef _WIN32

#include <io.h>
#include <windows.h>

bool
clear_console(unsigned long *failure_code)
{
	if (std::system("cls") == 0)
		return true;
	*failure_code = GetLastError();
	return false;
}

static char *
utf8_of(const wchar_t *wide)
{
	const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0,
	                                     nullptr, nullptr);
	if (size <= 0)
		return nullptr;
	auto *text = static_cast<char *>(std::malloc(size));
	if (text != nullptr)
		WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, size, nullptr,
		                    nullptr);
	return text;
}

// Windows holds the environment in UTF-16.  The C library's getenv gives
// it in the ANSI code page, which has no room for most of the world's
// names, and so does _wgetenv in a program whose entry point is main: its
// wide environment is made from the narrow one.
const char *
login_name(char **held)
{
	*held = nullptr;
	const DWORD units = GetEnvironmentVariableW(L"USERNAME", nullptr, 0);
	if (units == 0)
		return "";
	auto *wide =
	    static_cast<wchar_t *>(std::malloc(units * sizeof(wchar_t)));
	if (wide != nullptr &&
	    GetEnvironmentVariableW(L"USERNAME", wide, units) < units)
		*held = utf8_of(wide);
	std::free(wide);
	return *held;
}

// Texts reach the console in pieces of UTF-16 on the stack.
constexpr int wide_piece = 128;

// Converts the text's first characters, at most wide_piece UTF-16 units,
// and returns the bytes they took.  A piece ends between two characters,
// so that no surrogate pair is split.
static std::size_t
next_piece(const char *text, wchar_t (&wide)[wide_piece], int *units)
{
	constexpr unsigned char continuation_mask = 0xc0;
	constexpr unsigned char continuation = 0x80;
	const std::size_t whole = strnlen(text, wide_piece);
	std::size_t bytes = whole;

	while (text[bytes] != '\0' && bytes > 0 &&
	       (static_cast<unsigned char>(text[bytes]) & continuation_mask) ==
	           continuation)
		bytes--;
	if (bytes == 0) // no character starts here: not UTF-8 at all
		bytes = whole;
	*units = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(bytes),
	                             wide, wide_piece);
	return bytes;
}

// Windows keeps no column widths; GetStringTypeW's CT_CTYPE3 flags come
// nearest.  C3_NONSPACING marks a combining mark, which takes no column,
// but also a letter whose decomposition holds one (as wine has it, é):
// only a mark that is no letter (C3_ALPHA) is taken to be one.  Two
// columns go to a character flagged full-width (those with a half-width
// form, such as Ａ and カ), an ideograph, or Hiragana or Katakana that is
// not half-width.  Hangul syllables, two columns wide on consoles, have no
// flag that says so, and are told by their block.  A character beyond
// U+FFFF comes as a surrogate pair, which the flags do not classify: it
// takes one column, except the ideographs of planes 2 and 3 (U+20000 to
// U+3FFFF), which take two.
static std::size_t
unit_columns(wchar_t unit, WORD type)
{
	constexpr wchar_t hangul_first = 0xac00;
	constexpr wchar_t hangul_last = 0xd7a3;
	constexpr wchar_t high_first = 0xd800;
	constexpr wchar_t low_first = 0xdc00;
	constexpr wchar_t low_last = 0xdfff;
	constexpr wchar_t high_of_plane_2 = 0xd840;
	constexpr wchar_t high_after_plane_3 = 0xd8c0;
	constexpr WORD kana = C3_HIRAGANA | C3_KATAKANA;

	if (unit >= low_first && unit <= low_last)
		return 0; // counted with the pair's first unit
	if (unit >= high_first && unit < low_first)
		return unit >= high_of_plane_2 && unit < high_after_plane_3 ? 2
		                                                            : 1;
	if ((type & (C3_NONSPACING | C3_ALPHA)) == C3_NONSPACING)
		return 0;
	if ((type & (C3_FULLWIDTH | C3_IDEOGRAPH)) != 0 ||
	    ((type & kana) != 0 && (type & C3_HALFWIDTH) == 0) ||
	    (unit >= hangul_first && unit <= hangul_last))
		return 2;
	return 1;
}

std::size_t
text_columns(const char *text)
{
	std::size_t columns = 0;

	if (is_ascii(text))
		return std::strlen(text);
	while (*text != '\0') {
		wchar_t wide[wide_piece];
		WORD types[wide_piece] = {}; // unclassified: one column each
		int units = 0;
		text += next_piece(text, wide, &units);
		GetStringTypeW(CT_CTYPE3, wide, units, types);
		for (int unit = 0; unit < units; unit++)
			columns += unit_columns(wide[unit], types[unit]);
	}
	return columns;
}

// A console is given characters, in UTF-16, whatever its code page; a
// file or a pipe gets UTF-8.  Should the console refuse them, the rest
// goes out as bytes, where the stream's error flag records a failure.
void
put_text(const char *text)
{
	// NOLINTNEXTLINE(performance-no-int-to-ptr): how Windows hands it out
	const auto console =
	    reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stdout)));
	DWORD mode = 0;

	if (is_ascii(text) || GetConsoleMode(console, &mode) == 0) {
		std::fputs(text, stdout);
		return;
	}
	std::fflush(stdout);
	while (*text != '\0') {
		wchar_t wide[wide_piece];
		int units = 0;
		const std::size_t bytes = next_piece(text, wide, &units);
		DWORD written = 0;
		if (WriteConsoleW(console, wide, static_cast<DWORD>(units),
		                  &written, nullptr) == 0) {
			std::fputs(text, stdout);
			return;
		}
		text += bytes;
	}
}

#else

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cwchar>
#include <langinfo.h>
#include <signal.h>
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
login_name(char **held)
{
	static const char *const variables[] = {"USERNAME", "LOGNAME", "USER"};

	*held = nullptr;
	for (const char *variable : variables) {
		const char *name = std::getenv(variable);
		if (name != nullptr)
			return name;
	}
	return "";
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

// Under the person's LC_CTYPE, where that is UTF-8: combining marks take
// no column, East Asian wide characters two.  Any other text, and any
// text under another locale, counts one column a byte, as it always did.
// The program runs in the "C" locale, in which answers are read and
// rejected words echoed, and goes back to it: nothing else sets one.
std::size_t
text_columns(const char *text)
{
	const std::size_t bytes = std::strlen(text);
	std::size_t columns = bytes;

	if (is_ascii(text))
		return bytes;
	if (std::setlocale(LC_CTYPE, "") != nullptr &&
	    std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0)
		columns = utf8_columns(text, bytes);
	std::setlocale(LC_CTYPE, "C");
	return columns;
}

void
put_text(const char *text)
{
	std::fputs(text, stdout);
}

#endif
