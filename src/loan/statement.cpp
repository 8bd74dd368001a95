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

// Each row is its label, then its value after the "%*s" padding field that
// print_label measures, then the blank line below it.
static void
print_terms(std::FILE *out, LoanTerms terms, const char *borrower_name)
{
	std::fprintf(out, "%*s", print_label(out, "Borrower Name:"), " ");
	put_text(out, borrower_name);
	print_blank_lines(out, 2);
	std::fprintf(out, "%*s$%-5.2f", print_label(out, "Purchase Price:"),
	             " ", as_single(terms.purchase_price));
	print_blank_lines(out, 2);
	std::fprintf(out, "%*s$%-5.2f", print_label(out, "Down Payment:"), " ",
	             as_single(terms.down_payment));
	print_blank_lines(out, 2);
	std::fprintf(out, "%*s$%-5.2f", print_label(out, "Principle Borrowed:"),
	             " ", as_single(principal(terms)));
	print_blank_lines(out, 2);
	std::fprintf(out, "%*s%-8d", print_label(out, "Number of Payments"),
	             " ", terms.payment_count);
	print_blank_lines(out, 2);
	std::fprintf(out, "%*s%.2f%c",
	             print_label(out, "Annual Interest Rate:"), " ",
	             static_cast<double>(terms.annual_rate * 100.0F), '%');
	print_blank_lines(out, 2);
}

// A figure that is not a number shows as -nan on every build: the sign of
// a NaN differs between processors, and its spelling between C libraries.
static void
print_figure(std::FILE *out, const char *label, double figure)
{
	const int padding = print_label(out, label);

	if (std::isnan(figure))
		std::fprintf(out, "%*s$%-5s", padding, " ", "-nan");
	else
		std::fprintf(out, "%*s$%-5.2f", padding, " ", figure);
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
