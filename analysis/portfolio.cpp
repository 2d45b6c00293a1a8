// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/portfolio.h"

namespace vantora {

namespace {

Checked wholeNumber(const Checked &x)
{
    return x.ok() ? checkedValue(Int(x.value)) : x;
}

} // namespace

Checked portfolioFigure(const Holding &holding, PortfolioFigure figure)
{
    const double c = holding.currentPrice;
    const double b = holding.purchasePrice;
    const double e = holding.nextEarnings;
    const double s = holding.shares;
    const double profitLoss = c * s - b * s;

    switch (figure) {
    case PortfolioFigure::CurrentPriceEarnings:
        return wholeNumber(checkedDiv(c, e));
    case PortfolioFigure::ProfitLoss:
        return checkedValue(profitLoss);
    case PortfolioFigure::MoneySpent:
        return checkedValue(b * s);
    case PortfolioFigure::PurchasePriceEarnings:
        return wholeNumber(checkedDiv(b, e));
    case PortfolioFigure::Rating: {
        const Checked pc = checkedDiv(c, e);
        if (!pc.ok())
            return pc;
        const Checked pb = checkedDiv(b, e);
        if (!pb.ok())
            return pb;
        return wholeNumber(checkedValue(((e - pc.value) + profitLoss) - pb.value));
    }
    }
    return {};
}

} // namespace vantora
