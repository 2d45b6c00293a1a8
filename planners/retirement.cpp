// SPDX-License-Identifier: GPL-3.0-or-later
#include "planners/retirement.h"

#include <array>

namespace vantora {

namespace {

constexpr std::array<int, 7> kPaymentsPerYear{365, 52, 26, 12, 4, 2, 1};

// The nearest double to one hundredth, as 1 divided by 100.
constexpr double kPercent = 1.0 / 100.0;

Checked wholeNumber(const Checked &x)
{
    return x.ok() ? checkedValue(Int(x.value)) : x;
}

} // namespace

std::optional<PaymentFrequency> paymentFrequencyAt(int listIndex)
{
    if (listIndex < 0 || listIndex >= int(kPaymentsPerYear.size()))
        return std::nullopt;
    return PaymentFrequency(listIndex);
}

int paymentsPerYear(PaymentFrequency frequency)
{
    return kPaymentsPerYear[size_t(frequency)];
}

Checked paymentAmount(const RetirementPlan &plan)
{
    const double Y = plan.retirementAge - plan.currentAge;
    const double I = plan.interestRate;
    if (plan.frequency == PaymentFrequency::Daily)
        return wholeNumber(checkedDiv(plan.amount, ((Y * 365) * kPercent) * I));
    return wholeNumber(checkedDiv(plan.amount, Y * paymentsPerYear(plan.frequency)));
}

Checked targetSavings(const RetirementPlan &plan)
{
    const double Y = plan.retirementAge - plan.currentAge;
    const double N = paymentsPerYear(plan.frequency);
    return wholeNumber(
        checkedValue((Y * N) + ((((Y * N) * kPercent) * plan.interestRate) * plan.amount)));
}

} // namespace vantora
