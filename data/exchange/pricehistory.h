// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/store/connection.h"
#include "forecast/scorecard.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

// The table of prices read back: a symbol's history for its chart, and what the scorecard of
// the forecaster works on.
namespace vantora::prices {

// A stored figure as the program reads numbers: a number as it is, a text through the lenient
// parser; nothing for null, a blank text or a value beyond the double's range.
std::optional<double> storedFigure(const QVariant &value);

// A symbol's days, oldest first; days without a close or with no date are left out. The
// symbol is looked up as the program keeps it (letter case aside; ^SPX is ^GSPC).
DbError readHistory(QSqlDatabase &db, const QString &symbol, QList<PriceDay> *days);
DbError readHistory(const QString &databasePath, const QString &symbol, QList<PriceDay> *days);
// The days of the year that ends with the latest day (the 364 days before it and the day),
// the window of the 52-week high and low.
QList<PriceDay> lastYear(const QList<PriceDay> &days);

// A symbol's latest close and its 52-week range: the highest high and the lowest low (the
// close of a day without them) of the year that ends with its latest day. What the stock is
// given at an import and what its chart shows, worked out here alone.
struct YearRange
{
    QDate latest; // invalid: no day stored
    std::optional<double> close, high, low;
};
DbError readYearRange(QSqlDatabase &db, const QString &symbol, YearRange *range);
DbError readYearRange(const QString &databasePath, const QString &symbol, YearRange *range);

// The forecaster's records dated with a date and holding all eight inputs (the three closes,
// the three changes, advances and declines), in stored order, and the three indices' days.
DbError readScorecardInput(const QString &databasePath, ScorecardInput *input);

} // namespace vantora::prices
