// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/store/connection.h"

#include <QAbstractTableModel>
#include <QCache>
#include <QHash>
#include <QList>
#include <QString>
#include <array>
#include <optional>

struct sqlite3_stmt;

namespace vantora {

// The stocks as one table: a row per stock with shares owned (or per stock), those whose name
// or ticker holds a text, in stored order or sorted by a column, with the totals of value and
// profit or loss. Only the order of the rows is read whole (their row ids, with the figures
// the totals need); the rows themselves are read a page at a time when the view asks for them,
// so that a table of a million stocks opens and scrolls at once.
class HoldingsModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HoldingsModel)

public:
    enum Column {
        Name,
        Ticker,
        Shares,
        Price,
        Value,         // shares x current price
        Purchase,      // the purchase price
        ProfitLoss,    // current price x shares - purchase price x shares; empty with no purchase
        PriceEarnings, // Int(current price / next year's earnings); empty for earnings of 0
        Advice,
        Rating,
        Realized,    // the trades' realized gains
        Dividends,   // the trades' dividends
        ReturnAYear, // the trades' money-weighted rate
        ColumnCount
    };

    // What a stock's trades earned: realized gains, dividends, the money-weighted rate.
    struct LedgerFigures
    {
        double realized = 0, dividends = 0;
        std::optional<double> rate;
    };

    explicit HoldingsModel(QObject *parent = nullptr);
    ~HoldingsModel() override;

    // Opens the file for reading and shows its stocks with shares owned, in stored order.
    DbError open(const QString &path);
    void close();

    // Every stock, or only those with shares owned (not 0); only those whose name or ticker
    // holds the text, letter case ignored (every one for the empty text).
    DbError select(bool allStocks, const QString &filter);
    // The error of the last selection or sort, if any.
    DbError lastError() const { return m_error; }

    struct Totals
    {
        std::optional<double> value, profit; // nothing when a sum is beyond the double's range
        qint64 rows = 0;
        qint64 withoutPurchase = 0; // stocks left out of the profit: no purchase price stored
    };
    const Totals &totals() const { return m_totals; }

    // The ticker symbol and the purchase price of the stock on a row.
    QString ticker(int row) const;
    std::optional<double> purchasePrice(int row) const;
    // How many stocks have been read whole so far (pages the view asked for).
    qint64 rowsRead() const { return m_rowsRead; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Column -1 is the stored order. A failure keeps the rows as they were (lastError()).
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    struct Row
    {
        std::array<QString, ColumnCount> cells;
        std::optional<double> purchase;
    };
    using Page = QList<Row>;

    // The rows in their order, and with the totals unless only their order changes: the totals
    // are summed in stored order, so that a sort never changes their last digits.
    DbError readOrder(bool withTotals = true);
    const Row *row(int row) const;
    Page *readPage(int page) const;

    DbConnection m_connection;
    sqlite3_stmt *m_rowStatement = nullptr;
    QString m_filter; // read by the filter function of the statements
    bool m_allStocks = false;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QList<qint64> m_ids;
    Totals m_totals;
    DbError m_error;
    // What each ticker's trades earned, by ticker as the trades group them.
    QHash<QString, LedgerFigures> m_ledgers;
    mutable QCache<int, Page> m_pages;
    mutable qint64 m_rowsRead = 0;
};

} // namespace vantora
