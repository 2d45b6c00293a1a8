// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/store/connection.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <array>
#include <optional>
#include <vector>

struct sqlite3_stmt;

namespace vantora {

// The stocks as the holdings overview reads them: which rows (every stock, or those with
// shares owned, and those whose name or ticker holds a text), in which order, with the totals
// of value and profit or loss, and one stock's stored fields by its row id. The order is read
// whole, a row id each, with the figures that the sorts by a number need (a sort by one of
// them reads nothing); a sort by a text reads each row's key once into memory and sorts there.
class HoldingsQuery
{
public:
    // What the rows can be sorted by: the overview's columns.
    enum Key {
        Name,
        Ticker,
        Shares,
        Price,
        Value,         // shares x current price
        Purchase,      // the purchase price
        ProfitLoss,    // current price x shares - purchase price x shares; none without purchase
        PriceEarnings, // Int(current price / next year's earnings); none for earnings of 0
        Advice,
        Rating,
        Realized,    // the trades' realized gains
        Dividends,   // the trades' dividends
        ReturnAYear, // the trades' money-weighted rate
        KeyCount
    };

    // What a stock's trades earned: realized gains, dividends, the money-weighted rate.
    struct LedgerFigures
    {
        double realized = 0, dividends = 0;
        std::optional<double> rate;
    };
    // By ticker as the trades group them (trades::tickerKey).
    using Ledgers = QHash<QString, LedgerFigures>;

    struct Totals
    {
        std::optional<double> value, profit; // nothing when a sum is beyond the double's range
        qint64 rows = 0;
        qint64 withoutPurchase = 0; // stocks left out of the profit: no purchase price stored
    };

    // One stock's fields as stored.
    struct Stock
    {
        enum Field { Name, Ticker, Shares, Price, Purchase, NextEarnings, Advice, Rating };
        std::array<QVariant, 8> fields;
    };

    HoldingsQuery() = default;
    ~HoldingsQuery();
    Q_DISABLE_COPY_MOVE(HoldingsQuery)

    // Opens the file for reading.
    DbError open(const QString &path);
    void close();
    bool isOpen() const { return m_rowStatement != nullptr; }
    // The connection, for what the caller reads beside the stocks (the trades' figures).
    QSqlDatabase &db() { return m_connection.db(); }
    // The trades' figures that the last three keys sort by.
    void setLedgers(const Ledgers &ledgers) { m_ledgers = ledgers; }
    const Ledgers &ledgers() const { return m_ledgers; }

    // Every stock, or only those with shares owned (not 0); only those whose name or ticker
    // holds the text, letter case ignored (every one for the empty text). Reads the rows in
    // stored order with their totals, then sorts them by the sort key.
    DbError select(bool allStocks, const QString &filter);
    // Sorts the rows selected by a key (-1: stored order); figures that are missing come last
    // either way, and rows of the same key keep their stored order. The totals stay as they
    // are: summed in stored order, a sort never changes their last digits. A failure keeps the
    // rows as they were.
    DbError sort(int key, Qt::SortOrder order);
    int sortKey() const { return m_sortKey; }

    const QList<qint64> &ids() const { return m_ids; }
    const Totals &totals() const { return m_totals; }
    // The stock of a row id; nothing when it is gone (deleted since the order was read).
    std::optional<Stock> stock(qint64 id) const;

private:
    // A selected row's stored figures; NaN where none is stored.
    struct Figures
    {
        double shares, price, purchase, earnings, rating;
    };
    // Whether a key is worked out from the figures that the selection keeps.
    static bool figureKey(int key);
    static std::optional<double> keyOf(int key, const Figures &row);
    DbError readSelection();
    DbError readKeys(int key, Qt::SortOrder order, QList<qint64> *ids);

    DbConnection m_connection;
    sqlite3_stmt *m_rowStatement = nullptr;
    bool m_foldedNames = false, m_foldedTickers = false; // the file keeps the keys folded
    QString m_filter; // read by the filter function of the statements
    bool m_allStocks = false;
    int m_sortKey = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QList<qint64> m_ids;
    // The rows selected in stored order, with their figures (8 + 40 bytes a row).
    std::vector<qint64> m_selected;
    std::vector<Figures> m_figures;
    Totals m_totals;
    Ledgers m_ledgers;
};

} // namespace vantora
