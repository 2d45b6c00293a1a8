// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/exchange/priceimport.h"

#include "data/exchange/csv.h"
#include "data/exchange/pricefiles.h"
#include "data/exchange/pricehistory.h"
#include "data/store/connection.h"
#include "data/store/schema.h"

#include <QBuffer>
#include <QFile>
#include <QLocale>
#include <QMap>
#include <QSet>
#include <QSqlQuery>
#include <cstdio>
#include <optional>
#include <sqlite3.h>

namespace vantora::prices {
namespace {

QString nothingImported(const QString &message)
{
    return message + QStringLiteral("\nNothing was imported; the database is as it was.");
}

QString where(const QString &file, int line, const QString &field)
{
    return QStringLiteral("\"%1\", line %2, field \"%3\"").arg(file).arg(line).arg(field);
}

QString count(qint64 n)
{
    return QLocale::c().toString(n);
}

struct Breadth
{
    double advances = 0, declines = 0;
};

// One import: the statements of its transaction and what it has written so far.
class Import
{
public:
    Import(QSqlDatabase &db, const QString &ticker, const Progress &progress)
        : m_db(db)
        , m_ticker(ticker)
        , m_progress(progress)
    {
        // Days go in through SQLite itself: a million of them through the driver would cost
        // more than the reading does.
        m_handle = sqliteHandle(db);
    }
    ~Import() { sqlite3_finalize(m_upsert); }
    Q_DISABLE_COPY_MOVE(Import)

    // Reads one file into the table of prices; the refusal, if any.
    std::optional<QString> read(const Source &source);
    // The stocks and the forecaster's days, from what was read.
    std::optional<QString> finish();

    Summary summary;
    bool cancelled = false;

private:
    std::optional<QString> readRecord(const Source &source, const Layout &layout,
                                      const QStringList &header, const csv::Record &record);
    std::optional<QString> engineFailure(const QString &what, const QSqlQuery &query) const
    {
        return engineMessage(what, query.lastError());
    }
    std::optional<QString> updateStocks();
    std::optional<QString> updateForecaster();
    Closes closesOf(const QString &symbol);

    QSqlDatabase &m_db;
    QString m_ticker;
    Progress m_progress;
    sqlite3 *m_handle = nullptr;
    sqlite3_stmt *m_upsert = nullptr;
    QSet<QString> m_symbols;
    QString m_lastRaw, m_lastSymbol; // the symbol of the last record, as written and as stored
    QByteArray m_lastSymbolText;
    QMap<QDate, Breadth> m_breadth;
    qint64 m_records = 0;
};

std::optional<QString> Import::read(const Source &source)
{
    // Read as a stream: a file of any size takes no more memory than its record at hand.
    QBuffer buffer;
    QFile file;
    QIODevice *device = &buffer;
    if (source.fromFile) {
        file.setFileName(source.name);
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("\"%1\" could not be read: %2.")
                .arg(source.name, file.errorString());
        device = &file;
    } else {
        buffer.setData(source.bytes);
        buffer.open(QIODevice::ReadOnly);
    }
    csv::Reader reader(device);
    QString problem;
    csv::Record headerRecord;
    csv::Reader::Status status = reader.next(&headerRecord);
    if (status == csv::Reader::Status::End)
        return QStringLiteral("\"%1\" is empty: its first line must name the columns.")
            .arg(source.name);
    QStringList header;
    for (const csv::Field &field : headerRecord.fields)
        header << field.text.trimmed();
    const std::optional<Layout> layout = recognise(header, &problem);
    if (!layout) {
        const QString missing = problem.contains(QLatin1String("\"Date\""))
                                    ? QStringLiteral("Date")
                                    : QStringLiteral("Close");
        return QStringLiteral("%1: %2, so it is no file of daily history this program reads (it "
                              "needs Date and Close, or Date, Advances and Declines).")
            .arg(where(source.name, headerRecord.line, missing), problem);
    }
    csv::Record record;
    while ((status = reader.next(&record)) == csv::Reader::Status::Record) {
        if (std::optional<QString> refusal = readRecord(source, *layout, header, record))
            return refusal;
        if (m_progress && ++m_records % 1000 == 0 && !m_progress(m_records)) {
            cancelled = true;
            return QStringLiteral("The import was cancelled.");
        }
    }
    if (status == csv::Reader::Status::Error && reader.errorField() < 0)
        return QStringLiteral("\"%1\", line %2: %3.")
            .arg(source.name)
            .arg(reader.errorLine())
            .arg(reader.errorText());
    if (status == csv::Reader::Status::Error)
        return QStringLiteral("%1: %2.").arg(
            where(source.name, reader.errorLine(),
                  header.value(reader.errorField(), QString::number(reader.errorField() + 1))),
            reader.errorText());
    return std::nullopt;
}

std::optional<QString> Import::readRecord(const Source &source, const Layout &layout,
                                          const QStringList &header, const csv::Record &record)
{
    auto fieldAt = [&](int column) -> QString {
        return column >= 0 && column < record.fields.size() ? record.fields[column].text
                                                            : QString();
    };
    auto missing = [&](int column) {
        return column >= record.fields.size()
                   ? std::optional<QString>(
                         QStringLiteral("%1: the record ends before this field.")
                             .arg(where(source.name, record.line, header.value(column))))
                   : std::nullopt;
    };
    const int needed =
        std::max({layout.date, layout.close, layout.advances, layout.declines, layout.symbol});
    if (std::optional<QString> short_ = missing(needed))
        return short_;

    const QString dayText = fieldAt(layout.date);
    if (layout.close >= 0 && isNoTrading(fieldAt(layout.close)))
        return std::nullopt; // a day without trading
    const std::optional<QDate> day = readDay(dayText);
    if (!day)
        return QStringLiteral("%1: \"%2\" is no date; write dates as 2026-12-07 or 20261207.")
            .arg(where(source.name, record.line, header.value(layout.date)), dayText);

    auto figure = [&](int column, bool required,
                      std::optional<double> *value) -> std::optional<QString> {
        const QString text = fieldAt(column);
        if (column < 0 || (!required && (text.trimmed().isEmpty() || isNoTrading(text))))
            return std::nullopt;
        *value = readFigure(text);
        if (!*value)
            return QStringLiteral("%1: \"%2\" is no number; write numbers as 1234.56.")
                .arg(where(source.name, record.line, header.value(column)), text);
        return std::nullopt;
    };

    if (layout.isBreadth()) {
        std::optional<double> advances, declines;
        if (std::optional<QString> refusal = figure(layout.advances, true, &advances))
            return refusal;
        if (std::optional<QString> refusal = figure(layout.declines, true, &declines))
            return refusal;
        m_breadth[*day] = {*advances, *declines};
        return std::nullopt;
    }

    std::optional<double> open, high, low, close, volume;
    for (const auto &[column, value, required] :
         {std::tuple{layout.open, &open, false}, std::tuple{layout.high, &high, false},
          std::tuple{layout.low, &low, false}, std::tuple{layout.close, &close, true},
          std::tuple{layout.volume, &volume, false}})
        if (std::optional<QString> refusal = figure(column, required, value))
            return refusal;

    if (source.from.isValid() && *day < source.from)
        return std::nullopt;
    QString symbol = m_ticker.isEmpty() ? source.symbol : m_ticker;
    if (symbol.isEmpty() && layout.symbol >= 0)
        symbol = fieldAt(layout.symbol).trimmed();
    if (symbol.isEmpty())
        symbol = symbolFromFileName(source.name);
    // Files hold one symbol for many days in a row: its spelling is worked out once.
    if (symbol != m_lastRaw) {
        m_lastRaw = symbol;
        m_lastSymbol = canonicalSymbol(symbol);
        m_lastSymbolText = m_lastSymbol.toUtf8();
        if (!m_lastSymbol.isEmpty())
            m_symbols.insert(m_lastSymbol);
    }
    symbol = m_lastSymbol;
    if (symbol.isEmpty())
        return QStringLiteral("%1: the record names no symbol; give one with --ticker.")
            .arg(
                where(source.name, record.line,
                      layout.symbol >= 0 ? header.value(layout.symbol) : QStringLiteral("Symbol")));

    if (!m_upsert &&
        sqlite3_prepare_v2(
            m_handle,
            "INSERT INTO Prices (\"Ticker Symbol\", \"Date\", \"Open\", \"High\", \"Low\", "
            "\"Close\", \"Volume\") VALUES (?, ?, ?, ?, ?, ?, ?) ON CONFLICT (\"Ticker "
            "Symbol\", \"Date\") DO UPDATE SET \"Open\" = excluded.\"Open\", \"High\" = "
            "excluded.\"High\", \"Low\" = excluded.\"Low\", \"Close\" = excluded.\"Close\", "
            "\"Volume\" = excluded.\"Volume\"",
            -1, &m_upsert, nullptr) != SQLITE_OK)
        return QStringLiteral("The table \"Prices\" could not be written (%1).")
            .arg(QString::fromUtf8(sqlite3_errmsg(m_handle)));
    char isoDay[16];
    const int dayLength = std::snprintf(isoDay, sizeof isoDay, "%04d-%02d-%02d", day->year(),
                                        day->month(), day->day());
    sqlite3_bind_text(m_upsert, 1, m_lastSymbolText.constData(), int(m_lastSymbolText.size()),
                      SQLITE_STATIC);
    sqlite3_bind_text(m_upsert, 2, isoDay, dayLength, SQLITE_TRANSIENT);
    int column = 3;
    for (const std::optional<double> &value : {open, high, low, close, volume}) {
        if (value)
            sqlite3_bind_double(m_upsert, column++, *value);
        else
            sqlite3_bind_null(m_upsert, column++);
    }
    const int rc = sqlite3_step(m_upsert);
    sqlite3_reset(m_upsert);
    if (rc != SQLITE_DONE)
        return QStringLiteral("\"%1\", line %2: the day could not be stored (%3).")
            .arg(source.name)
            .arg(record.line)
            .arg(QString::fromUtf8(sqlite3_errmsg(m_handle)));
    ++summary.days;
    return std::nullopt;
}

std::optional<QString> Import::updateStocks()
{
    // The latest close, and the highest high and lowest low (the close where a file has none) of
    // the 364 days that end with the latest day.
    QSqlQuery update(m_db);
    const QString sql = QStringLiteral(
        "WITH latest AS (SELECT max(\"Date\") AS day FROM Prices WHERE \"Ticker Symbol\" = :s), "
        "year AS (SELECT * FROM Prices WHERE \"Ticker Symbol\" = :s AND \"Date\" > "
        "date((SELECT day FROM latest), '-364 days')) "
        "UPDATE stocks SET \"Current Price\" = (SELECT \"Close\" FROM Prices WHERE \"Ticker "
        "Symbol\" = :s AND \"Date\" = (SELECT day FROM latest)), "
        "\"52 Wk Hi\" = (SELECT max(coalesce(\"High\", \"Close\")) FROM year), "
        "\"52 Wk Lo\" = (SELECT min(coalesce(\"Low\", \"Close\")) FROM year) "
        "WHERE \"Ticker Symbol\" = :s");
    if (!update.prepare(sql))
        return engineFailure(QStringLiteral("The stocks could not be updated"), update);
    for (const QString &symbol : std::as_const(m_symbols)) {
        update.bindValue(QStringLiteral(":s"), symbol);
        if (!update.exec())
            return engineFailure(QStringLiteral("The stocks could not be updated"), update);
        summary.stocks += update.numRowsAffected();
    }
    return std::nullopt;
}

Closes Import::closesOf(const QString &symbol)
{
    Closes closes;
    QList<PriceDay> days;
    if (!readHistory(m_db, symbol, &days))
        for (const PriceDay &day : std::as_const(days))
            closes.insert(day.date, day.close);
    return closes;
}

std::optional<QString> Import::updateForecaster()
{
    const bool indices =
        m_symbols.contains(kDow) || m_symbols.contains(kNasdaq) || m_symbols.contains(kSp500);
    if (!indices && m_breadth.isEmpty())
        return std::nullopt;
    const Closes dow = closesOf(kDow), nasdaq = closesOf(kNasdaq), sp = closesOf(kSp500);
    const QList<QDate> days = tradingDays(dow, nasdaq, sp);

    QSqlQuery find(m_db), insert(m_db), update(m_db);
    find.prepare(QStringLiteral("SELECT rowid FROM Forecaster WHERE \"Date\" = ? ORDER BY rowid "
                                "LIMIT 1"));
    insert.prepare(QStringLiteral("INSERT INTO Forecaster (\"Date\") VALUES (?)"));
    // The record of a day, made when it is missing; its rowid, or -1 on a failure.
    auto recordOf = [&](QDate day) -> qint64 {
        find.addBindValue(day.toString(Qt::ISODate));
        if (find.exec() && find.next()) {
            const qint64 id = find.value(0).toLongLong();
            find.finish();
            return id;
        }
        find.finish();
        insert.addBindValue(day.toString(Qt::ISODate));
        return insert.exec() ? insert.lastInsertId().toLongLong() : -1;
    };

    if (indices) {
        update.prepare(QStringLiteral(
            "UPDATE Forecaster SET \"Dow Yesterday\" = ?, \"DD\" = ?, \"NasdaQ Yesterday\" = ?, "
            "\"Dn\" = ?, \"SP 500 Yesterday\" = ?, \"Ds\" = ? WHERE rowid = ?"));
        for (const ForecasterDay &day : forecasterDays(dow, nasdaq, sp)) {
            const qint64 id = recordOf(day.date);
            for (const double value :
                 {day.dow, day.dowPoints, day.nasdaq, day.nasdaqPoints, day.sp, day.spPoints})
                update.addBindValue(value);
            update.addBindValue(id);
            if (id < 0 || !update.exec())
                return engineFailure(QStringLiteral("The table \"Forecaster\" could not be "
                                                    "written"),
                                     id < 0 ? insert : update);
            ++summary.forecasterDays;
        }
    }
    if (!m_breadth.isEmpty()) {
        update.prepare(QStringLiteral(
            "UPDATE Forecaster SET \"Advances\" = ?, \"Declines\" = ? WHERE rowid = ?"));
        // The figures of day X describe the day before the record after X.
        for (auto it = m_breadth.cbegin(); it != m_breadth.cend(); ++it) {
            const qint64 id = recordOf(nextTradingDay(days, it.key()));
            update.addBindValue(it->advances);
            update.addBindValue(it->declines);
            update.addBindValue(id);
            if (id < 0 || !update.exec())
                return engineFailure(QStringLiteral("The table \"Forecaster\" could not be "
                                                    "written"),
                                     id < 0 ? insert : update);
            ++summary.breadthDays;
        }
    }
    return std::nullopt;
}

std::optional<QString> Import::finish()
{
    if (std::optional<QString> refusal = updateStocks())
        return refusal;
    if (std::optional<QString> refusal = updateForecaster())
        return refusal;
    summary.symbols = QStringList(m_symbols.cbegin(), m_symbols.cend());
    summary.symbols.sort();
    return std::nullopt;
}

QString describe(const Summary &s, qsizetype files)
{
    QString text = QStringLiteral("Imported %1 days of %2 from %3 %4")
                       .arg(count(s.days))
                       .arg(s.symbols.isEmpty() ? QStringLiteral("no symbol")
                                                : s.symbols.join(QLatin1String(", ")))
                       .arg(files)
                       .arg(files == 1 ? QStringLiteral("file") : QStringLiteral("files"));
    text += QStringLiteral("; updated %1 %2")
                .arg(count(s.stocks),
                     s.stocks == 1 ? QStringLiteral("stock") : QStringLiteral("stocks"));
    if (s.forecasterDays > 0)
        text +=
            QStringLiteral(" and the inputs of %1 forecaster days").arg(count(s.forecasterDays));
    if (s.breadthDays > 0)
        text += QStringLiteral("; advances and declines of %1 days").arg(count(s.breadthDays));
    return text + QLatin1Char('.');
}

} // namespace

ImportResult importSources(const QString &databasePath, const QList<Source> &sources,
                           const QString &ticker, const Progress &progress)
{
    ImportResult result;
    DbConnection connection;
    if (const DbError error = connection.open(databasePath, DbConnection::Mode::ReadWrite)) {
        result.message = nothingImported(error.message);
        return result;
    }
    if (readTableColumns(connection.db(), QStringLiteral("Prices")).table.isEmpty()) {
        result.message = nothingImported(
            QStringLiteral("The market database \"%1\" has no table \"Prices\": it is of an older "
                           "version, and could not be brought up to date (that needs its backup "
                           "first, and a file that may be written).")
                .arg(databasePath));
        return result;
    }
    Transaction transaction(connection.db());
    if (!transaction.begin()) {
        result.message = nothingImported(engineMessage(
            QStringLiteral("The market database \"%1\" could not be written").arg(databasePath),
            transaction.error()));
        return result;
    }
    Import import(connection.db(), canonicalSymbol(ticker), progress);
    for (const Source &source : sources)
        if (std::optional<QString> refusal = import.read(source)) {
            result.message = nothingImported(*refusal);
            return result;
        }
    if (std::optional<QString> refusal = import.finish()) {
        result.message = nothingImported(*refusal);
        return result;
    }
    if (!transaction.commit()) {
        result.message = nothingImported(engineMessage(
            QStringLiteral("The market database \"%1\" could not be written").arg(databasePath),
            transaction.error()));
        return result;
    }
    result.ok = true;
    result.summary = import.summary;
    result.message = describe(import.summary, sources.size());
    return result;
}

ImportResult importFiles(const QString &databasePath, const QStringList &files,
                         const QString &ticker, const Progress &progress)
{
    QList<Source> sources;
    for (const QString &file : files)
        sources << Source{file, {}, true, {}, {}};
    return importSources(databasePath, sources, ticker, progress);
}

QStringList symbolsToUpdate(const QString &databasePath, QString *problem)
{
    DbConnection connection;
    if (const DbError error = connection.open(databasePath, DbConnection::Mode::ReadOnly)) {
        if (problem)
            *problem = error.message;
        return {};
    }
    QStringList symbols;
    QSqlQuery query(connection.db());
    if (!query.exec(QStringLiteral("SELECT DISTINCT \"Ticker Symbol\" FROM stocks WHERE "
                                   "\"Shares Owned\" + 0 <> 0 AND trim(\"Ticker Symbol\") <> '' "
                                   "ORDER BY rowid"))) {
        if (problem)
            *problem =
                engineMessage(QStringLiteral("The stocks could not be read"), query.lastError());
        return {};
    }
    while (query.next())
        symbols << canonicalSymbol(query.value(0).toString());
    for (const QString &index : {kDow, kNasdaq, kSp500})
        if (!symbols.contains(index))
            symbols << index;
    symbols.removeDuplicates();
    return symbols;
}

} // namespace vantora::prices
