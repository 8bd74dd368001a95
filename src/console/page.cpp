// SPDX-License-Identifier: MIT
#include "console/page.h"

#include <cerrno>
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

// Single characters go out through putchar: the same bytes as a printf of
// a one-character format, which a fortified build would parse every time.
void
print_rule()
{
	for (int column = 0; column < page_width; column++)
		std::putchar('$');
	print_blank_lines(1);
}

void
print_blank_lines(int count)
{
	for (int line = 0; line < count; line++)
		std::putchar('\n');
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
print_centered(const char *text)
{
	std::printf("%*s", centered_width(text_columns(text)), " ");
	put_text(text);
}

// Flushes the page so far: false, once it has said so, when a write
// failed now or earlier.
bool
flush_page()
{
	const bool flushed = std::fflush(stdout) == 0;
	const int flush_errno = errno;

	if (flushed && std::ferror(stdout) == 0)
		return true;
	complain("write error: %s",
	         flushed ? "output was lost" : std::strerror(flush_errno));
	return false;
}

// The bytes of a control character that starts the text: C0 and DEL, or
// a C1 control as UTF-8 writes it, C2 80 to C2 9F; 0 for any other.
static std::size_t
control_length(const unsigned char *text)
{
	constexpr unsigned char first_printable = 0x20;
	constexpr unsigned char del = 0x7f;
	constexpr unsigned char c1_lead = 0xc2;
	constexpr unsigned char c1_first = 0x80;
	constexpr unsigned char c1_last = 0x9f;

	if (text[0] < first_printable || text[0] == del)
		return 1;
	if (text[0] == c1_lead && text[1] >= c1_first && text[1] <= c1_last)
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
