// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/holdingsmodel.h"

#include "analysis/portfolio.h"
#include "common/numbers.h"
#include "data/exchange/pricehistory.h"
#include "data/exchange/returns.h"
#include "data/store/schema.h"
#include "data/store/trades.h"
#include "data/store/values.h"
#include "planners/advice.h"

#include <cmath>
#include <sqlite3.h>

namespace vantora {
namespace {

constexpr int kPageRows = 64;
constexpr int kPagesKept = 64;

const char *const kHeaders[HoldingsModel::ColumnCount] = {
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Name of Stock"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Ticker Symbol"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Shares Owned"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Current Price"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Value"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Purchase Price"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Profit/Loss"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "P/E Ratio(C)"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Advice"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Overall Rating"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Realized"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Dividends"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Return a Year")};

// How each column sorts: its text without regard to case, or its figure (empty ones last). The
// "+" keeps SQLite from walking the index of names or tickers, which reads the table in random
// order and is several times slower than sorting the rows it has read.
const char *const kSortKeys[HoldingsModel::ColumnCount] = {
    "+\"Name of Stock\" COLLATE NOCASE",
    "+\"Ticker Symbol\" COLLATE NOCASE",
    "vantora_number(\"Shares Owned\")",
    "vantora_number(\"Current Price\")",
    "vantora_value(\"Shares Owned\", \"Current Price\")",
    "vantora_number(\"Purchase Price\")",
    "vantora_profit(\"Current Price\", \"Purchase Price\", \"Shares Owned\")",
    "vantora_earnings(\"Current Price\", \"Next Years Earnings\")",
    "\"Advice\" COLLATE NOCASE",
    "vantora_number(\"Overall Rating\")",
    "vantora_ledger(\"Ticker Symbol\", 0)",
    "vantora_ledger(\"Ticker Symbol\", 1)",
    "vantora_ledger(\"Ticker Symbol\", 2)"};

QVariant variantOf(int type, sqlite3_int64 whole, double real, const unsigned char *text, int size)
{
    switch (type) {
    case SQLITE_INTEGER:
        return qlonglong(whole);
    case SQLITE_FLOAT:
        return real;
    case SQLITE_NULL:
        return {};
    default:
        return QString::fromUtf8(reinterpret_cast<const char *>(text), size);
    }
}

QVariant valueOf(sqlite3_value *v)
{
    const int type = sqlite3_value_type(v);
    const bool textual = type == SQLITE_TEXT || type == SQLITE_BLOB;
    return variantOf(type, sqlite3_value_int64(v), sqlite3_value_double(v),
                     textual ? sqlite3_value_text(v) : nullptr,
                     textual ? sqlite3_value_bytes(v) : 0);
}

QVariant columnOf(sqlite3_stmt *statement, int column)
{
    const int type = sqlite3_column_type(statement, column);
    const bool textual = type == SQLITE_TEXT || type == SQLITE_BLOB;
    return variantOf(type, sqlite3_column_int64(statement, column),
                     sqlite3_column_double(statement, column),
                     textual ? sqlite3_column_text(statement, column) : nullptr,
                     textual ? sqlite3_column_bytes(statement, column) : 0);
}

// A stored figure as prices::storedFigure reads it, without the detour through a QVariant for
// the numbers that nearly every field holds: the order and the totals read a million of them.
std::optional<double> figureOf(int type, double real, const QVariant &text)
{
    if (type == SQLITE_NULL)
        return std::nullopt;
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
        return std::isfinite(real) ? std::optional<double>(real) : std::nullopt;
    return prices::storedFigure(text);
}

std::optional<double> figureOf(sqlite3_value *v)
{
    const int type = sqlite3_value_type(v);
    return figureOf(type, sqlite3_value_double(v),
                    type == SQLITE_TEXT || type == SQLITE_BLOB ? valueOf(v) : QVariant());
}

std::optional<double> figureOf(sqlite3_stmt *statement, int column)
{
    const int type = sqlite3_column_type(statement, column);
    return figureOf(type, sqlite3_column_double(statement, column),
                    type == SQLITE_TEXT || type == SQLITE_BLOB ? columnOf(statement, column)
                                                               : QVariant());
}

void result(sqlite3_context *context, const Checked &x)
{
    if (x.ok())
        sqlite3_result_double(context, x.value);
    else
        sqlite3_result_null(context);
}

// A missing figure counts as 0 in the calculations, as an empty box does on the screens.
Holding holdingOf(std::optional<double> price, std::optional<double> purchase,
                  std::optional<double> earnings, std::optional<double> shares)
{
    return {price.value_or(0), purchase.value_or(0), earnings.value_or(0), shares.value_or(0)};
}

// The figures of the columns, for the statements that sort by them: the same functions as the
// cells are computed with.
void numberFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (const std::optional<double> x = figureOf(argv[0]))
        sqlite3_result_double(context, *x);
    else
        sqlite3_result_null(context);
}

void valueFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    result(context, shareValue(figureOf(argv[0]).value_or(0), figureOf(argv[1]).value_or(0)));
}

void profitFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    // Without a purchase price there is no profit to speak of (the cell is empty).
    if (!figureOf(argv[1])) {
        sqlite3_result_null(context);
        return;
    }
    result(context,
           portfolioFigure(holdingOf(figureOf(argv[0]), figureOf(argv[1]), {}, figureOf(argv[2])),
                           PortfolioFigure::ProfitLoss));
}

void earningsFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    result(context, portfolioFigure(holdingOf(figureOf(argv[0]), {}, figureOf(argv[1]), {}),
                                    PortfolioFigure::CurrentPriceEarnings));
}

// Whether the name or the ticker holds the model's filter text, letter case ignored.
void containsFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    const QString &filter = *static_cast<const QString *>(sqlite3_user_data(context));
    const bool found = schema::shownText(valueOf(argv[0])).contains(filter, Qt::CaseInsensitive) ||
                       schema::shownText(valueOf(argv[1])).contains(filter, Qt::CaseInsensitive);
    sqlite3_result_int(context, found ? 1 : 0);
}

// A stock's realized gains, dividends or rate, for sorting by those columns; null without trades.
void ledgerFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    const auto &ledgers = *static_cast<const QHash<QString, HoldingsModel::LedgerFigures> *>(
        sqlite3_user_data(context));
    const auto found = ledgers.constFind(trades::tickerKey(schema::shownText(valueOf(argv[0]))));
    const int which = sqlite3_value_int(argv[1]);
    if (found == ledgers.cend() || (which == 2 && !found->rate))
        sqlite3_result_null(context);
    else
        sqlite3_result_double(context, which == 0   ? found->realized
                                       : which == 1 ? found->dividends
                                                    : *found->rate);
}

QString figureText(const std::optional<double> &x)
{
    return x ? formatNumber(*x) : QString();
}

QString checkedText(const Checked &x)
{
    return x.ok() ? formatNumber(x.value) : QString();
}

// Adds to a total that becomes nothing once a term or the sum is beyond the double's range.
void addTo(std::optional<double> &total, const Checked &term)
{
    if (!total)
        return;
    if (!term.ok() || !std::isfinite(*total + term.value))
        total.reset();
    else
        *total += term.value;
}

class Statement
{
public:
    Statement() = default;
    ~Statement() { sqlite3_finalize(m_statement); }
    Q_DISABLE_COPY_MOVE(Statement)
    sqlite3_stmt **out() { return &m_statement; }
    sqlite3_stmt *get() const { return m_statement; }

private:
    sqlite3_stmt *m_statement = nullptr;
};

} // namespace

HoldingsModel::HoldingsModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_pages(kPagesKept)
{
}

HoldingsModel::~HoldingsModel()
{
    close();
}

DbError HoldingsModel::open(const QString &path)
{
    beginResetModel();
    close();
    m_error = m_connection.open(path, DbConnection::Mode::ReadOnly);
    sqlite3 *db = m_error ? nullptr : sqliteHandle(m_connection.db());
    if (!m_error && !db)
        m_error = {DbError::Failed, tr("The stocks could not be read.")};
    if (db) {
        // A million stocks are read whole for their order: mapped into memory rather than
        // copied a page at a time, and sorted in memory rather than through temporary files.
        sqlite3_exec(db, "PRAGMA mmap_size=1073741824; PRAGMA cache_size=-65536", nullptr, nullptr,
                     nullptr);
        const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
        sqlite3_create_function_v2(db, "vantora_number", 1, flags, nullptr, numberFunction, nullptr,
                                   nullptr, nullptr);
        sqlite3_create_function_v2(db, "vantora_value", 2, flags, nullptr, valueFunction, nullptr,
                                   nullptr, nullptr);
        sqlite3_create_function_v2(db, "vantora_profit", 3, flags, nullptr, profitFunction, nullptr,
                                   nullptr, nullptr);
        sqlite3_create_function_v2(db, "vantora_earnings", 2, flags, nullptr, earningsFunction,
                                   nullptr, nullptr, nullptr);
        sqlite3_create_function_v2(db, "vantora_contains", 2, SQLITE_UTF8, &m_filter,
                                   containsFunction, nullptr, nullptr, nullptr);
        sqlite3_create_function_v2(db, "vantora_ledger", 2, SQLITE_UTF8, &m_ledgers, ledgerFunction,
                                   nullptr, nullptr, nullptr);
        // A file without trades, or with a ledger another program left wrong, shows the stocks
        // without those figures.
        prices::ReturnsReport report;
        if (!prices::computeReturns(m_connection.db(), {}, {}, &report))
            for (const ReturnsLine &line : std::as_const(report.stocks))
                m_ledgers.insert(line.name, {line.position.realized, line.position.dividends,
                                             line.moneyWeighted});
        if (sqlite3_prepare_v2(db,
                               "SELECT \"Name of Stock\", \"Ticker Symbol\", \"Shares Owned\", "
                               "\"Current Price\", \"Purchase Price\", \"Next Years Earnings\", "
                               "\"Advice\", \"Overall Rating\" FROM stocks WHERE rowid = ?",
                               -1, &m_rowStatement, nullptr) != SQLITE_OK)
            m_error = {DbError::MissingField,
                       tr("The stocks of \"%1\" could not be read (%2).")
                           .arg(path, QString::fromUtf8(sqlite3_errmsg(db)))};
    }
    if (!m_error)
        m_error = readOrder();
    endResetModel();
    return m_error;
}

void HoldingsModel::close()
{
    sqlite3_finalize(m_rowStatement);
    m_rowStatement = nullptr;
    m_connection.close();
    m_ids.clear();
    m_pages.clear();
    m_ledgers.clear();
    m_totals = {};
    m_rowsRead = 0;
}

DbError HoldingsModel::select(bool allStocks, const QString &filter)
{
    beginResetModel();
    m_allStocks = allStocks;
    m_filter = filter;
    m_error = readOrder();
    endResetModel();
    return m_error;
}

void HoldingsModel::sort(int column, Qt::SortOrder order)
{
    const int previousColumn = m_sortColumn;
    const Qt::SortOrder previousOrder = m_sortOrder;
    m_sortColumn = column >= 0 && column < ColumnCount ? column : -1;
    m_sortOrder = order;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    if (DbError error = readOrder(false)) {
        m_sortColumn = previousColumn;
        m_sortOrder = previousOrder;
        readOrder(false);
        m_error = error;
    }
    // The rows are read afresh in their new places; no selection follows a stock.
    const QModelIndexList persistent = persistentIndexList();
    changePersistentIndexList(persistent, QModelIndexList(persistent.size()));
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

DbError HoldingsModel::readOrder(bool withTotals)
{
    m_ids.clear();
    m_pages.clear();
    if (withTotals)
        m_totals = {};
    sqlite3 *db = m_connection.isOpen() ? sqliteHandle(m_connection.db()) : nullptr;
    if (!db || !m_rowStatement)
        return {};

    QStringList conditions;
    if (!m_allStocks)
        conditions << QStringLiteral("vantora_number(\"Shares Owned\") <> 0");
    if (!m_filter.isEmpty())
        conditions << QStringLiteral("vantora_contains(\"Name of Stock\", \"Ticker Symbol\")");
    // A sort carries only the row ids through SQLite's sorter.
    QString sql = withTotals ? QStringLiteral("SELECT rowid, \"Shares Owned\", \"Current Price\", "
                                              "\"Purchase Price\" FROM stocks")
                             : QStringLiteral("SELECT rowid FROM stocks");
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QLatin1String(" AND "));
    sql += QStringLiteral(" ORDER BY ");
    if (m_sortColumn >= 0)
        sql += QString::fromLatin1(kSortKeys[m_sortColumn]) +
               (m_sortOrder == Qt::AscendingOrder ? QStringLiteral(" ASC NULLS LAST, ")
                                                  : QStringLiteral(" DESC NULLS LAST, "));
    sql += QStringLiteral("rowid");

    Statement order;
    const QByteArray utf8 = sql.toUtf8();
    int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), order.out(), nullptr);
    Totals totals{0.0, 0.0, 0, 0};
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        if ((rc = sqlite3_step(order.get())) != SQLITE_ROW)
            break;
        m_ids << sqlite3_column_int64(order.get(), 0);
        if (!withTotals)
            continue;
        const std::optional<double> purchase = figureOf(order.get(), 3);
        const Holding h =
            holdingOf(figureOf(order.get(), 2), purchase, {}, figureOf(order.get(), 1));
        addTo(totals.value, shareValue(h.shares, h.currentPrice));
        if (purchase)
            addTo(totals.profit, portfolioFigure(h, PortfolioFigure::ProfitLoss));
        else
            ++totals.withoutPurchase;
    }
    if (rc != SQLITE_DONE) {
        const QString detail = QString::fromUtf8(sqlite3_errmsg(db));
        m_ids.clear();
        return {DbError::Failed, tr("The stocks could not be read (%1).").arg(detail)};
    }
    if (withTotals) {
        totals.rows = m_ids.size();
        m_totals = totals;
    }
    return {};
}

HoldingsModel::Page *HoldingsModel::readPage(int page) const
{
    auto *rows = new Page;
    const qsizetype first = qsizetype(page) * kPageRows;
    const qsizetype end = std::min<qsizetype>(first + kPageRows, m_ids.size());
    for (qsizetype i = first; i < end; ++i) {
        Row row;
        sqlite3_bind_int64(m_rowStatement, 1, m_ids[i]);
        // A stock deleted since the order was read shows empty.
        if (sqlite3_step(m_rowStatement) == SQLITE_ROW) {
            QVariant v[8];
            for (int c = 0; c < 8; ++c)
                v[c] = columnOf(m_rowStatement, c);
            const Holding h = holdingOf(prices::storedFigure(v[3]), prices::storedFigure(v[4]),
                                        prices::storedFigure(v[5]), prices::storedFigure(v[2]));
            row.purchase = prices::storedFigure(v[4]);
            row.cells = {schema::shownText(v[0]),
                         schema::shownText(v[1]),
                         figureText(prices::storedFigure(v[2])),
                         figureText(prices::storedFigure(v[3])),
                         checkedText(shareValue(h.shares, h.currentPrice)),
                         figureText(row.purchase),
                         row.purchase ? checkedText(portfolioFigure(h, PortfolioFigure::ProfitLoss))
                                      : QString(),
                         checkedText(portfolioFigure(h, PortfolioFigure::CurrentPriceEarnings)),
                         schema::shownText(v[6]),
                         figureText(prices::storedFigure(v[7])),
                         {},
                         {},
                         {}};
            const auto ledger = m_ledgers.constFind(trades::tickerKey(row.cells[Ticker]));
            if (ledger != m_ledgers.cend()) {
                const QChar dp = decimalPoint();
                row.cells[Realized] = moneyText(ledger->realized, dp);
                row.cells[Dividends] = moneyText(ledger->dividends, dp);
                row.cells[ReturnAYear] = ledger->rate ? percentText(ledger->rate, dp) : QString();
            }
            ++m_rowsRead;
        }
        sqlite3_reset(m_rowStatement);
        *rows << row;
    }
    m_pages.insert(page, rows);
    return rows;
}

const HoldingsModel::Row *HoldingsModel::row(int row) const
{
    if (row < 0 || row >= m_ids.size() || !m_rowStatement)
        return nullptr;
    const int page = row / kPageRows;
    Page *rows = m_pages.object(page);
    if (!rows)
        rows = readPage(page);
    return &rows->at(row % kPageRows);
}

QString HoldingsModel::ticker(int r) const
{
    const Row *found = row(r);
    return found ? found->cells[Ticker] : QString();
}

std::optional<double> HoldingsModel::purchasePrice(int r) const
{
    const Row *found = row(r);
    return found ? found->purchase : std::nullopt;
}

int HoldingsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_ids.size());
}

int HoldingsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HoldingsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() >= ColumnCount)
        return {};
    const bool figure =
        index.column() != Name && index.column() != Ticker && index.column() != Advice;
    if (role == Qt::TextAlignmentRole)
        return int((figure ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const Row *found = row(index.row());
    return found ? found->cells[std::size_t(index.column())] : QString();
}

QVariant HoldingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return tr(kHeaders[section]);
    if (role == Qt::InitialSortOrderRole)
        return int(Qt::AscendingOrder);
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace vantora
