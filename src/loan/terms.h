// SPDX-License-Identifier: MIT
// The four loan terms as the borrower entered them.
#ifndef LOAN_DESK_LOAN_TERMS_H
#define LOAN_DESK_LOAN_TERMS_H

#include <cstdint>

struct LoanTerms {
	std::int32_t purchase_price; // whole dollars
	std::int32_t down_payment;   // whole dollars
	std::int32_t payment_count;  // the entered years times 12
	float annual_rate;           // the entered percentage divided by 100
};

// Price less down payment.  Formed in 64 bits: the difference of two
// 32-bit amounts does not always fit in 32.
inline std::int64_t
principal(LoanTerms terms)
{
	return std::int64_t{terms.purchase_price} - terms.down_payment;
}

#endif
