// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/exchange/returns.h"

#include "data/exchange/pricefiles.h"
#include "data/exchange/pricehistory.h"
#include "data/store/schema.h"
#include "data/store/trades.h"

#include <QCoreApplication>
#include <QMap>
#include <QSqlQuery>
#include <sqlite3.h>

namespace vantora::prices {
namespace {

struct ExchangeTexts
{
    Q_DECLARE_TR_FUNCTIONS(Exchange)
};

DbError readFailed(sqlite3 *db)
{
    return {DbError::Failed, ExchangeTexts::tr("The prices could not be read (%1).")
                                 .arg(QString::fromUtf8(sqlite3_errmsg(db)))};
}

// "2026-12-07" as the table of prices stores its days, read without QDate's format parser: a
// million of them are read for a report.
QDate isoDay(const unsigned char *text, int size)
{
    if (!text || size != 10 || text[4] != '-' || text[7] != '-')
        return {};
    const auto digits = [&](int at, int count) {
        int n = 0;
        for (int i = at; i < at + count; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            n = n * 10 + (text[i] - '0');
        }
        return n;
    };
    return QDate(digits(0, 4), digits(5, 2), digits(8, 2));
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
        if (hasPrices && query.exec(QStringLiteral("SELECT max(\"Date\") FROM Prices")) &&
            query.next())
            to = QDate::fromString(query.value(0).toString(), Qt::ISODate);
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
    CloseReader closes(handle);
    query.prepare(QStringLiteral("SELECT \"Current Price\" FROM stocks WHERE \"Ticker Symbol\" = ? "
                                 "ORDER BY rowid LIMIT 1"));
    for (StockLedger &ledger : ledgers) {
        query.addBindValue(ledger.ticker);
        if (query.exec() && query.next())
            ledger.currentPrice = storedFigure(query.value(0));
        query.finish();
        const QDate start = from.isValid() ? std::min(from, ledger.trades.constFirst().date)
                                           : ledger.trades.constFirst().date;
        if (hasPrices)
            if (DbError error = closes.read(ledger.ticker, start, to, &ledger.closes))
                return error;
    }
    CloseSeries index;
    if (hasPrices)
        if (DbError error = closes.read(kSp500, first, to, &index))
            return error;

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
