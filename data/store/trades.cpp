// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/trades.h"

#include "common/numbers.h"
#include "data/store/foldedkeys.h"
#include "data/store/schema.h"
#include "data/store/values.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <cmath>
#include <functional>

namespace vantora::trades {
namespace {

struct StoreTexts
{
    Q_DECLARE_TR_FUNCTIONS(Storage)
};

DbError failed(const QString &what, const QSqlError &error)
{
    return {DbError::Failed, engineMessage(what, error)};
}

DbError readFailed(const QSqlQuery &query)
{
    return failed(StoreTexts::tr("The trades could not be read"), query.lastError());
}

DbError writeFailed(const QSqlError &error)
{
    return failed(StoreTexts::tr("The trades could not be written"), error);
}

// A stored figure: a number as it is, a text as the screens read it; nothing when empty.
std::optional<double> figure(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong ||
        value.typeId() == QMetaType::Int)
        return value.toDouble();
    const QString text = schema::shownText(value);
    if (text.trimmed().isEmpty())
        return std::nullopt;
    const double x = parseNumber(text);
    return std::isfinite(x) ? std::optional<double>(x) : std::nullopt;
}

QVariant stored(const std::optional<double> &x)
{
    return x ? QVariant(*x) : QVariant(QMetaType::fromType<double>());
}

bool same(std::optional<double> stored, double computed)
{
    const double x = stored.value_or(0);
    return std::abs(x - computed) <= 1e-9 * std::max({1.0, std::abs(x), std::abs(computed)});
}

DbError withTransaction(const QString &path, const std::function<DbError(QSqlDatabase &)> &work)
{
    DbConnection connection;
    if (DbError error = connection.open(path, DbConnection::Mode::ReadWrite))
        return error;
    Transaction transaction(connection.db());
    if (!transaction.begin())
        return writeFailed(transaction.error());
    if (DbError error = work(connection.db()))
        return error;
    if (!transaction.commit())
        return writeFailed(transaction.error());
    return {};
}

} // namespace

Trade StoredTrade::trade() const
{
    return {date, action, shares.value_or(0), price.value_or(0), fees.value_or(0)};
}

QString tickerKey(const QString &ticker)
{
    return ticker.trimmed().toUpper();
}

DbError readTrades(QSqlDatabase &db, const QString &ticker, QList<StoredTrade> *trades)
{
    trades->clear();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    QString sql = QStringLiteral("SELECT \"Trade ID\", \"Ticker Symbol\", \"Date\", \"Action\", "
                                 "\"Shares\", \"Price\", \"Fees\", \"Note\" FROM Trades");
    if (!ticker.isEmpty())
        sql += QStringLiteral(" WHERE \"Ticker Symbol\" = ?");
    sql += QStringLiteral(" ORDER BY \"Date\", \"Trade ID\"");
    query.prepare(sql);
    if (!ticker.isEmpty())
        query.addBindValue(ticker.trimmed());
    if (!query.exec())
        return readFailed(query);
    while (query.next()) {
        StoredTrade t;
        t.id = query.value(0).toLongLong();
        t.ticker = schema::shownText(query.value(1)).trimmed();
        t.date = QDate::fromString(query.value(2).toString(), Qt::ISODate);
        const std::optional<TradeAction> action = tradeAction(query.value(3).toString());
        if (!t.date.isValid() || !action)
            return {DbError::Failed,
                    StoreTexts::tr("The trade %1 has %2 this program reads; correct it or "
                                   "remove it.")
                        .arg(t.id)
                        .arg(!t.date.isValid() ? StoreTexts::tr("no date (2026-12-07)")
                                               : StoreTexts::tr("no action (Buy, Sell, "
                                                                "Dividend or Split)"))};
        t.action = *action;
        t.shares = figure(query.value(4));
        t.price = figure(query.value(5));
        t.fees = figure(query.value(6));
        t.note = schema::shownText(query.value(7));
        *trades << t;
    }
    if (query.lastError().isValid())
        return readFailed(query);
    return {};
}

DbError readTickers(QSqlDatabase &db, QStringList *tickers)
{
    tickers->clear();
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT DISTINCT upper(trim(\"Ticker Symbol\")) FROM Trades "
                                   "ORDER BY 1")))
        return readFailed(query);
    while (query.next())
        *tickers << query.value(0).toString();
    return {};
}

DbError insertTrade(QSqlDatabase &db, StoredTrade *t)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO Trades (\"Ticker Symbol\", \"Date\", \"Action\", "
                                 "\"Shares\", \"Price\", \"Fees\", \"Note\") VALUES (?, ?, ?, ?, "
                                 "?, ?, ?)"));
    query.addBindValue(t->ticker.trimmed());
    query.addBindValue(t->date.toString(Qt::ISODate));
    query.addBindValue(actionText(t->action));
    query.addBindValue(stored(t->shares));
    query.addBindValue(stored(t->price));
    query.addBindValue(stored(t->fees));
    query.addBindValue(t->note.isNull() ? QStringLiteral("") : t->note);
    if (!query.exec())
        return writeFailed(query.lastError());
    t->id = query.lastInsertId().toLongLong();
    return {};
}

DbError updateTradeRow(QSqlDatabase &db, const StoredTrade &t)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("UPDATE Trades SET \"Ticker Symbol\" = ?, \"Date\" = ?, "
                                 "\"Action\" = ?, \"Shares\" = ?, \"Price\" = ?, \"Fees\" = ?, "
                                 "\"Note\" = ? WHERE \"Trade ID\" = ?"));
    query.addBindValue(t.ticker.trimmed());
    query.addBindValue(t.date.toString(Qt::ISODate));
    query.addBindValue(actionText(t.action));
    query.addBindValue(stored(t.shares));
    query.addBindValue(stored(t.price));
    query.addBindValue(stored(t.fees));
    query.addBindValue(t.note.isNull() ? QStringLiteral("") : t.note);
    query.addBindValue(t.id);
    if (!query.exec())
        return writeFailed(query.lastError());
    if (query.numRowsAffected() != 1)
        return {DbError::RecordGone,
                StoreTexts::tr("The trade %1 is no longer there: another program removed it.")
                    .arg(t.id)};
    return {};
}

DbError removeTradesOn(QSqlDatabase &db, const QString &ticker, QDate day, qint64 *removed)
{
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("DELETE FROM Trades WHERE \"Ticker Symbol\" = ? AND \"Date\" = ?"));
    query.addBindValue(ticker.trimmed());
    query.addBindValue(day.toString(Qt::ISODate));
    if (!query.exec())
        return writeFailed(query.lastError());
    if (removed)
        *removed += query.numRowsAffected();
    return {};
}

DbError removeTrade(QSqlDatabase &db, qint64 id)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("DELETE FROM Trades WHERE \"Trade ID\" = ?"));
    query.addBindValue(id);
    if (!query.exec())
        return writeFailed(query.lastError());
    return {};
}

DbError positionOf(QSqlDatabase &db, const QString &ticker, Position *position)
{
    *position = {};
    QList<StoredTrade> stored;
    if (DbError error = readTrades(db, ticker, &stored))
        return error;
    for (const StoredTrade &t : std::as_const(stored)) {
        const double held = position->shares;
        if (!applyTrade(*position, t.trade()))
            return {DbError::Failed,
                    StoreTexts::tr("Nothing was written: %1.")
                        .arg(LedgerFailure{tickerKey(ticker), t.date, t.shares.value_or(0), held}
                                 .text())};
    }
    return {};
}

DbError keepStock(QSqlDatabase &db, const QString &ticker)
{
    Position position;
    if (DbError error = positionOf(db, ticker, &position))
        return error;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("UPDATE stocks SET \"Shares Owned\" = ?, \"Purchase Price\" = ? "
                                 "WHERE \"Ticker Symbol\" = ?"));
    query.addBindValue(position.shares);
    query.addBindValue(position.average);
    query.addBindValue(ticker.trimmed());
    if (!query.exec())
        return failed(StoreTexts::tr("The stock %1 could not be written").arg(ticker),
                      query.lastError());
    if (query.numRowsAffected() > 0)
        return {};
    // The new record starts from the latest close there is, as an import of prices sets it.
    const bool prices = !readTableColumns(db, QStringLiteral("Prices")).table.isEmpty();
    query.prepare(QStringLiteral("INSERT INTO stocks (\"Name of Stock\", \"Ticker Symbol\", "
                                 "\"Shares Owned\", \"Purchase Price\", \"Current Price\") "
                                 "VALUES (?, ?, ?, ?, %1)")
                      .arg(prices ? QStringLiteral("(SELECT \"Close\" FROM Prices WHERE \"Ticker "
                                                   "Symbol\" = ? AND \"Close\" IS NOT NULL "
                                                   "ORDER BY \"Date\" DESC LIMIT 1)")
                                  : QStringLiteral("NULL")));
    query.addBindValue(tickerKey(ticker));
    query.addBindValue(tickerKey(ticker));
    query.addBindValue(position.shares);
    query.addBindValue(position.average);
    if (prices)
        query.addBindValue(tickerKey(ticker));
    if (!query.exec())
        return failed(StoreTexts::tr("The stock %1 could not be written").arg(ticker),
                      query.lastError());
    if (const QSqlError error = fillFoldedKeys(db, QStringLiteral("stocks")); error.isValid())
        return failed(StoreTexts::tr("The stock %1 could not be written").arg(ticker), error);
    return {};
}

DbError addTrade(const QString &path, StoredTrade *trade)
{
    return withTransaction(path, [&](QSqlDatabase &db) {
        if (DbError error = insertTrade(db, trade))
            return error;
        return keepStock(db, trade->ticker);
    });
}

DbError changeTrade(const QString &path, const StoredTrade &trade)
{
    return withTransaction(path, [&](QSqlDatabase &db) {
        QSqlQuery before(db);
        before.prepare(
            QStringLiteral("SELECT \"Ticker Symbol\" FROM Trades WHERE \"Trade ID\" = ?"));
        before.addBindValue(trade.id);
        if (!before.exec())
            return readFailed(before);
        const QString oldTicker = before.next() ? before.value(0).toString() : QString();
        before.finish();
        if (DbError error = updateTradeRow(db, trade))
            return error;
        if (!oldTicker.isEmpty() && tickerKey(oldTicker) != tickerKey(trade.ticker))
            if (DbError error = keepStock(db, oldTicker))
                return error;
        return keepStock(db, trade.ticker);
    });
}

DbError deleteTrade(const QString &path, const StoredTrade &trade)
{
    return withTransaction(path, [&](QSqlDatabase &db) {
        if (DbError error = removeTrade(db, trade.id))
            return error;
        return keepStock(db, trade.ticker);
    });
}

DbError setStockFromTrades(const QString &path, const QString &ticker)
{
    return withTransaction(path, [&](QSqlDatabase &db) { return keepStock(db, ticker); });
}

DbError checkStock(QSqlDatabase &db, const QString &ticker, StockCheck *check)
{
    *check = {};
    if (DbError error = positionOf(db, ticker, &check->fromTrades))
        return error;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT \"Shares Owned\", \"Purchase Price\" FROM stocks WHERE "
                                 "\"Ticker Symbol\" = ? ORDER BY rowid LIMIT 1"));
    query.addBindValue(ticker.trimmed());
    if (!query.exec())
        return failed(StoreTexts::tr("The stock %1 could not be read").arg(ticker),
                      query.lastError());
    if (query.next()) {
        check->hasStock = true;
        check->shares = figure(query.value(0));
        check->purchase = figure(query.value(1));
    }
    check->differs = !check->hasStock || !same(check->shares, check->fromTrades.shares) ||
                     !same(check->purchase, check->fromTrades.average);
    return {};
}

} // namespace vantora::trades
