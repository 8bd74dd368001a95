// SPDX-License-Identifier: MIT
#include "loan/letterhead.h"

#include "console/page.h"

void
print_letterhead(const char *heading)
{
	print_rule();
	print_blank_lines(1);
	print_centered("Quillmere Trust House");
	print_blank_lines(3);
	print_centered(heading);
	print_blank_lines(2);
}
