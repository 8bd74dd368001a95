// SPDX-License-Identifier: MIT
// The Windows layer: cls through the command interpreter, the login name
// from the Unicode environment or the user account, columns from the
// character types Windows keeps, the console written in UTF-16, and a
// console of the run's own kept open until read.
#include "console/platform.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <fcntl.h>
#include <io.h>
#include <iterator>
#include <lmcons.h>
#include <windows.h>

// The failure code is the last-error code.
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

// The user account running the program: empty where Windows cannot tell.
static char *
account_name()
{
	wchar_t wide[UNLEN + 1];
	DWORD units = UNLEN + 1;

	if (GetUserNameW(wide, &units) == 0)
		return _strdup("");
	return utf8_of(wide);
}

// Windows holds the environment in UTF-16.  The C library's getenv gives
// it in the ANSI code page, which has no room for most of the world's
// names, and so does _wgetenv in a program whose entry point is main: its
// wide environment is made from the narrow one.  USERNAME set, even
// empty, is the name; unset, as a service or a scheduled task may find it,
// the account's name is.
char *
login_name()
{
	const DWORD units = GetEnvironmentVariableW(L"USERNAME", nullptr, 0);
	char *name = nullptr;

	if (units == 0)
		return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? account_name()
		                                                : _strdup("");
	auto *wide =
	    static_cast<wchar_t *>(std::malloc(units * sizeof(wchar_t)));
	if (wide != nullptr &&
	    GetEnvironmentVariableW(L"USERNAME", wide, units) < units)
		name = utf8_of(wide);
	std::free(wide);
	return name;
}

static HANDLE
handle_of(std::FILE *stream)
{
	// NOLINTNEXTLINE(performance-no-int-to-ptr): how Windows hands it out
	return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

static bool
is_console(std::FILE *stream)
{
	DWORD mode = 0;

	return GetConsoleMode(handle_of(stream), &mode) != 0;
}

// Enter, in line input or not, or Ctrl-Z and Enter.
static bool
holds_line_end(const wchar_t *typed, DWORD count)
{
	return std::wmemchr(typed, L'\n', count) != nullptr ||
	       std::wmemchr(typed, L'\r', count) != nullptr;
}

// A console that this process alone is attached to was made for it, as
// for a program started by a double click, and closes when it ends.  With
// all three streams on it a person is there to read it, and to press
// Enter; started from cmd or PowerShell, or with a stream redirected, the
// run ends as ever.  What was typed before the question is not its answer.
void
hold_own_console()
{
	const HANDLE input = handle_of(stdin);
	DWORD processes[2];
	wchar_t typed[64];
	DWORD count = 0;

	if (GetConsoleProcessList(processes, 2) != 1 || !is_console(stdin) ||
	    !is_console(stdout) || !is_console(stderr))
		return;
	std::fflush(stdout);
	std::fputs("Press Enter to close this window.", stderr);
	std::fflush(stderr);
	FlushConsoleInputBuffer(input);
	while (ReadConsoleW(input, typed, static_cast<DWORD>(std::size(typed)),
	                    &count, nullptr) != 0 &&
	       count > 0 && !holds_line_end(typed, count)) {
	}
}

// Texts reach the console in pieces of UTF-16 on the stack.
constexpr int wide_piece = 128;

// Converts the text's first characters, at most wide_piece UTF-16 units,
// and returns the bytes they took.  A piece ends between two characters,
// so that no surrogate pair is split: never before a continuation byte.
static std::size_t
next_piece(const char *text, wchar_t (&wide)[wide_piece], int *units)
{
	const std::size_t whole = strnlen(text, wide_piece);
	std::size_t bytes = whole;

	while (text[bytes] != '\0' && bytes > 0 &&
	       (static_cast<unsigned char>(text[bytes]) & 0xc0) == 0x80)
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
// flag that says so, and are told by their block, U+AC00 to U+D7A3.  A
// character beyond U+FFFF comes as a surrogate pair, high D800 to DBFF and
// low DC00 to DFFF, which the flags do not classify: it takes one column,
// except the ideographs of planes 2 and 3 (U+20000 to U+3FFFF, high
// surrogates D840 to D8BF), which take two.
static std::size_t
unit_columns(wchar_t unit, WORD type)
{
	constexpr WORD kana = C3_HIRAGANA | C3_KATAKANA;

	if (unit >= 0xdc00 && unit <= 0xdfff)
		return 0; // counted with the pair's first unit
	if (unit >= 0xd800 && unit < 0xdc00)
		return unit >= 0xd840 && unit < 0xd8c0 ? 2 : 1;
	if ((type & (C3_NONSPACING | C3_ALPHA)) == C3_NONSPACING)
		return 0;
	if ((type & (C3_FULLWIDTH | C3_IDEOGRAPH)) != 0 ||
	    ((type & kana) != 0 && (type & C3_HALFWIDTH) == 0) ||
	    (unit >= 0xac00 && unit <= 0xd7a3))
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
put_text(std::FILE *out, const char *text)
{
	const HANDLE console = handle_of(out);
	DWORD mode = 0;

	if (is_ascii(text) || GetConsoleMode(console, &mode) == 0) {
		std::fputs(text, out);
		return;
	}
	std::fflush(out);
	while (*text != '\0') {
		wchar_t wide[wide_piece];
		int units = 0;
		const std::size_t bytes = next_piece(text, wide, &units);
		DWORD written = 0;
		if (WriteConsoleW(console, wide, static_cast<DWORD>(units),
		                  &written, nullptr) == 0) {
			std::fputs(text, out);
			return;
		}
		text += bytes;
	}
}

// The errno nearest a Windows error code, for the message that names it.
static int
errno_of(DWORD error)
{
	switch (error) {
	case ERROR_FILE_EXISTS:
	case ERROR_ALREADY_EXISTS:
		return EEXIST;
	case ERROR_FILE_NOT_FOUND:
	case ERROR_PATH_NOT_FOUND:
		return ENOENT;
	case ERROR_ACCESS_DENIED:
		return EACCES;
	case ERROR_DISK_FULL:
	case ERROR_HANDLE_DISK_FULL:
		return ENOSPC;
	default:
		return EIO;
	}
}

const char manual_pointer[] = "The manual: manual.txt in the program's folder.";

bool
name_is_free(const char *path)
{
	const DWORD attributes = GetFileAttributesA(path);

	if (attributes == INVALID_FILE_ATTRIBUTES)
		return true;
	errno = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EISDIR : EEXIST;
	return false;
}

// The file that the console's ending the run removes first, null for
// none, and the lock that keeps the handler, which Windows runs on a
// thread of its own, from finding it half made or half kept.
static const char *volatile unfinished_file = nullptr;
static SRWLOCK unfinished_lock = SRWLOCK_INIT;

// Ctrl-C, Ctrl-Break or the console's closing: the file goes, opened as it
// is, and the default handler that follows ends the process.  The lock is
// never let go, so that the run, which goes on meanwhile, never gives the
// file its name.  A run started with Ctrl-C ignored is not called for it.
static BOOL WINAPI
remove_unfinished(DWORD /*event*/)
{
	AcquireSRWLockExclusive(&unfinished_lock);
	if (unfinished_file != nullptr)
		DeleteFileA(unfinished_file);
	return FALSE;
}

// A stream on the new file's handle, for text in text mode, so that the
// file has the console's CR LF line ends; null, the handle closed and the
// file removed, when there is none.
static std::FILE *
stream_of(HANDLE handle, const char *path, bool as_text)
{
	const int mode = as_text ? _O_TEXT : _O_BINARY;
	// NOLINTNEXTLINE(performance-no-int-to-ptr): how Windows takes it
	const int descriptor = _open_osfhandle(
	    reinterpret_cast<intptr_t>(handle), _O_WRONLY | mode);
	std::FILE *file = nullptr;

	if (descriptor < 0)
		CloseHandle(handle);
	else
		file = _fdopen(descriptor, as_text ? "w" : "wb");
	if (file == nullptr) {
		const int open_errno = errno;
		if (descriptor >= 0)
			_close(descriptor);
		DeleteFileA(path);
		errno = open_errno;
	}
	return file;
}

// Opened to be deleted while open (FILE_SHARE_DELETE), so that the handler
// can remove it while the run is still writing it.
std::FILE *
create_file(const char *path, bool as_text)
{
	std::FILE *file = nullptr;

	AcquireSRWLockExclusive(&unfinished_lock);
	const HANDLE handle = CreateFileA(
	    path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
	    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
	if (handle == INVALID_HANDLE_VALUE)
		errno = errno_of(GetLastError());
	else
		file = stream_of(handle, path, as_text);
	if (file != nullptr) {
		unfinished_file = path;
		SetConsoleCtrlHandler(remove_unfinished, TRUE);
	}
	ReleaseSRWLockExclusive(&unfinished_lock);
	return file;
}

bool
sync_file(std::FILE *file)
{
	return _commit(_fileno(file)) == 0;
}

// No longer unfinished; the caller holds the lock.
static void
finish_unfinished()
{
	unfinished_file = nullptr;
	SetConsoleCtrlHandler(remove_unfinished, FALSE);
}

// Without MOVEFILE_REPLACE_EXISTING the move fails where the name is taken.
bool
rename_new(const char *temporary, const char *path)
{
	AcquireSRWLockExclusive(&unfinished_lock);
	const bool kept =
	    MoveFileExA(temporary, path, MOVEFILE_WRITE_THROUGH) != 0;
	if (kept)
		finish_unfinished();
	else
		errno = errno_of(GetLastError());
	ReleaseSRWLockExclusive(&unfinished_lock);
	return kept;
}

void
remove_new(const char *temporary)
{
	AcquireSRWLockExclusive(&unfinished_lock);
	DeleteFileA(temporary);
	finish_unfinished();
	ReleaseSRWLockExclusive(&unfinished_lock);
}
