// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/numbers.h"

// The portfolio's five figures of a holding.
namespace vantora {

struct Holding
{
    double currentPrice = 0;  // C
    double purchasePrice = 0; // B
    double nextEarnings = 0;  // E, next year's earnings
    double shares = 0;        // S
};

enum class PortfolioFigure {
    CurrentPriceEarnings,  // Int(C / E)
    ProfitLoss,            // C x S - B x S
    MoneySpent,            // B x S
    PurchasePriceEarnings, // Int(B / E)
    Rating,                // Int(((E - C / E) + profit or loss) - B / E)
};

// The figure; DivideByZero or ZeroByZero when next year's earnings are 0 and the figure divides
// by them, Overflow beyond the double's range.
Checked portfolioFigure(const Holding &holding, PortfolioFigure figure);

} // namespace vantora
