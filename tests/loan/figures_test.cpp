// SPDX-License-Identifier: MIT
// The same answers print the same figures on every build: each line of
// figures.txt (worked out by make_figures.py, never by loan-desk) is typed
// into the terms reader and its statement's figure rows are compared.
#include "console/page.h"
#include "loan/questions.h"
#include "loan/statement.h"
#include "test_input.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

static const std::array<const char *, 4> figure_labels = {
    "Annual Interest Rate:", "Monthly Payment:", "Total Repayment:",
    "Total Interest:"};

// The answers typed as one line, and the page they lead to.
static std::string
page_for(const std::string &answers)
{
	const Input input(answers + "\n");
	LoanTerms terms{};

	CaptureStdout();
	if (read_terms(input.file, &terms))
		print_statement(stdout, terms, "");
	return GetCapturedStdout();
}

// What the page shows from the value column on in the row with the label.
static std::string
row_value(const std::string &page, const std::string &label)
{
	const std::size_t row = page.find("\n" + label);

	if (row == std::string::npos)
		return "(no row " + label + ")";
	const std::size_t start = row + 1 + value_column;
	return page.substr(start, page.find_first_of("\r\n", start) - start);
}

TEST(Figures, MatchTheWorkedOutVectors)
{
	std::ifstream vectors(LOAN_DESK_FIGURES);
	std::string line;
	int count = 0;

	ASSERT_TRUE(vectors.is_open()) << LOAN_DESK_FIGURES;
	while (std::getline(vectors, line)) {
		if (line.empty() || line[0] == '#')
			continue;
		const std::size_t arrow = line.find(" -> ");
		ASSERT_NE(arrow, std::string::npos) << line;
		const std::string page = page_for(line.substr(0, arrow));
		std::istringstream shown(line.substr(arrow + 4));
		for (const char *label : figure_labels) {
			std::string want;
			shown >> want;
			std::replace(want.begin(), want.end(), '_', ' ');
			EXPECT_EQ(row_value(page, label), want)
			    << label << " for " << line;
		}
		count++;
	}
	EXPECT_GT(count, 0) << "no vectors in " << LOAN_DESK_FIGURES;
}
