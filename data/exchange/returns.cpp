// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/exchange/returns.h"
#include "data/exchange/exchangetexts.h"

#include "data/exchange/pricefiles.h"
#include "data/exchange/pricehistory.h"
#include "data/store/schema.h"
#include "data/store/trades.h"

#include <QCoreApplication>
#include <QHash>
#include <QMap>
#include <QScopeGuard>
#include <QSqlQuery>
#include <algorithm>
#include <cstring>
#include <sqlite3.h>
#include <vector>

namespace vantora::prices {
namespace {

DbError readFailed(sqlite3 *db)
{
    return {DbError::Failed, ExchangeTexts::tr("The prices could not be read (%1).")
                                 .arg(QString::fromUtf8(sqlite3_errmsg(db)))};
}

// "2026-12-07" as the table of prices stores its days, as a Julian day number (QDate's), read
// without QDate's format parser: a million of them are read for a report. 0 for a text that
// is no such day.
qint64 isoJulianDay(const unsigned char *text, int size)
{
    if (!text || size != 10 || text[4] != '-' || text[7] != '-')
        return 0;
    const auto digits = [&](int at, int count) {
        int n = 0;
        for (int i = at; i < at + count; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            n = n * 10 + (text[i] - '0');
        }
        return n;
    };
    const int year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1)
        return 0;
    static constexpr int kDaysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (day > kDaysIn[month - 1] + (month == 2 && leap ? 1 : 0))
        return 0;
    // The proleptic Gregorian calendar's day count, as QDate counts.
    const int a = (14 - month) / 12;
    const qint64 y = year + 4800 - a;
    const int m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

QDate isoDay(const unsigned char *text, int size)
{
    const qint64 julian = isoJulianDay(text, size);
    return julian ? QDate::fromJulianDay(julian) : QDate();
}

// The latest day of the table, as max("Date") gives it. The index holds the days by symbol,
// so max("Date") would read all of it; the latest day of each symbol, one symbol after the
// other through the index, reads a few entries each.
DbError latestPriceDay(sqlite3 *db, QByteArray *latest)
{
    sqlite3_stmt *first = nullptr, *next = nullptr, *last = nullptr, *unnamed = nullptr;
    sqlite3_value *symbol = nullptr;
    const auto finalize = qScopeGuard([&] {
        for (sqlite3_stmt *statement : {first, next, last, unnamed})
            sqlite3_finalize(statement);
        sqlite3_value_free(symbol);
    });
    const auto prepare = [db](const char *sql, sqlite3_stmt **statement) {
        return sqlite3_prepare_v2(db, sql, -1, statement, nullptr) == SQLITE_OK;
    };
    if (!prepare("SELECT min(\"Ticker Symbol\") FROM Prices", &first) ||
        !prepare("SELECT min(\"Ticker Symbol\") FROM Prices WHERE \"Ticker Symbol\" > ?1", &next) ||
        !prepare("SELECT max(\"Date\") FROM Prices WHERE \"Ticker Symbol\" = ?1", &last) ||
        !prepare("SELECT max(\"Date\") FROM Prices WHERE \"Ticker Symbol\" IS NULL", &unnamed))
        return readFailed(db);
    *latest = QByteArray();
    const auto keep = [latest](sqlite3_stmt *statement) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, 0));
        const QByteArray day(text, text ? sqlite3_column_bytes(statement, 0) : 0);
        if (text && (latest->isNull() || day > *latest))
            *latest = day;
    };
    // Each symbol in the index's order, the one after the last through the index.
    for (sqlite3_stmt *step = first;; step = next) {
        if (sqlite3_step(step) != SQLITE_ROW)
            return readFailed(db);
        sqlite3_value_free(symbol);
        symbol = sqlite3_value_dup(sqlite3_column_value(step, 0));
        sqlite3_reset(step);
        if (!symbol)
            return readFailed(db);
        if (sqlite3_value_type(symbol) == SQLITE_NULL)
            break;
        sqlite3_bind_value(last, 1, symbol);
        if (sqlite3_step(last) != SQLITE_ROW)
            return readFailed(db);
        keep(last);
        sqlite3_reset(last);
        sqlite3_bind_value(next, 1, symbol);
    }
    if (sqlite3_step(unnamed) != SQLITE_ROW)
        return readFailed(db);
    keep(unnamed);
    return {};
}

// The first day a stock's line values it on.
QDate startOf(const StockLedger &ledger, QDate from)
{
    const QDate firstTrade = ledger.trades.constFirst().date;
    return from.isValid() ? std::min(from, firstTrade) : firstTrade;
}

// The closes of a symbol from the last one on or before `first` to `to`.
class CloseReader
{
public:
    explicit CloseReader(sqlite3 *db)
        : m_db(db)
    {
    }
    ~CloseReader() { sqlite3_finalize(m_statement); }
    Q_DISABLE_COPY_MOVE(CloseReader)

    DbError read(const QString &symbol, QDate first, QDate to, CloseSeries *series)
    {
        if (!m_statement &&
            sqlite3_prepare_v2(m_db,
                               "SELECT \"Date\", \"Close\" FROM Prices WHERE \"Ticker Symbol\" = "
                               "?1 AND \"Date\" <= ?3 AND \"Date\" >= coalesce((SELECT "
                               "max(\"Date\") FROM Prices WHERE \"Ticker Symbol\" = ?1 AND "
                               "\"Date\" <= ?2 AND \"Close\" IS NOT NULL), '') ORDER BY \"Date\"",
                               -1, &m_statement, nullptr) != SQLITE_OK)
            return readFailed(m_db);
        const QByteArray name = canonicalSymbol(symbol).toUtf8();
        const QByteArray from = first.toString(Qt::ISODate).toUtf8();
        const QByteArray until = to.toString(Qt::ISODate).toUtf8();
        sqlite3_bind_text(m_statement, 1, name.constData(), int(name.size()), SQLITE_STATIC);
        sqlite3_bind_text(m_statement, 2, from.constData(), int(from.size()), SQLITE_STATIC);
        sqlite3_bind_text(m_statement, 3, until.constData(), int(until.size()), SQLITE_STATIC);
        int rc;
        while ((rc = sqlite3_step(m_statement)) == SQLITE_ROW) {
            const QDate day =
                isoDay(sqlite3_column_text(m_statement, 0), sqlite3_column_bytes(m_statement, 0));
            std::optional<double> close;
            const int type = sqlite3_column_type(m_statement, 1);
            if (type == SQLITE_FLOAT || type == SQLITE_INTEGER)
                close = sqlite3_column_double(m_statement, 1);
            else if (type == SQLITE_TEXT)
                close = storedFigure(QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(m_statement, 1))));
            if (day.isValid() && close)
                series->append(day, *close);
        }
        sqlite3_reset(m_statement);
        return rc == SQLITE_DONE ? DbError{} : readFailed(m_db);
    }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_statement = nullptr;
};

// The letters of a symbol as the table's NOCASE order compares them: ASCII letters in upper
// case.
QByteArray foldedKey(const char *text, int size)
{
    QByteArray key(text, size);
    for (char &c : key)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return key;
}

// The closes of many symbols in one pass over the table in its stored order. A symbol's rows
// read through the index cost a look-up in the table each, about twice what the pass costs a
// row: where the symbols asked for cover much of the table, the pass is the quicker.
class AllClosesReader
{
public:
    // The series gets the closes from the last one on or before `first` to `to`, as
    // CloseReader::read gives them.
    void want(const QString &symbol, QDate first, QDate to, CloseSeries *series)
    {
        const QByteArray name = canonicalSymbol(symbol).toUtf8();
        m_wanted[foldedKey(name.constData(), int(name.size()))].push_back(
            {first.toJulianDay(), to.toJulianDay(), series, {}, {}});
    }

    // Whether the pass is likely the quicker: the table's rows (its largest row id, a bound
    // that needs no count) against the trading days from each series' first day to its last.
    static bool quicker(sqlite3 *db, qint64 wantedDays)
    {
        sqlite3_stmt *statement = nullptr;
        qint64 rows = -1;
        if (sqlite3_prepare_v2(db, "SELECT max(rowid) FROM Prices", -1, &statement, nullptr) ==
                SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            rows = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        return rows >= 0 && rows <= 2 * (wantedDays * 5 / 7);
    }

    DbError read(sqlite3 *db)
    {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT \"Ticker Symbol\", \"Date\", \"Close\" FROM Prices", -1,
                               &statement, nullptr) != SQLITE_OK)
            return readFailed(db);
        QByteArray lastSymbol; // as stored
        std::vector<Wanted> *wanted = nullptr;
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            const auto *symbol = reinterpret_cast<const char *>(sqlite3_column_text(statement, 0));
            const int size = sqlite3_column_bytes(statement, 0);
            // A symbol's rows mostly lie together: the look-up only when the symbol changes.
            if (!symbol)
                continue;
            if (size != lastSymbol.size() || std::memcmp(symbol, lastSymbol.constData(), size)) {
                lastSymbol = QByteArray(symbol, size);
                const auto found = m_wanted.find(foldedKey(symbol, size));
                wanted = found == m_wanted.end() ? nullptr : &found.value();
            }
            if (!wanted)
                continue;
            const qint64 day =
                isoJulianDay(sqlite3_column_text(statement, 1), sqlite3_column_bytes(statement, 1));
            if (!day)
                continue;
            std::optional<double> close;
            const int type = sqlite3_column_type(statement, 2);
            if (type == SQLITE_FLOAT || type == SQLITE_INTEGER)
                close = sqlite3_column_double(statement, 2);
            else if (type == SQLITE_TEXT)
                close = storedFigure(QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(statement, 2))));
            if (!close)
                continue;
            for (Wanted &w : *wanted) {
                if (day > w.to)
                    continue;
                if (day <= w.first) {
                    if (!w.before || w.before->first < day)
                        w.before = std::pair{day, *close};
                    continue;
                }
                w.after.emplace_back(day, *close);
            }
        }
        sqlite3_finalize(statement);
        if (rc != SQLITE_DONE)
            return readFailed(db);
        for (std::vector<Wanted> &each : m_wanted)
            for (Wanted &w : each) {
                if (!std::is_sorted(w.after.begin(), w.after.end()))
                    std::sort(w.after.begin(), w.after.end());
                w.series->reserve(qsizetype(w.after.size()) + 1);
                if (w.before)
                    w.series->append(QDate::fromJulianDay(w.before->first), w.before->second);
                for (const auto &[day, close] : w.after)
                    w.series->append(QDate::fromJulianDay(day), close);
            }
        return {};
    }

private:
    struct Wanted
    {
        qint64 first, to;
        CloseSeries *series;
        std::optional<std::pair<qint64, double>> before;
        std::vector<std::pair<qint64, double>> after;
    };
    QHash<QByteArray, std::vector<Wanted>> m_wanted;
};

} // namespace

DbError computeReturns(QSqlDatabase &db, QDate from, QDate to, ReturnsReport *report,
                       const QString &ticker)
{
    *report = {};
    const QString path = db.databaseName();
    if (readTableColumns(db, QStringLiteral("Trades")).table.isEmpty())
        return {DbError::MissingTable,
                ExchangeTexts::tr("\"%1\" has no trades: its table \"Trades\" comes with the "
                                  "program's next opening of it.")
                    .arg(path)};
    QList<trades::StoredTrade> stored;
    if (DbError error = trades::readTrades(db, ticker, &stored))
        return error;
    if (stored.isEmpty())
        return {DbError::NoRecord,
                ticker.isEmpty()
                    ? ExchangeTexts::tr("\"%1\" has no trades; import some with "
                                        "vantora-db import-trades or the Trades window.")
                          .arg(path)
                    : ExchangeTexts::tr("%1 has no trades.").arg(ticker)};

    const bool hasPrices = !readTableColumns(db, QStringLiteral("Prices")).table.isEmpty();
    QSqlQuery query(db);
    if (!to.isValid()) {
        QByteArray latest;
        if (hasPrices)
            if (DbError error = latestPriceDay(sqliteHandle(db), &latest))
                return error;
        to = QDate::fromString(QString::fromUtf8(latest), Qt::ISODate);
        if (!to.isValid())
            to = QDate::currentDate();
    }
    report->from = from;
    report->to = to;

    QMap<QString, StockLedger> ledgers;
    QDate first = from;
    for (const trades::StoredTrade &t : std::as_const(stored)) {
        const QString key = trades::tickerKey(t.ticker);
        StockLedger &ledger = ledgers[key];
        ledger.ticker = key;
        ledger.trades << t.trade();
        if (!first.isValid() || t.date < first)
            first = t.date;
    }

    sqlite3 *handle = sqliteHandle(db);
    query.prepare(QStringLiteral("SELECT \"Current Price\" FROM stocks WHERE \"Ticker Symbol\" = ? "
                                 "ORDER BY rowid LIMIT 1"));
    qint64 wantedDays = std::max<qint64>(0, first.daysTo(to));
    for (StockLedger &ledger : ledgers) {
        query.addBindValue(ledger.ticker);
        if (query.exec() && query.next())
            ledger.currentPrice = storedFigure(query.value(0));
        query.finish();
        wantedDays += std::max<qint64>(0, startOf(ledger, from).daysTo(to));
    }
    CloseSeries index;
    if (hasPrices && AllClosesReader::quicker(handle, wantedDays)) {
        AllClosesReader all;
        for (StockLedger &ledger : ledgers)
            all.want(ledger.ticker, startOf(ledger, from), to, &ledger.closes);
        all.want(kSp500, first, to, &index);
        if (DbError error = all.read(handle))
            return error;
    } else if (hasPrices) {
        CloseReader closes(handle);
        for (StockLedger &ledger : ledgers)
            if (DbError error =
                    closes.read(ledger.ticker, startOf(ledger, from), to, &ledger.closes))
                return error;
        if (DbError error = closes.read(kSp500, first, to, &index))
            return error;
    }

    QList<const StockLedger *> all;
    for (const StockLedger &ledger : std::as_const(ledgers)) {
        if (ledger.trades.constFirst().date > to)
            continue;
        all << &ledger;
        const ReturnsResult result = ledgerReturns({&ledger}, from, to, index);
        if (result.failure)
            return {DbError::Failed, result.failure->text() + QLatin1Char('.')};
        report->stocks << result.line;
    }
    if (all.isEmpty())
        return {DbError::NoRecord, ExchangeTexts::tr("\"%1\" has no trades on or before %2.")
                                       .arg(path, to.toString(Qt::ISODate))};
    if (ticker.isEmpty()) {
        const ReturnsResult result = ledgerReturns(all, from, to, index);
        report->portfolio = result.line;
        report->portfolio.name = QStringLiteral("Portfolio");
    }
    return {};
}

DbError computeReturns(const QString &databasePath, QDate from, QDate to, ReturnsReport *report,
                       const QString &ticker)
{
    DbConnection connection;
    if (DbError error = connection.open(databasePath, DbConnection::Mode::ReadOnly))
        return error;
    return computeReturns(connection.db(), from, to, report, ticker);
}

} // namespace vantora::prices
