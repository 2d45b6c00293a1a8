// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/store/holdings.h"

#include <QAbstractTableModel>
#include <QCache>
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace vantora {

// The stocks as one table: a row per stock with shares owned (or per stock), those whose name
// or ticker holds a text, in stored order or sorted by a column, with the totals of value and
// profit or loss. The query reads only the order of the rows whole; the rows themselves are read
// a page at a time when the view asks for them, so that a table of a million stocks opens and
// scrolls at once.
class HoldingsModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HoldingsModel)

public:
    // The columns, in the order that the query sorts by.
    enum Column {
        Name = HoldingsQuery::Name,
        Ticker,
        Shares,
        Price,
        Value,
        Purchase,
        ProfitLoss,
        PriceEarnings,
        Advice,
        Rating,
        Realized,
        Dividends,
        ReturnAYear,
        ColumnCount
    };
    static_assert(int(ColumnCount) == int(HoldingsQuery::KeyCount));
    using Totals = HoldingsQuery::Totals;

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
    const Totals &totals() const { return m_query.totals(); }

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

    const Row *row(int row) const;
    Page *readPage(int page) const;

    HoldingsQuery m_query;
    DbError m_error;
    mutable QCache<int, Page> m_pages;
    mutable qint64 m_rowsRead = 0;
};

} // namespace vantora
