// SPDX-License-Identifier: MIT
#include "console/page.h"

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "console/platform.h"

void
clear_screen()
{
	unsigned long failure_code = 0;

	// What was written so far must reach the console before it is cleared.
	std::fflush(stdout);
	if (!clear_console(&failure_code))
		std::printf("Crap, a thing happened  %lu", failure_code);
}

// Single characters go out through putc: the same bytes as a printf of a
// one-character format, which a fortified build would parse every time.
void
print_rule(std::FILE *out)
{
	for (int column = 0; column < page_width; column++)
		std::putc('$', out);
	print_blank_lines(out, 1);
}

void
print_blank_lines(std::FILE *out, int count)
{
	for (int line = 0; line < count; line++)
		std::putc('\n', out);
}

// The padding field writes at least one space, so a width of 0 still
// places the text at column 1.  Texts as wide as the page or wider get
// that one space rather than a width that wraps around.
static int
centered_width(std::size_t text_length)
{
	const auto width = static_cast<std::size_t>(page_width);

	if (text_length >= width)
		return 0;
	return static_cast<int>((width - text_length) / 2);
}

// Centred by the columns the text takes on the console, which for a name
// beyond ASCII need not be its bytes.
void
print_centered(std::FILE *out, const char *text)
{
	std::fprintf(out, "%*s", centered_width(text_columns(text)), " ");
	put_text(out, text);
}

void
print_label(std::FILE *out, const char *label)
{
	std::fprintf(out, "%*s", value_column - std::fprintf(out, "%s", label),
	             " ");
}

void
// NOLINTNEXTLINE(cert-dcl50-cpp): variadic, so that its format is checked
print_row(std::FILE *out, const char *label, const char *format, ...)
{
	std::va_list values;

	print_label(out, label);
	va_start(values, format);
	std::vfprintf(out, format, values);
	va_end(values);
}

const char *
write_failure(std::FILE *out)
{
	const bool flushed = std::fflush(out) == 0;
	const int flush_errno = errno;

	if (flushed && std::ferror(out) == 0)
		return nullptr;
	return flushed ? "output was lost" : std::strerror(flush_errno);
}

bool
flush_page()
{
	const char *failure = write_failure(stdout);

	if (failure != nullptr)
		complain("write error: %s", failure);
	return failure == nullptr;
}

// The bytes of a control character that starts the text: C0 and DEL, or
// a C1 control as UTF-8 writes it, C2 80 to C2 9F; 0 for any other.
static std::size_t
control_length(const unsigned char *text)
{
	if (text[0] < 0x20 || text[0] == 0x7f)
		return 1;
	if (text[0] == 0xc2 && text[1] >= 0x80 && text[1] <= 0x9f)
		return 2;
	return 0;
}

char *
shown_text(const char *text)
{
	constexpr std::size_t escape_size = sizeof "\\xff";
	const auto *at = reinterpret_cast<const unsigned char *>(text);
	auto *shown = static_cast<char *>(
	    std::malloc((escape_size - 1) * std::strlen(text) + 1));
	char *end = shown;

	if (shown == nullptr)
		return nullptr;
	while (*at != '\0') {
		std::size_t control = control_length(at);
		if (control == 0)
			*end++ = static_cast<char>(*at++);
		for (; control > 0; control--)
			end +=
			    std::snprintf(end, escape_size, "\\x%02x", *at++);
	}
	*end = '\0';
	return shown;
}

// C-style variadic, so that the compiler checks the format (page.h).
void
complain(const char *format, ...) // NOLINT(cert-dcl50-cpp)
{
	std::va_list arguments;

	std::fflush(stdout);
	std::fputs("loan-desk: ", stderr);
	va_start(arguments, format);
	std::vfprintf(stderr, format, arguments);
	va_end(arguments);
	std::fputc('\n', stderr);
}
