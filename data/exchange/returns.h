// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/ledger.h"
#include "data/store/connection.h"

#include <QDate>
#include <QList>
#include <QString>

// What the trades earned, valued with the stored prices: a line per stock and the portfolio's.
namespace vantora::prices {

struct ReturnsReport
{
    QDate from, to;            // as used: from is invalid when each line starts at its first trade
    QList<ReturnsLine> stocks; // in ticker order
    ReturnsLine portfolio;
};

// The returns from `from` (invalid: from the first trade) to `to` (invalid: the latest day of
// prices, today without any). Values are the latest close on or before the day, the stock's
// current price where it has none. With a ticker, that stock's line only (and no portfolio).
// An error when there are no trades, or when a sale sells more shares than were held.
DbError computeReturns(QSqlDatabase &db, QDate from, QDate to, ReturnsReport *report,
                       const QString &ticker = {});
DbError computeReturns(const QString &databasePath, QDate from, QDate to, ReturnsReport *report,
                       const QString &ticker = {});

} // namespace vantora::prices
