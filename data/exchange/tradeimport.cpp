// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/exchange/tradeimport.h"
#include "data/exchange/exchangetexts.h"

#include "data/exchange/csv.h"
#include "data/exchange/pricefiles.h"
#include "data/store/connection.h"
#include "data/store/trades.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <optional>

namespace vantora::trades {
namespace {

using exchange::nothingImported;
using exchange::where;

struct Columns
{
    int date = -1, symbol = -1, action = -1, shares = -1, price = -1, fees = -1, note = -1;
};

struct Origin
{
    QString file;
    int line = 0;
    QString sharesField;
};

class Import
{
public:
    explicit Import(QSqlDatabase &db)
        : m_db(db)
    {
    }
    std::optional<QString> read(const QString &file);
    std::optional<QString> finish();
    ImportResult result;

private:
    std::optional<QString> readRecord(const QString &file, const Columns &columns,
                                      const QStringList &header, const csv::Record &record);
    QSqlDatabase &m_db;
    // The stocks and days the files hold, with where each first appears.
    QHash<QPair<QString, qint64>, Origin> m_days;
    QSet<QString> m_tickers;
};

std::optional<QString> Import::read(const QString &name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return ExchangeTexts::tr("\"%1\" could not be read: %2.").arg(name, file.errorString());
    csv::Reader reader(&file);
    csv::Record headerRecord;
    if (reader.next(&headerRecord) != csv::Reader::Status::Record)
        return ExchangeTexts::tr("\"%1\" is empty: its first line must name the columns.")
            .arg(name);
    QStringList header;
    Columns c;
    for (const csv::Field &field : std::as_const(headerRecord.fields)) {
        const QString text = field.text.trimmed();
        const QString lower = text.toLower();
        const int at = int(header.size());
        header << text;
        int *column = lower == u"date"                             ? &c.date
                      : lower == u"symbol" || lower == u"ticker"   ? &c.symbol
                      : lower == u"action"                         ? &c.action
                      : lower == u"shares" || lower == u"quantity" ? &c.shares
                      : lower == u"price"                          ? &c.price
                      : lower == u"fees"                           ? &c.fees
                      : lower == u"note"                           ? &c.note
                                                                   : nullptr;
        if (column && *column < 0)
            *column = at;
    }
    for (const auto &[column, needed] :
         {std::pair{c.date, "Date"}, std::pair{c.symbol, "Symbol"}, std::pair{c.action, "Action"},
          std::pair{c.shares, "Shares"}, std::pair{c.price, "Price"}})
        if (column < 0)
            return ExchangeTexts::tr(
                       "%1: the header has no such column, so it is no file of trades "
                       "(it needs Date, Symbol, Action, Shares and Price).")
                .arg(where(name, headerRecord.line, QString::fromLatin1(needed)));

    csv::Record record;
    csv::Reader::Status status;
    while ((status = reader.next(&record)) == csv::Reader::Status::Record)
        if (std::optional<QString> refusal = readRecord(name, c, header, record))
            return refusal;
    if (status == csv::Reader::Status::Error && reader.errorField() < 0)
        return ExchangeTexts::tr("\"%1\", line %2: %3.")
            .arg(name)
            .arg(reader.errorLine())
            .arg(reader.errorText());
    if (status == csv::Reader::Status::Error)
        return QStringLiteral("%1: %2.").arg(
            where(name, reader.errorLine(),
                  header.value(reader.errorField(), QString::number(reader.errorField() + 1))),
            reader.errorText());
    return std::nullopt;
}

std::optional<QString> Import::readRecord(const QString &file, const Columns &c,
                                          const QStringList &header, const csv::Record &record)
{
    const auto text = [&](int column) {
        return column >= 0 && column < record.fields.size() ? record.fields[column].text.trimmed()
                                                            : QString();
    };
    const auto at = [&](int column) { return where(file, record.line, header.value(column)); };

    const QString dayText = text(c.date);
    const QDate day = QDate::fromString(dayText, QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        return ExchangeTexts::tr("%1: \"%2\" is no date; write dates as 2026-12-07.")
            .arg(at(c.date), dayText);
    const QString ticker = tickerKey(text(c.symbol));
    if (ticker.isEmpty())
        return ExchangeTexts::tr("%1: the record names no stock.").arg(at(c.symbol));
    const std::optional<TradeAction> action = tradeAction(text(c.action));
    if (!action)
        return ExchangeTexts::tr("%1: \"%2\" is no action; write Buy, Sell, Dividend or Split.")
            .arg(at(c.action), text(c.action));

    std::optional<double> figures[3];
    const int columns[3] = {c.shares, c.price, c.fees};
    for (int i = 0; i < 3; ++i) {
        const QString t = text(columns[i]);
        if (t.isEmpty())
            continue;
        figures[i] = prices::readFigure(t);
        if (!figures[i])
            return ExchangeTexts::tr("%1: \"%2\" is no number; write numbers as 1234.56.")
                .arg(at(columns[i]), t);
    }
    if (const std::optional<TradeProblem> problem =
            tradeProblem(*action, figures[0], figures[1], figures[2])) {
        const int column = problem->field == TradeField::Shares  ? c.shares
                           : problem->field == TradeField::Price ? c.price
                                                                 : c.fees;
        return QStringLiteral("%1: %2.").arg(at(column), problem->text);
    }

    // The first record of a stock and day in the files replaces what is stored for them.
    const QPair<QString, qint64> key{ticker, day.toJulianDay()};
    if (!m_days.contains(key)) {
        m_days.insert(key, Origin{file, record.line, header.value(c.shares)});
        if (DbError error = removeTradesOn(m_db, ticker, day, &result.replaced))
            return error.message;
    }
    m_tickers.insert(ticker);
    StoredTrade trade{0, ticker, day, *action, figures[0], figures[1], figures[2], text(c.note)};
    if (DbError error = insertTrade(m_db, &trade))
        return error.message;
    ++result.trades;
    return std::nullopt;
}

std::optional<QString> Import::finish()
{
    QStringList tickers(m_tickers.cbegin(), m_tickers.cend());
    tickers.sort();
    for (const QString &ticker : std::as_const(tickers)) {
        QList<StoredTrade> stored;
        if (DbError error = readTrades(m_db, ticker, &stored))
            return error.message;
        Position position;
        for (const StoredTrade &t : std::as_const(stored)) {
            const double held = position.shares;
            if (applyTrade(position, t.trade()))
                continue;
            const LedgerFailure failure{ticker, t.date, t.shares.value_or(0), held};
            const auto origin = m_days.constFind({ticker, t.date.toJulianDay()});
            if (origin == m_days.cend())
                return failure.text() + QLatin1Char('.');
            return ExchangeTexts::tr("%1 and on: %2; a sale cannot sell more shares than are held "
                                     "on its day.")
                .arg(where(origin->file, origin->line, origin->sharesField), failure.text());
        }
        if (DbError error = keepStock(m_db, ticker))
            return error.message;
    }
    result.tickers = tickers;
    return std::nullopt;
}

} // namespace

ImportResult importTradeFiles(const QString &databasePath, const QStringList &files)
{
    ImportResult failed;
    DbConnection connection;
    if (const DbError error = connection.open(databasePath, DbConnection::Mode::ReadWrite)) {
        failed.message = nothingImported(error.message);
        return failed;
    }
    if (readTableColumns(connection.db(), QStringLiteral("Trades")).table.isEmpty()) {
        failed.message = nothingImported(
            ExchangeTexts::tr(
                "The market database \"%1\" has no table \"Trades\": it is of an older "
                "version, and could not be brought up to date (that needs its backup "
                "first, and a file that may be written).")
                .arg(databasePath));
        return failed;
    }
    Transaction transaction(connection.db());
    if (!transaction.begin()) {
        failed.message = nothingImported(engineMessage(
            ExchangeTexts::tr("The market database \"%1\" could not be written").arg(databasePath),
            transaction.error()));
        return failed;
    }
    Import import(connection.db());
    for (const QString &file : files)
        if (std::optional<QString> refusal = import.read(file)) {
            failed.message = nothingImported(*refusal);
            return failed;
        }
    if (std::optional<QString> refusal = import.finish()) {
        failed.message = nothingImported(*refusal);
        return failed;
    }
    if (!transaction.commit()) {
        failed.message = nothingImported(engineMessage(
            ExchangeTexts::tr("The market database \"%1\" could not be written").arg(databasePath),
            transaction.error()));
        return failed;
    }
    ImportResult result = import.result;
    result.ok = true;
    const QLocale c = QLocale::c();
    const auto counted = [&c](qsizetype n, const QString &one, const QString &many) {
        return n == 1 ? one : many.arg(c.toString(n));
    };
    result.message =
        ExchangeTexts::tr("Imported %1 of %2 from %3, replacing %4; set the shares and average "
                          "cost of %5.")
            .arg(counted(result.trades, ExchangeTexts::tr("1 trade"),
                         ExchangeTexts::tr("%1 trades")),
                 result.tickers.isEmpty() ? ExchangeTexts::tr("no stock")
                                          : result.tickers.join(QLatin1String(", ")),
                 counted(files.size(), ExchangeTexts::tr("1 file"), ExchangeTexts::tr("%1 files")),
                 counted(result.replaced, ExchangeTexts::tr("1 stored one"),
                         ExchangeTexts::tr("%1 stored ones")),
                 counted(result.tickers.size(), ExchangeTexts::tr("1 stock"),
                         ExchangeTexts::tr("%1 stocks")));
    return result;
}

} // namespace vantora::trades
