// SPDX-License-Identifier: MIT
#include "loan/statement.h"

#include <cmath>
#include <cstdint>

#include "console/page.h"
#include "console/platform.h"
#include "loan/letterhead.h"
#include "loan/payment.h"

// Whole-dollar amounts are shown as single-precision values, so amounts
// beyond 2^24 show as the nearest one.
static double
as_single(std::int64_t dollars)
{
	return static_cast<double>(static_cast<float>(dollars));
}

// Each row is its label, its value at value_column, then the blank line
// below it.  The borrower's name goes out through put_text, not a "%s":
// a Windows console is given its characters in UTF-16, which the C
// library's formatted output would write as bytes of another code page.
static void
print_terms(std::FILE *out, LoanTerms terms, const char *borrower_name)
{
	print_label(out, "Borrower Name:");
	put_text(out, borrower_name);
	print_blank_lines(out, 2);
	print_row(out, "Purchase Price:", "$%-5.2f",
	          as_single(terms.purchase_price));
	print_blank_lines(out, 2);
	print_row(out, "Down Payment:", "$%-5.2f",
	          as_single(terms.down_payment));
	print_blank_lines(out, 2);
	print_row(out, "Principle Borrowed:", "$%-5.2f",
	          as_single(principal(terms)));
	print_blank_lines(out, 2);
	print_row(out, "Number of Payments", "%-8d", terms.payment_count);
	print_blank_lines(out, 2);
	print_row(out, "Annual Interest Rate:", "%.2f%c",
	          static_cast<double>(terms.annual_rate * 100.0F), '%');
	print_blank_lines(out, 2);
}

// A figure that is not a number shows as -nan on every build: the sign of
// a NaN differs between processors, and its spelling between C libraries.
static void
print_figure(std::FILE *out, const char *label, double figure)
{
	if (std::isnan(figure))
		print_row(out, label, "$%-5s", "-nan");
	else
		print_row(out, label, "$%-5.2f", figure);
	print_blank_lines(out, 2);
}

static void
print_figures(std::FILE *out, LoanFigures figures)
{
	print_figure(out, "Monthly Payment:", figures.payment);
	print_figure(out, "Total Repayment:", figures.repayment);
	print_figure(out, "Total Interest:", figures.interest);
}

void
print_statement(std::FILE *out, LoanTerms terms, const char *borrower_name)
{
	print_letterhead(out, "Loan Information Discosure Statement");
	print_rule(out);
	print_blank_lines(out, 3);
	print_terms(out, terms, borrower_name);
	print_figures(out, loan_figures(terms));
	print_rule(out);
}
