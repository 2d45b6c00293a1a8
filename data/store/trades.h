// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/ledger.h"
#include "data/store/connection.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The table of trades, and the shares and average cost that it keeps in the stocks.
namespace vantora::trades {

struct StoredTrade
{
    qint64 id = 0; // "Trade ID"; 0 for a trade not yet stored
    QString ticker;
    QDate date;
    TradeAction action = TradeAction::Buy;
    std::optional<double> shares, price, fees;
    QString note;
    Trade trade() const; // empty figures count as 0
};

// A ticker as the trades are grouped by: letters of any case are one stock.
QString tickerKey(const QString &ticker);

// A stock's trades (every stock's for the empty ticker) by date, and in the order they were
// entered on a day. A stored trade this program cannot read (no date, an unknown action) is an
// error naming its Trade ID.
DbError readTrades(QSqlDatabase &db, const QString &ticker, QList<StoredTrade> *trades);
// The tickers that have trades, each once, in ticker order.
DbError readTickers(QSqlDatabase &db, QStringList *tickers);

// Inside the caller's transaction: a trade stored (its id set), the trades of a stock on a day
// removed (*removed counts them), one trade removed.
DbError insertTrade(QSqlDatabase &db, StoredTrade *trade);
DbError removeTradesOn(QSqlDatabase &db, const QString &ticker, QDate day, qint64 *removed);
DbError removeTrade(QSqlDatabase &db, qint64 id);
DbError updateTradeRow(QSqlDatabase &db, const StoredTrade &trade);

// The position the stock's trades give; an error when a sale sells more than is held.
DbError positionOf(QSqlDatabase &db, const QString &ticker, Position *position);
// Sets the stock's "Shares Owned" and "Purchase Price" to what its trades give, inside the
// caller's transaction; a ticker without a stock record gets one, named as the ticker. Refused
// (nothing written) when a sale sells more shares than are held on its day.
DbError keepStock(QSqlDatabase &db, const QString &ticker);

// Each in a transaction of its own, the stock kept after it: a trade added, changed, removed.
DbError addTrade(const QString &path, StoredTrade *trade);
DbError changeTrade(const QString &path, const StoredTrade &trade);
DbError deleteTrade(const QString &path, const StoredTrade &trade);
// The stock's fields set from its trades, in a transaction of its own.
DbError setStockFromTrades(const QString &path, const QString &ticker);

// The stock's stored "Shares Owned" and "Purchase Price" (the first record of the ticker), and
// whether they differ from what its trades give.
struct StockCheck
{
    bool hasStock = false;
    std::optional<double> shares, purchase;
    Position fromTrades;
    bool differs = false;
};
DbError checkStock(QSqlDatabase &db, const QString &ticker, StockCheck *check);

} // namespace vantora::trades
