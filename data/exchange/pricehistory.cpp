// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/exchange/pricehistory.h"
#include "data/exchange/exchangetexts.h"

#include "common/numbers.h"
#include "data/exchange/pricefiles.h"
#include "data/store/schema.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <cmath>

namespace vantora::prices {
namespace {

DbError failure(const QString &what, const QSqlError &error)
{
    return {DbError::Failed, engineMessage(what, error)};
}

// The file with a table of prices, opened for reading.
DbError openWithPrices(DbConnection &connection, const QString &path)
{
    if (DbError error = connection.open(path, DbConnection::Mode::ReadOnly))
        return error;
    const TableColumns prices = readTableColumns(connection.db(), QStringLiteral("Prices"));
    if (prices.error.isValid())
        return failure(ExchangeTexts::tr("The market database \"%1\" could not be read").arg(path),
                       prices.error);
    if (prices.table.isEmpty())
        return {DbError::MissingTable,
                ExchangeTexts::tr("The market database \"%1\" has no table \"Prices\" yet: import "
                                  "prices with the program or vantora-db import-prices.")
                    .arg(path)};
    return {};
}

} // namespace

std::optional<double> storedFigure(const QVariant &value)
{
    return schema::storedFigure(value);
}

DbError readHistory(QSqlDatabase &db, const QString &symbol, QList<PriceDay> *days)
{
    days->clear();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    bool ok = query.prepare(QStringLiteral("SELECT \"Date\", \"High\", \"Low\", \"Close\" FROM "
                                           "Prices WHERE \"Ticker Symbol\" = ? ORDER BY \"Date\""));
    if (ok) {
        query.addBindValue(canonicalSymbol(symbol));
        ok = query.exec();
    }
    if (!ok)
        return failure(ExchangeTexts::tr("The prices of %1 could not be read").arg(symbol),
                       query.lastError());
    while (query.next()) {
        const QDate date = QDate::fromString(query.value(0).toString(), Qt::ISODate);
        const std::optional<double> close = storedFigure(query.value(3));
        if (date.isValid() && close)
            *days << PriceDay{date, *close, storedFigure(query.value(1)),
                              storedFigure(query.value(2))};
    }
    return {};
}

DbError readHistory(const QString &databasePath, const QString &symbol, QList<PriceDay> *days)
{
    days->clear();
    DbConnection connection;
    if (DbError error = openWithPrices(connection, databasePath))
        return error;
    return readHistory(connection.db(), symbol, days);
}

QList<PriceDay> lastYear(const QList<PriceDay> &days)
{
    if (days.isEmpty())
        return {};
    const QDate start = days.constLast().date.addDays(-364);
    qsizetype first = days.size();
    while (first > 0 && days[first - 1].date > start)
        --first;
    return days.mid(first);
}

DbError readYearRange(QSqlDatabase &db, const QString &symbol, YearRange *range)
{
    *range = {};
    QSqlQuery query(db);
    query.setForwardOnly(true);
    bool ok = query.prepare(QStringLiteral(
        "WITH latest AS (SELECT max(\"Date\") AS day FROM Prices WHERE \"Ticker Symbol\" = :s), "
        "year AS (SELECT * FROM Prices WHERE \"Ticker Symbol\" = :s AND \"Date\" > "
        "date((SELECT day FROM latest), '-364 days')) "
        "SELECT (SELECT day FROM latest), (SELECT \"Close\" FROM Prices WHERE \"Ticker Symbol\" "
        "= :s AND \"Date\" = (SELECT day FROM latest)), (SELECT max(coalesce(\"High\", "
        "\"Close\")) FROM year), (SELECT min(coalesce(\"Low\", \"Close\")) FROM year)"));
    if (ok) {
        query.bindValue(QStringLiteral(":s"), canonicalSymbol(symbol));
        ok = query.exec() && query.next();
    }
    if (!ok)
        return failure(ExchangeTexts::tr("The prices of %1 could not be read").arg(symbol),
                       query.lastError());
    range->latest = QDate::fromString(query.value(0).toString(), Qt::ISODate);
    range->close = storedFigure(query.value(1));
    range->high = storedFigure(query.value(2));
    range->low = storedFigure(query.value(3));
    return {};
}

DbError readYearRange(const QString &databasePath, const QString &symbol, YearRange *range)
{
    *range = {};
    DbConnection connection;
    if (DbError error = openWithPrices(connection, databasePath))
        return error;
    return readYearRange(connection.db(), symbol, range);
}

DbError readScorecardInput(const QString &databasePath, ScorecardInput *input)
{
    *input = {};
    DbConnection connection;
    if (DbError error = openWithPrices(connection, databasePath))
        return error;
    const MarketIndex indices[] = {MarketIndex::Dow, MarketIndex::Nasdaq, MarketIndex::Sp500};
    const QString symbols[] = {kDow, kNasdaq, kSp500};
    for (const MarketIndex index : indices)
        if (DbError error = readHistory(connection.db(), symbols[int(index)],
                                        &input->prices[std::size_t(index)]))
            return error;

    QSqlQuery query(connection.db());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
            "SELECT \"Date\", \"Dow Yesterday\", \"NasdaQ Yesterday\", \"SP 500 Yesterday\", "
            "\"Advances\", \"Declines\", \"DD\", \"Dn\", \"Ds\" FROM Forecaster ORDER BY rowid")))
        return failure(ExchangeTexts::tr("The forecaster's days could not be read"),
                       query.lastError());
    while (query.next()) {
        const QDate date = QDate::fromString(query.value(0).toString(), Qt::ISODate);
        double figures[8] = {};
        bool complete = date.isValid();
        for (int i = 0; complete && i < 8; ++i) {
            const std::optional<double> figure = storedFigure(query.value(i + 1));
            complete = figure.has_value();
            figures[i] = figure.value_or(0);
        }
        if (complete)
            input->records << ForecasterRecord{date,
                                               {figures[0], figures[1], figures[2], figures[3],
                                                figures[4], figures[5], figures[6], figures[7]}};
    }
    return {};
}

} // namespace vantora::prices
