// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/tradesmodel.h"

#include "common/numbers.h"
#include "data/store/schema.h"
#include "data/store/values.h"

#include <cmath>

namespace vantora {
namespace {

const char *const kHeaders[TradesModel::ColumnCount] = {
    QT_TRANSLATE_NOOP("vantora::TradesModel", "Ticker Symbol"),
    QT_TRANSLATE_NOOP("vantora::TradesModel", "Date"),
    QT_TRANSLATE_NOOP("vantora::TradesModel", "Action"),
    QT_TRANSLATE_NOOP("vantora::TradesModel", "Shares"),
    QT_TRANSLATE_NOOP("vantora::TradesModel", "Price"),
    QT_TRANSLATE_NOOP("vantora::TradesModel", "Fees"),
    QT_TRANSLATE_NOOP("vantora::TradesModel", "Note")};

QString headerText(int column)
{
    return TradesModel::tr(kHeaders[column]);
}

QString figureText(const std::optional<double> &x)
{
    return x ? formatNumber(*x) : QString();
}

// A number as the screens read one: the lenient parser, with the locale's decimal separator
// taken as the point.
std::optional<double> readFigure(const QString &text, bool *ok)
{
    *ok = true;
    if (text.trimmed().isEmpty())
        return std::nullopt;
    QString plain = text;
    if (decimalPoint() != u'.')
        plain.replace(decimalPoint(), u'.');
    const double x = parseNumber(plain);
    *ok = std::isfinite(x);
    return x;
}

} // namespace

CellEdit editTrade(const trades::StoredTrade &trade, TradesModel::Column column,
                   const QString &text)
{
    trades::StoredTrade t = trade;
    const QString header = headerText(column);
    switch (column) {
    case TradesModel::Ticker:
        return {std::nullopt, TradesModel::tr("The ticker of a trade is not changed here.")};
    case TradesModel::Date: {
        const std::optional<QDate> day = schema::readDate(text);
        if (!day)
            return {std::nullopt, TradesModel::tr("\"%1\" is no date; write dates as %2.")
                                      .arg(text, QDate::currentDate().toString(Qt::ISODate))};
        t.date = *day;
        break;
    }
    case TradesModel::Action: {
        const std::optional<TradeAction> action = tradeAction(text);
        if (!action)
            return {std::nullopt, TradesModel::tr("\"%1\" is no action; choose Buy, Sell, "
                                                  "Dividend or Split.")
                                      .arg(text)};
        // What the new action has no use for goes, rather than a refusal to change it.
        if (*action == TradeAction::Dividend)
            t.shares.reset();
        if (*action == TradeAction::Split)
            t.price.reset();
        if (*action == TradeAction::Dividend || *action == TradeAction::Split)
            t.fees.reset();
        t.action = *action;
        break;
    }
    case TradesModel::Shares:
    case TradesModel::Price:
    case TradesModel::Fees: {
        bool ok = false;
        const std::optional<double> x = readFigure(text, &ok);
        if (!ok)
            return {std::nullopt,
                    TradesModel::tr("%1: \"%2\" is too large a number.").arg(header, text)};
        (column == TradesModel::Shares  ? t.shares
         : column == TradesModel::Price ? t.price
                                        : t.fees) = x;
        break;
    }
    case TradesModel::Note:
        t.note = text;
        break;
    case TradesModel::ColumnCount:
        return {};
    }
    // A trade is filled in one cell at a time: only what is there can be wrong.
    if (const std::optional<TradeProblem> problem =
            tradeProblem(t.action, t.shares, t.price, t.fees)) {
        const std::optional<double> &at = problem->field == TradeField::Shares  ? t.shares
                                          : problem->field == TradeField::Price ? t.price
                                                                                : t.fees;
        if (at) {
            const TradesModel::Column c = problem->field == TradeField::Shares ? TradesModel::Shares
                                          : problem->field == TradeField::Price ? TradesModel::Price
                                                                                : TradesModel::Fees;
            QString reason = problem->text;
            reason[0] = reason[0].toUpper();
            return {std::nullopt, TradesModel::tr("%1: %2.").arg(headerText(c), reason)};
        }
    }
    return {t, {}};
}

TradesModel::TradesModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

DbError TradesModel::read(const QString &path, const QString &ticker)
{
    beginResetModel();
    m_path = path;
    m_ticker = ticker;
    m_rows.clear();
    DbConnection connection;
    DbError error = connection.open(path, DbConnection::Mode::ReadOnly);
    if (!error)
        error = trades::readTrades(connection.db(), ticker, &m_rows);
    endResetModel();
    return error;
}

int TradesModel::columnOf(Column column) const
{
    if (showsTickers())
        return int(column);
    return column == Ticker ? -1 : int(column) - 1;
}

TradesModel::Column TradesModel::columnAt(int section) const
{
    return Column(showsTickers() ? section : section + 1);
}

int TradesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TradesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : (showsTickers() ? ColumnCount : ColumnCount - 1);
}

QVariant TradesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Column column = columnAt(index.column());
    if (role == Qt::TextAlignmentRole) {
        const bool figure = column == Shares || column == Price || column == Fees;
        return int((figure ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const trades::StoredTrade &t = m_rows[index.row()];
    switch (column) {
    case Ticker:
        return t.ticker;
    case Date:
        return t.date.toString(Qt::ISODate);
    case Action:
        return actionCaption(t.action);
    case Shares:
        return figureText(t.shares);
    case Price:
        return figureText(t.price);
    case Fees:
        return figureText(t.fees);
    case Note:
        return t.note;
    case ColumnCount:
        break;
    }
    return {};
}

QVariant TradesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < columnCount())
        return headerText(columnAt(section));
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TradesModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && columnAt(index.column()) != Ticker)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TradesModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.row() >= m_rows.size())
        return false;
    const QString text = value.toString();
    if (text == data(index, Qt::EditRole).toString())
        return false;
    const CellEdit edit = editTrade(m_rows[index.row()], columnAt(index.column()), text);
    if (!edit.trade) {
        Q_EMIT refused(edit.problem);
        return false;
    }
    if (const DbError error = trades::changeTrade(m_path, *edit.trade)) {
        Q_EMIT refused(error.message);
        return false;
    }
    m_rows[index.row()] = *edit.trade;
    Q_EMIT dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    Q_EMIT written();
    return true;
}

} // namespace vantora
