// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/numbers.h"

#include <optional>

// The retirement planner's two figures.
namespace vantora {

// The payment frequencies, in the order of the planner's list.
enum class PaymentFrequency { Daily, Weekly, BiMonthly, Monthly, Quarterly, SemiYearly, Yearly };

// The frequency at this index of the planner's list; nothing for an index out of range.
std::optional<PaymentFrequency> paymentFrequencyAt(int listIndex);

// "BiMonthly" counts 26 payments a year.
int paymentsPerYear(PaymentFrequency frequency);

struct RetirementPlan
{
    double currentAge = 0;
    double retirementAge = 0;
    double interestRate = 0; // in per cent
    double amount = 0;       // the target saving, or the payment per period
    PaymentFrequency frequency = PaymentFrequency::Monthly;
};

// What must be paid in per period to reach the target saving, rounded down to a whole number.
// Only a daily payment brings the interest rate in, as a factor of the divisor. DivideByZero or
// ZeroByZero when the ages are equal (or, daily, the rate is 0); Overflow beyond the double's
// range.
Checked paymentAmount(const RetirementPlan &plan);

// What the payments add up to by retirement, rounded down to a whole number. The first term is
// the number of payments itself, not multiplied by the payment. Overflow beyond the double's
// range.
Checked targetSavings(const RetirementPlan &plan);

} // namespace vantora
