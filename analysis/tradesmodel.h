// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/store/trades.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>

namespace vantora {

// The trades of a stock (or of every stock, with their tickers) as an editable table. An edit is
// written at once, in a transaction of its own that also keeps the stock's shares and average
// cost; an edit the ledger refuses is not made, and refused() says why.
class TradesModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TradesModel)

public:
    enum Column { Ticker, Date, Action, Shares, Price, Fees, Note, ColumnCount };

    explicit TradesModel(QObject *parent = nullptr);

    // Reads the trades of the ticker (of every stock for the empty one) from the file.
    DbError read(const QString &path, const QString &ticker);
    const QList<trades::StoredTrade> &rows() const { return m_rows; }
    bool showsTickers() const { return m_ticker.isEmpty(); }
    // The column of the table a column of the trades is shown in; -1 when it is not shown.
    int columnOf(Column column) const;
    Column columnAt(int section) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

Q_SIGNALS:
    void refused(const QString &message);
    // A trade was written: the stock's figures changed, and the order of the rows may have.
    void written();

private:
    QString m_path, m_ticker;
    QList<trades::StoredTrade> m_rows;
};

// What a cell's text means for a trade: the trade with it, or why it cannot be.
struct CellEdit
{
    std::optional<trades::StoredTrade> trade;
    QString problem;
};
CellEdit editTrade(const trades::StoredTrade &trade, TradesModel::Column column,
                   const QString &text);

} // namespace vantora
