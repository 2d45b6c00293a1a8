// SPDX-License-Identifier: GPL-3.0-or-later
#include "planners/advice.h"

#include <QCoreApplication>

namespace vantora {
namespace {

struct AdviceTexts
{
    Q_DECLARE_TR_FUNCTIONS(Advice)
};

} // namespace

Checked shareValue(double shares, double price)
{
    return checkedValue(shares * price);
}

QList<Advice> adviseOn(double predictedPrice, double currentPrice, double yearHigh)
{
    const double d = predictedPrice - currentPrice;
    const double e = yearHigh - currentPrice;
    QList<Advice> given;
    if (d >= 0 && d < 8)
        given << Advice::Buy;
    if (d < 0 && d >= -15)
        given << Advice::SellWait;
    if (e <= 2 || d < -15)
        given << Advice::Short;
    if (d >= 8)
        given << Advice::BuyAggressively;
    return given;
}

QString adviceMessage(Advice advice)
{
    switch (advice) {
    case Advice::Buy:
        return AdviceTexts::tr("This is a great buy for the price");
    case Advice::SellWait:
        return AdviceTexts::tr("Wait for a while till the price goes down");
    case Advice::Short:
        return AdviceTexts::tr("This is a great time to short this stock");
    case Advice::BuyAggressively:
        return AdviceTexts::tr("Buy this stock aggressively for a great gain");
    }
    return QString();
}

QString adviceText(Advice advice)
{
    switch (advice) {
    case Advice::Buy:
        return QStringLiteral("Buy");
    case Advice::SellWait:
        return QStringLiteral("Sell, Wait");
    case Advice::Short:
        return QStringLiteral("Short");
    case Advice::BuyAggressively:
        return QStringLiteral("Buy Aggresively");
    }
    return QString();
}

} // namespace vantora
