// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/holdings.h"

#include "analysis/portfolio.h"
#include "data/store/casefold.h"
#include "data/store/schema.h"
#include "data/store/trades.h"
#include "data/store/values.h"
#include "planners/advice.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <sqlite3.h>
#include <string>
#include <string_view>
#include <vector>

namespace vantora {
namespace {

// The holdings overview's messages, translated with its own.
struct HoldingsTexts
{
    Q_DECLARE_TR_FUNCTIONS(vantora::HoldingsModel)
};

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

// A stored figure as schema::storedFigure reads it, without the detour through a QVariant for
// the numbers that nearly every field holds: the order and the totals read a million of them.
std::optional<double> figureOf(int type, double real, const QVariant &text)
{
    if (type == SQLITE_NULL)
        return std::nullopt;
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
        return std::isfinite(real) ? std::optional<double>(real) : std::nullopt;
    return schema::storedFigure(text);
}

std::optional<double> figureOf(sqlite3_stmt *statement, int column)
{
    const int type = sqlite3_column_type(statement, column);
    return figureOf(type, sqlite3_column_double(statement, column),
                    type == SQLITE_TEXT || type == SQLITE_BLOB ? columnOf(statement, column)
                                                               : QVariant());
}

std::optional<double> figureOf(const Checked &x)
{
    return x.ok() ? std::optional<double>(x.value) : std::nullopt;
}

// A missing figure counts as 0 in the calculations, as an empty box does on the screens.
Holding holdingOf(std::optional<double> price, std::optional<double> purchase,
                  std::optional<double> earnings, std::optional<double> shares)
{
    return {price.value_or(0), purchase.value_or(0), earnings.value_or(0), shares.value_or(0)};
}

// Whether the name or the ticker holds the query's filter text, letter case ignored.
void containsFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    const QString &filter = *static_cast<const QString *>(sqlite3_user_data(context));
    const bool found = schema::shownText(valueOf(argv[0])).contains(filter, Qt::CaseInsensitive) ||
                       schema::shownText(valueOf(argv[1])).contains(filter, Qt::CaseInsensitive);
    sqlite3_result_int(context, found ? 1 : 0);
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

// The rows' keys in memory, sorted there: a row id and a figure, or a row id and its text
// case-folded (UTF-8 in one block, its first eight bytes beside the id for most comparisons).
// Missing keys come last in stored order.
class SortKeys
{
public:
    void reserve(qsizetype rows, bool texts)
    {
        if (texts)
            m_texts.reserve(std::size_t(rows));
        else
            m_numbers.reserve(std::size_t(rows));
    }
    void addNumber(qint64 id, std::optional<double> key)
    {
        if (key)
            m_numbers.push_back({*key, id});
        else
            m_missing.push_back(id);
    }
    void addMissing(qint64 id) { m_missing.push_back(id); }
    // The key already folded, as UTF-8.
    void addText(qint64 id, std::string_view folded)
    {
        m_texts.push_back({0, id, quint32(m_text.size()), quint32(folded.size())});
        m_text.append(folded);
    }
    // The key as stored, UTF-8, folded here: ASCII at once (full case folding leaves it but
    // for its capitals, which it lowers), other text through the folding of Unicode.
    void addStoredText(qint64 id, std::string_view text)
    {
        if (std::all_of(text.begin(), text.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            const std::size_t start = m_text.size();
            m_text.append(text);
            for (std::size_t i = start; i < m_text.size(); ++i)
                if (m_text[i] >= 'A' && m_text[i] <= 'Z')
                    m_text[i] = char(m_text[i] + 32);
            m_texts.push_back({0, id, quint32(start), quint32(text.size())});
            return;
        }
        addText(id, QString::fromUtf8(text.data(), qsizetype(text.size())));
    }
    void addText(qint64 id, const QString &text)
    {
        const QByteArray folded = schema::foldedText(text).toUtf8();
        addText(id, std::string_view(folded.constData(), std::size_t(folded.size())));
    }

    QList<qint64> sorted(Qt::SortOrder order)
    {
        const bool up = order == Qt::AscendingOrder;
        QList<qint64> ids;
        ids.reserve(qsizetype(m_numbers.size() + m_texts.size() + m_missing.size()));
        if (!m_numbers.empty()) {
            std::sort(m_numbers.begin(), m_numbers.end(),
                      [up](const NumberKey &a, const NumberKey &b) {
                          if (a.key != b.key)
                              return up ? a.key < b.key : a.key > b.key;
                          return a.id < b.id;
                      });
            for (const NumberKey &key : m_numbers)
                ids.push_back(key.id);
        }
        if (!m_texts.empty()) {
            const char *text = m_text.data();
            // The bytes all keys begin with decide nothing: the eight after them are kept
            // beside each key, and most comparisons end there.
            std::string_view common(text + m_texts.front().offset, m_texts.front().length);
            for (const TextKey &key : m_texts) {
                std::size_t same = 0;
                const std::size_t most = std::min<std::size_t>(common.size(), key.length);
                while (same < most && common[same] == text[key.offset + same])
                    ++same;
                common = common.substr(0, same);
            }
            for (TextKey &key : m_texts)
                for (std::size_t i = common.size(); i < common.size() + 8; ++i)
                    key.prefix =
                        (key.prefix << 8) |
                        (i < key.length ? static_cast<unsigned char>(text[key.offset + i]) : 0u);
            std::sort(m_texts.begin(), m_texts.end(),
                      [up, text](const TextKey &a, const TextKey &b) {
                          int order = a.prefix < b.prefix ? -1 : a.prefix > b.prefix ? 1 : 0;
                          if (order == 0)
                              order = std::string_view(text + a.offset, a.length)
                                          .compare(std::string_view(text + b.offset, b.length));
                          if (order != 0)
                              return up ? order < 0 : order > 0;
                          return a.id < b.id;
                      });
            for (const TextKey &key : m_texts)
                ids.push_back(key.id);
        }
        for (const qint64 id : m_missing)
            ids.push_back(id);
        return ids;
    }

private:
    struct NumberKey
    {
        double key;
        qint64 id;
    };
    struct TextKey
    {
        quint64 prefix;
        qint64 id;
        quint32 offset, length;
    };
    std::vector<NumberKey> m_numbers;
    std::vector<TextKey> m_texts;
    std::vector<qint64> m_missing;
    std::string m_text, m_utf8;
};

bool hasColumn(const QStringList &columns, const QString &name)
{
    return columns.contains(name, Qt::CaseInsensitive);
}

} // namespace

HoldingsQuery::~HoldingsQuery()
{
    close();
}

DbError HoldingsQuery::open(const QString &path)
{
    close();
    if (DbError error = m_connection.open(path, DbConnection::Mode::ReadOnly))
        return error;
    sqlite3 *db = sqliteHandle(m_connection.db());
    if (!db)
        return {DbError::Failed, HoldingsTexts::tr("The stocks could not be read.")};
    // A million stocks are read whole for their order: mapped into memory rather than copied a
    // page at a time.
    sqlite3_exec(db, "PRAGMA mmap_size=1073741824; PRAGMA cache_size=-65536", nullptr, nullptr,
                 nullptr);
    sqlite3_create_function_v2(db, "vantora_contains", 2, SQLITE_UTF8, &m_filter, containsFunction,
                               nullptr, nullptr, nullptr);
    if (sqlite3_prepare_v2(db,
                           "SELECT \"Name of Stock\", \"Ticker Symbol\", \"Shares Owned\", "
                           "\"Current Price\", \"Purchase Price\", \"Next Years Earnings\", "
                           "\"Advice\", \"Overall Rating\" FROM stocks WHERE rowid = ?",
                           -1, &m_rowStatement, nullptr) != SQLITE_OK) {
        const DbError error{DbError::MissingField,
                            HoldingsTexts::tr("The stocks of \"%1\" could not be read (%2).")
                                .arg(path, QString::fromUtf8(sqlite3_errmsg(db)))};
        close();
        return error;
    }
    // The keys that the file keeps folded are read as they are; the others are folded here.
    const QStringList columns =
        readTableColumns(m_connection.db(), QStringLiteral("stocks")).columns;
    m_foldedNames = hasColumn(columns, schema::findFoldedKey(u"stocks", u"Name of Stock")->column);
    m_foldedTickers =
        hasColumn(columns, schema::findFoldedKey(u"stocks", u"Ticker Symbol")->column);
    return {};
}

void HoldingsQuery::close()
{
    sqlite3_finalize(m_rowStatement);
    m_rowStatement = nullptr;
    m_connection.close();
    m_ids.clear();
    m_selected.clear();
    m_figures.clear();
    m_ledgers.clear();
    m_totals = {};
}

DbError HoldingsQuery::select(bool allStocks, const QString &filter)
{
    m_allStocks = allStocks;
    m_filter = filter;
    m_ids.clear();
    m_selected.clear();
    m_figures.clear();
    m_totals = {};
    if (DbError error = readSelection())
        return error;
    if (DbError error = sort(m_sortKey, m_sortOrder)) {
        m_selected.clear();
        m_figures.clear();
        m_totals = {};
        return error;
    }
    return {};
}

DbError HoldingsQuery::sort(int key, Qt::SortOrder order)
{
    key = key >= 0 && key < KeyCount ? key : -1;
    QList<qint64> ids;
    if (key == -1) {
        ids = QList<qint64>(m_selected.begin(), m_selected.end());
    } else if (figureKey(key)) {
        // The figures of the rows selected, kept by the selection: sorted without reading.
        SortKeys keys;
        keys.reserve(qsizetype(m_selected.size()), false);
        for (std::size_t i = 0; i < m_selected.size(); ++i)
            keys.addNumber(m_selected[i], keyOf(key, m_figures[i]));
        ids = keys.sorted(order);
    } else if (DbError error = readKeys(key, order, &ids)) {
        return error;
    }
    m_sortKey = key;
    m_sortOrder = order;
    m_ids = ids;
    return {};
}

bool HoldingsQuery::figureKey(int key)
{
    return key == Shares || key == Price || key == Value || key == Purchase || key == ProfitLoss ||
           key == PriceEarnings || key == Rating;
}

std::optional<double> HoldingsQuery::keyOf(int key, const Figures &row)
{
    const auto figure = [](double x) {
        return std::isnan(x) ? std::nullopt : std::optional<double>(x);
    };
    switch (key) {
    case Shares:
        return figure(row.shares);
    case Price:
        return figure(row.price);
    case Purchase:
        return figure(row.purchase);
    case Rating:
        return figure(row.rating);
    case Value:
        return figureOf(shareValue(figure(row.shares).value_or(0), figure(row.price).value_or(0)));
    case ProfitLoss:
        // Without a purchase price there is no profit to speak of (the cell is empty).
        return std::isnan(row.purchase)
                   ? std::nullopt
                   : figureOf(portfolioFigure(
                         holdingOf(figure(row.price), row.purchase, {}, figure(row.shares)),
                         PortfolioFigure::ProfitLoss));
    case PriceEarnings:
        return figureOf(portfolioFigure(holdingOf(figure(row.price), {}, figure(row.earnings), {}),
                                        PortfolioFigure::CurrentPriceEarnings));
    default:
        return std::nullopt;
    }
}

namespace {

// A statement over the stocks in stored order, the filter applied: the columns given.
int prepareRows(sqlite3 *db, const QStringList &columns, bool filtered, Statement *rows)
{
    QString sql = QStringLiteral("SELECT %1 FROM stocks").arg(columns.join(QLatin1String(", ")));
    if (filtered)
        sql += QStringLiteral(" WHERE vantora_contains(\"Name of Stock\", \"Ticker Symbol\")");
    sql += QStringLiteral(" ORDER BY rowid");
    const QByteArray utf8 = sql.toUtf8();
    return sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), rows->out(), nullptr);
}

DbError readFailure(sqlite3 *db)
{
    return {DbError::Failed, HoldingsTexts::tr("The stocks could not be read (%1).")
                                 .arg(QString::fromUtf8(sqlite3_errmsg(db)))};
}

} // namespace

DbError HoldingsQuery::readSelection()
{
    sqlite3 *db = m_connection.isOpen() ? sqliteHandle(m_connection.db()) : nullptr;
    if (!db || !m_rowStatement)
        return {};
    // One pass over the table: which rows, their totals, and the figures that most sorts need.
    enum { Id, SharesOwned, CurrentPrice, PurchasePrice, NextEarnings, OverallRating };
    Statement rows;
    int rc = prepareRows(db,
                         {QStringLiteral("rowid"), QStringLiteral("\"Shares Owned\""),
                          QStringLiteral("\"Current Price\""), QStringLiteral("\"Purchase Price\""),
                          QStringLiteral("\"Next Years Earnings\""),
                          QStringLiteral("\"Overall Rating\"")},
                         !m_filter.isEmpty(), &rows);
    // The largest row id bounds the rows (and costs a look at the table's last page).
    Statement last;
    if (sqlite3_prepare_v2(db, "SELECT max(rowid) FROM stocks", -1, last.out(), nullptr) ==
            SQLITE_OK &&
        sqlite3_step(last.get()) == SQLITE_ROW) {
        const auto most = std::size_t(std::clamp<sqlite3_int64>(
            sqlite3_column_int64(last.get(), 0), 0, std::numeric_limits<int>::max()));
        m_selected.reserve(most);
        m_figures.reserve(most);
    }
    Totals totals{0.0, 0.0, 0, 0};
    const double none = std::numeric_limits<double>::quiet_NaN();
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        if ((rc = sqlite3_step(rows.get())) != SQLITE_ROW)
            break;
        sqlite3_stmt *row = rows.get();
        const std::optional<double> shares = figureOf(row, SharesOwned);
        if (!m_allStocks && (!shares || *shares == 0))
            continue;
        const std::optional<double> price = figureOf(row, CurrentPrice),
                                    purchase = figureOf(row, PurchasePrice);
        m_selected.push_back(sqlite3_column_int64(row, Id));
        m_figures.push_back({shares.value_or(none), price.value_or(none), purchase.value_or(none),
                             figureOf(row, NextEarnings).value_or(none),
                             figureOf(row, OverallRating).value_or(none)});
        ++totals.rows;
        const Holding h = holdingOf(price, purchase, {}, shares);
        addTo(totals.value, shareValue(h.shares, h.currentPrice));
        if (purchase)
            addTo(totals.profit, portfolioFigure(h, PortfolioFigure::ProfitLoss));
        else
            ++totals.withoutPurchase;
    }
    if (rc != SQLITE_DONE) {
        m_selected.clear();
        m_figures.clear();
        return readFailure(db);
    }
    m_totals = totals;
    return {};
}

DbError HoldingsQuery::readKeys(int key, Qt::SortOrder order, QList<qint64> *ids)
{
    ids->clear();
    sqlite3 *db = m_connection.isOpen() ? sqliteHandle(m_connection.db()) : nullptr;
    if (!db || !m_rowStatement)
        return {};
    // The texts (and the tickers that the trades' figures are found by) of the rows selected,
    // read afresh; a text key that the file keeps folded is read folded alone. Both run in row
    // id order: a row the selection does not hold is passed over, and one of the selection that
    // is gone since counts as a missing key, so that the rows stay those selected.
    enum { Id, Text, Folded };
    const auto textKey = [](bool folded, const char *name) {
        return folded ? QStringLiteral("CASE WHEN \"%1 (folded)\" IS NULL THEN \"%1\" END, "
                                       "\"%1 (folded)\"")
                            .arg(QLatin1String(name))
                      : QStringLiteral("\"%1\", NULL").arg(QLatin1String(name));
    };
    const QString text = key == Name ? textKey(m_foldedNames, "Name of Stock")
                         : key == Advice
                             ? textKey(false, "Advice")
                             : textKey(key == Ticker && m_foldedTickers, "Ticker Symbol");
    Statement rows;
    int rc = prepareRows(db, {QStringLiteral("rowid"), text}, false, &rows);
    SortKeys keys;
    keys.reserve(qsizetype(m_selected.size()), key < Realized);
    std::size_t next = 0; // the first selected row not yet met
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        if ((rc = sqlite3_step(rows.get())) != SQLITE_ROW)
            break;
        sqlite3_stmt *row = rows.get();
        const qint64 id = sqlite3_column_int64(row, Id);
        while (next < m_selected.size() && m_selected[next] < id)
            keys.addMissing(m_selected[next++]);
        if (next == m_selected.size() || m_selected[next] != id)
            continue;
        ++next;
        if (key >= Realized) {
            const auto found =
                m_ledgers.constFind(trades::tickerKey(schema::shownText(columnOf(row, Text))));
            keys.addNumber(id, found == m_ledgers.cend() ? std::nullopt
                               : key == Realized         ? std::optional<double>(found->realized)
                               : key == Dividends        ? std::optional<double>(found->dividends)
                                                         : found->rate);
        } else if (sqlite3_column_type(row, Folded) == SQLITE_TEXT) {
            keys.addText(id, std::string_view(
                                 reinterpret_cast<const char *>(sqlite3_column_text(row, Folded)),
                                 std::size_t(sqlite3_column_bytes(row, Folded))));
        } else if (sqlite3_column_type(row, Folded) != SQLITE_NULL) {
            keys.addText(id, schema::shownText(columnOf(row, Folded)));
        } else if (sqlite3_column_type(row, Text) == SQLITE_NULL) {
            keys.addMissing(id);
        } else if (sqlite3_column_type(row, Text) == SQLITE_TEXT) {
            keys.addStoredText(
                id, std::string_view(reinterpret_cast<const char *>(sqlite3_column_text(row, Text)),
                                     std::size_t(sqlite3_column_bytes(row, Text))));
        } else {
            keys.addText(id, schema::shownText(columnOf(row, Text)));
        }
    }
    if (rc != SQLITE_DONE)
        return readFailure(db);
    while (next < m_selected.size())
        keys.addMissing(m_selected[next++]);
    *ids = keys.sorted(order);
    return {};
}

std::optional<HoldingsQuery::Stock> HoldingsQuery::stock(qint64 id) const
{
    if (!m_rowStatement)
        return std::nullopt;
    std::optional<Stock> found;
    sqlite3_bind_int64(m_rowStatement, 1, id);
    if (sqlite3_step(m_rowStatement) == SQLITE_ROW) {
        found.emplace();
        for (int c = 0; c < 8; ++c)
            found->fields[std::size_t(c)] = columnOf(m_rowStatement, c);
    }
    sqlite3_reset(m_rowStatement);
    return found;
}

} // namespace vantora
