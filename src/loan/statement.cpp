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

static void
print_terms(LoanTerms terms, const char *borrower_name)
{
	print_row("Borrower Name:", "%*s");
	put_text(borrower_name);
	print_blank_lines(2);
	print_row("Purchase Price:", "%*s$%-5.2f",
	          as_single(terms.purchase_price));
	print_blank_lines(2);
	print_row("Down Payment:", "%*s$%-5.2f", as_single(terms.down_payment));
	print_blank_lines(2);
	print_row("Principle Borrowed:", "%*s$%-5.2f",
	          as_single(principal(terms)));
	print_blank_lines(2);
	print_row("Number of Payments", "%*s%-8d", terms.payment_count);
	print_blank_lines(2);
	print_row("Annual Interest Rate:", "%*s%.2f%c",
	          static_cast<double>(terms.annual_rate * 100.0F), '%');
	print_blank_lines(2);
}

// A figure that is not a number shows as -nan on every build: the sign of
// a NaN differs between processors, and its spelling between C libraries.
static void
print_figure(const char *label, const char *format, double figure)
{
	if (std::isnan(figure))
		print_row(label, "%*s$%-5s", "-nan");
	else
		print_row(label, format, figure);
	print_blank_lines(2);
}

static void
print_figures(LoanFigures figures)
{
	print_figure("Monthly Payment:", "%*s$%-5.2lf", figures.payment);
	print_figure("Total Repayment:", "%*s$%-5.2f", figures.repayment);
	print_figure("Total Interest:", "%*s$%-5.2f", figures.interest);
}

void
print_statement(LoanTerms terms, const char *borrower_name)
{
	print_letterhead("Loan Information Discosure Statement");
	print_rule();
	print_blank_lines(3);
	print_terms(terms, borrower_name);
	print_figures(loan_figures(terms));
	print_rule();
}
