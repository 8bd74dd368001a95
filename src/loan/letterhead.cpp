// SPDX-License-Identifier: MIT
#include "loan/letterhead.h"

#include "console/page.h"

void
print_letterhead(std::FILE *out, const char *heading)
{
	print_rule(out);
	print_blank_lines(out, 1);
	print_centered(out, "Quillmere Trust House");
	print_blank_lines(out, 3);
	print_centered(out, heading);
	print_blank_lines(out, 2);
}
