// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/exchange/priceimport.h"
#include "data/exchange/exchangetexts.h"

#include "data/exchange/csv.h"
#include "data/exchange/pricefiles.h"
#include "data/exchange/pricehistory.h"
#include "data/store/bulkload.h"
#include "data/store/connection.h"
#include "data/store/schema.h"
#include "forecast/forecast.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QMap>
#include <QSet>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <vector>

namespace vantora::prices {
namespace {

using exchange::nothingImported;
using exchange::where;

QString count(qint64 n)
{
    return QLocale::c().toString(n);
}

QString days(qint64 n)
{
    return n == 1 ? ExchangeTexts::tr("1 day") : ExchangeTexts::tr("%1 days").arg(count(n));
}

QString figureText(double value)
{
    return QString::number(value, 'g', 15);
}

// A line of a price file is a few dozen characters; one far longer is no price file (or an
// endless stream), and is not held.
constexpr qsizetype kLineChars = 1024 * 1024;
// No price, index or volume comes near this; beyond it a change of two figures loses its cents,
// and a sum or a difference of two of them could overflow.
constexpr double kLargestFigure = 1e15;

struct Breadth
{
    double advances = 0, declines = 0;
    bool operator==(const Breadth &) const = default;
};

// Where a day of this call came from: the source (by its place in the call) and the line.
struct Origin
{
    qint32 source = 0;
    qint32 line = 0;
    qint64 row = 0; // where the day is stored in the table of prices
};

// The days one call stored, by symbol, with where each came from. A file gives a symbol's days
// in order, oldest or newest first, so a day before the first or after the last seen is new
// without a look-up; the days of a symbol given out of order are found through a hash.
class DaysSeen
{
public:
    // The origin of the symbol's day, if the call stored it.
    Origin *find(qint64 symbol, int julian)
    {
        if (symbol < 0 || std::size_t(symbol) >= m_symbols.size())
            return nullptr;
        Days &d = m_symbols[std::size_t(symbol)];
        if (d.days.empty() || julian < d.earliest || julian > d.latest)
            return nullptr;
        if (d.mixed) {
            const auto found = d.index.constFind(julian);
            return found == d.index.cend() ? nullptr : &d.days[std::size_t(*found)].second;
        }
        const auto before = [&d](const std::pair<int, Origin> &day, int j) {
            return d.order > 0 ? day.first < j : day.first > j;
        };
        const auto at = std::lower_bound(d.days.begin(), d.days.end(), julian, before);
        return at != d.days.end() && at->first == julian ? &at->second : nullptr;
    }
    // Keeps a day that find() did not know; valid until the next call.
    Origin *insert(qint64 symbol, int julian, const Origin &origin)
    {
        if (std::size_t(symbol) >= m_symbols.size())
            m_symbols.resize(std::size_t(symbol) + 1);
        Days &d = m_symbols[std::size_t(symbol)];
        if (!d.days.empty() && !d.mixed) {
            const int step = julian > d.days.back().first ? 1 : -1;
            if (d.days.size() == 1)
                d.order = step;
            else if (step != d.order) {
                d.mixed = true;
                d.index.reserve(qsizetype(d.days.size()) * 2);
                for (std::size_t i = 0; i < d.days.size(); ++i)
                    d.index.insert(d.days[i].first, qsizetype(i));
            }
        }
        if (d.mixed)
            d.index.insert(julian, qsizetype(d.days.size()));
        d.earliest = d.days.empty() ? julian : std::min(d.earliest, julian);
        d.latest = d.days.empty() ? julian : std::max(d.latest, julian);
        d.days.emplace_back(julian, origin);
        return &d.days.back().second;
    }

private:
    struct Days
    {
        std::vector<std::pair<int, Origin>> days; // in the order they came
        int earliest = 0, latest = 0;
        int order = 1;      // +1 oldest first, -1 newest first
        bool mixed = false; // neither: found through the index
        QHash<int, qsizetype> index;
    };
    std::vector<Days> m_symbols; // by the symbol's number in this call
};

// The figures of one day of a file; nothing for a figure the file leaves out.
struct DayFigures
{
    std::optional<double> open, high, low, close, volume;
};

// One import: the statements of its transaction and what it has written so far.
class Import
{
public:
    Import(QSqlDatabase &db, BulkLoad &bulk, const QString &ticker, const Progress &progress)
        : m_db(db)
        , m_bulk(bulk)
        , m_ticker(ticker)
        , m_progress(progress)
    {
        // Days go in through SQLite itself: a million of them through the driver would cost
        // more than the reading does.
        m_handle = sqliteHandle(db);
    }
    ~Import()
    {
        sqlite3_finalize(m_upsert);
        sqlite3_finalize(m_insert);
        sqlite3_finalize(m_stored);
        sqlite3_finalize(m_storedRow);
    }
    Q_DISABLE_COPY_MOVE(Import)

    // Reads one file into the table of prices; the refusal, if any.
    std::optional<QString> read(const Source &source);
    // The refusal for a file read before that changed since; checked again before the commit.
    std::optional<QString> changedSince() const;
    // The table of prices whole again after a load with its index set aside: the days stored
    // before that this call gives again replaced, the index made again.
    std::optional<QString> settle();
    // The stocks and the forecaster's days, from what was read.
    std::optional<QString> finish();

    Summary summary;
    bool cancelled = false;

private:
    struct Record
    {
        const Source &source;
        const Layout &layout;
        const QStringList &header;
        const csv::Record &fields;
        QStringView at(int column) const
        {
            return column >= 0 && column < fields.fields.size()
                       ? QStringView(fields.fields[column].text)
                       : QStringView();
        }
        QString where(int column) const
        {
            return prices::where(source.name, fields.line, header.value(column));
        }
    };
    std::optional<QString> readRecord(const Record &record);
    // The steps of a record: its shape, its day, its figures, its symbol, and whether this call
    // gave that day already.
    std::optional<QString> checkShape(const Record &record) const;
    std::optional<QString> figure(const Record &record, int column, bool required,
                                  std::optional<double> *value) const;
    std::optional<QString> readFigures(const Record &record, DayFigures *figures) const;
    std::optional<QString> readBreadth(const Record &record, QDate day);
    std::optional<QString> symbolOf(const Record &record);
    // True when this call stored the day already with the same figures; a refusal when with
    // others.
    std::optional<QString> repeated(const Record &record, QDate day, const DayFigures &figures,
                                    bool *same);
    std::optional<QString> store(const Record &record, QDate day, const DayFigures &figures);

    std::optional<QString> engineFailure(const QString &what, const QSqlQuery &query) const
    {
        return engineMessage(what, query.lastError());
    }
    std::optional<QString> updateStocks();
    std::optional<QString> updateForecaster();
    std::optional<QString> recomputeForecasts(const QSet<qint64> &changed);
    Closes closesOf(const QString &symbol);

    QSqlDatabase &m_db;
    BulkLoad &m_bulk;
    QString m_ticker;
    Progress m_progress;
    sqlite3 *m_handle = nullptr;
    sqlite3_stmt *m_upsert = nullptr; // a day replaced where one is stored
    sqlite3_stmt *m_insert = nullptr; // with the index set aside: the days kept unique here
    sqlite3_stmt *m_stored = nullptr;
    sqlite3_stmt *m_storedRow = nullptr;
    QSet<QString> m_symbols;
    QString m_lastRaw, m_lastSymbol; // the symbol of the last record, as written and as stored
    QString m_fileSymbol;            // the symbol that the name of the file at hand gives
    qint32 m_fileSymbolOf = -1;      // the file it is of, by its place in the call
    QByteArray m_lastSymbolText;
    qint64 m_lastSymbolId = 0;
    QHash<QString, qint64> m_symbolIds;
    // Every day this call stored, by its symbol and day: a second one with other figures is
    // refused, naming both places.
    DaysSeen m_days;
    Origin *m_lastDay = nullptr; // the day of the record at hand
    QMap<QDate, std::pair<Breadth, Origin>> m_breadth;
    QStringList m_sourceNames;
    QList<std::pair<QString, std::shared_ptr<QFile>>> m_files; // files read, watched
    QList<std::shared_ptr<csv::FileWatch>> m_watches;
    qint32 m_source = 0;
    qint64 m_records = 0;
};

std::optional<QString> Import::changedSince() const
{
    for (const std::shared_ptr<csv::FileWatch> &watch : m_watches)
        if (watch->changed())
            return watch->changedText();
    return std::nullopt;
}

std::optional<QString> Import::read(const Source &source)
{
    m_source = qint32(m_sourceNames.size());
    m_sourceNames << source.name;
    // Read as a stream: a file of any size takes no more memory than its record at hand.
    QBuffer buffer;
    auto file = std::make_shared<QFile>();
    QIODevice *device = &buffer;
    std::shared_ptr<csv::FileWatch> watch;
    if (source.fromFile) {
        file->setFileName(source.name);
        if (!file->open(QIODevice::ReadOnly))
            return ExchangeTexts::tr("\"%1\" could not be read: %2.")
                .arg(source.name, file->errorString());
        watch = std::make_shared<csv::FileWatch>(*file);
        m_files << std::pair{source.name, file};
        m_watches << watch;
        device = file.get();
    } else {
        buffer.setData(source.bytes);
        buffer.open(QIODevice::ReadOnly);
    }
    // A refusal in a file that is still being written is most likely its last record.
    auto refuse = [&](const QString &message) -> std::optional<QString> {
        return watch && watch->changed() ? watch->changedText() : message;
    };
    csv::Reader reader(device);
    reader.setLimits(kLineChars, 0, 0);
    auto readerFailure = [&](const QStringList &header) {
        if (reader.errorField() < 0)
            return refuse(
                ExchangeTexts::tr("\"%1\", line %2: %3.")
                    .arg(source.name, QString::number(reader.errorLine()), reader.errorText()));
        return refuse(QStringLiteral("%1: %2.").arg(
            where(source.name, reader.errorLine(),
                  header.value(reader.errorField(), QString::number(reader.errorField() + 1))),
            reader.errorText()));
    };

    csv::Record headerRecord;
    csv::Reader::Status status = reader.next(&headerRecord);
    if (status == csv::Reader::Status::End)
        return ExchangeTexts::tr("\"%1\" is empty: its first line must name the columns.")
            .arg(source.name);
    if (status == csv::Reader::Status::Error)
        return readerFailure({});
    QStringList header;
    for (const csv::Field &field : std::as_const(headerRecord.fields))
        header << csv::quoteOf(field.text.trimmed()); // shown in messages; no known name is long
    QString problem;
    int problemColumn = -1;
    const std::optional<Layout> layout = recognise(header, &problem, &problemColumn);
    if (!layout) {
        if (problemColumn >= 0)
            return QStringLiteral("%1: %2.").arg(
                where(source.name, headerRecord.line, header[problemColumn]), problem);
        const QString missing = problem.contains(QLatin1String("\"Date\""))
                                    ? QStringLiteral("Date")
                                    : QStringLiteral("Close");
        return ExchangeTexts::tr("%1: %2, so it is no file of daily history this program reads (it "
                                 "needs Date and Close, or Date, Advances and Declines).")
            .arg(where(source.name, headerRecord.line, missing), problem);
    }
    csv::Record fields;
    while ((status = reader.next(&fields)) == csv::Reader::Status::Record) {
        if (std::optional<QString> refusal = readRecord({source, *layout, header, fields}))
            return refuse(*refusal);
        if (m_progress && ++m_records % 1000 == 0 && !m_progress(m_records)) {
            cancelled = true;
            return ExchangeTexts::tr("The import was cancelled.");
        }
    }
    if (status == csv::Reader::Status::Error)
        return readerFailure(header);
    if (watch && watch->changed())
        return watch->changedText();
    return std::nullopt;
}

std::optional<QString> Import::checkShape(const Record &record) const
{
    const qsizetype fields = record.fields.fields.size(), named = record.header.size();
    if (fields == named)
        return std::nullopt;
    auto fieldCount = [](qsizetype n) {
        return n == 1 ? ExchangeTexts::tr("1 field") : ExchangeTexts::tr("%1 fields").arg(n);
    };
    // The first field the record lacks, or the first it has beyond the header.
    const QString field = fields < named ? record.header.value(fields) : QString::number(named + 1);
    return ExchangeTexts::tr("%1: the record has %2, but the header names %3%4.")
        .arg(prices::where(record.source.name, record.fields.line, field), fieldCount(fields),
             fieldCount(named),
             fields < named ? ExchangeTexts::tr(" (is the file cut off?)") : QString());
}

std::optional<QString> Import::figure(const Record &record, int column, bool required,
                                      std::optional<double> *value) const
{
    if (column < 0)
        return std::nullopt;
    const QStringView text = record.at(column);
    *value = readFigure(text);
    // A figure left out: nothing, or "null".
    if (!*value && !required && (text.trimmed().isEmpty() || isNoTrading(text)))
        return std::nullopt;
    if (!*value)
        return ExchangeTexts::tr("%1: \"%2\" is no number; write numbers as 1234.56.")
            .arg(record.where(column), csv::quoteOf(text));
    if (**value < 0)
        return ExchangeTexts::tr("%1: \"%2\" is below zero; no price, volume or count is.")
            .arg(record.where(column), csv::quoteOf(text));
    if (**value > kLargestFigure)
        return ExchangeTexts::tr("%1: \"%2\" is beyond any price, volume or count (at most 1e15).")
            .arg(record.where(column), csv::quoteOf(text));
    return std::nullopt;
}

std::optional<QString> Import::readFigures(const Record &record, DayFigures *f) const
{
    const Layout &layout = record.layout;
    for (const auto &[column, value, required] :
         {std::tuple{layout.open, &f->open, false}, std::tuple{layout.high, &f->high, false},
          std::tuple{layout.low, &f->low, false}, std::tuple{layout.close, &f->close, true},
          std::tuple{layout.volume, &f->volume, false}})
        if (std::optional<QString> refusal = figure(record, column, required, value))
            return refusal;
    if (f->high && f->low && *f->high < *f->low)
        return ExchangeTexts::tr("%1: the high %2 is below the low %3.")
            .arg(record.where(layout.high), figureText(*f->high), figureText(*f->low));
    if ((f->high && *f->close > *f->high) || (f->low && *f->close < *f->low))
        return ExchangeTexts::tr("%1: the close %2 lies outside the day's range (low %3, high %4).")
            .arg(record.where(layout.close), figureText(*f->close),
                 f->low ? figureText(*f->low) : ExchangeTexts::tr("none"),
                 f->high ? figureText(*f->high) : ExchangeTexts::tr("none"));
    return std::nullopt;
}

std::optional<QString> Import::readBreadth(const Record &record, QDate day)
{
    std::optional<double> advances, declines;
    if (std::optional<QString> refusal = figure(record, record.layout.advances, true, &advances))
        return refusal;
    if (std::optional<QString> refusal = figure(record, record.layout.declines, true, &declines))
        return refusal;
    const Breadth breadth{*advances, *declines};
    const Origin origin{m_source, record.fields.line};
    const auto known = m_breadth.constFind(day);
    if (known == m_breadth.cend()) {
        m_breadth.insert(day, {breadth, origin});
        return std::nullopt;
    }
    if (known->first == breadth)
        return std::nullopt;
    return ExchangeTexts::tr("%1: %2 is also given by \"%3\", line %4, with other figures; which "
                             "are right cannot be told.")
        .arg(record.where(record.layout.date), day.toString(Qt::ISODate),
             m_sourceNames.value(known->second.source), QString::number(known->second.line));
}

std::optional<QString> Import::symbolOf(const Record &record)
{
    QStringView symbol = m_ticker.isEmpty() ? QStringView(record.source.symbol) : m_ticker;
    const int column = record.layout.symbol;
    if (symbol.isEmpty() && column >= 0) {
        symbol = record.at(column).trimmed();
        if (symbol.isEmpty())
            return ExchangeTexts::tr("%1: the record names no symbol; every record of a file with "
                                     "this column needs one.")
                .arg(record.where(column));
    }
    if (symbol.isEmpty()) {
        if (m_fileSymbolOf != m_source) {
            m_fileSymbol = symbolFromFileName(record.source.name);
            m_fileSymbolOf = m_source;
        }
        symbol = m_fileSymbol;
    }
    // Files hold one symbol for many days in a row: its spelling is worked out once.
    if (symbol != m_lastRaw) {
        m_lastRaw = symbol.toString();
        m_lastSymbol = canonicalSymbol(m_lastRaw);
        m_lastSymbolText = m_lastSymbol.toUtf8();
        m_lastSymbolId = m_symbolIds.value(m_lastSymbol, m_symbolIds.size());
        m_symbolIds.insert(m_lastSymbol, m_lastSymbolId);
        if (!m_lastSymbol.isEmpty())
            m_symbols.insert(m_lastSymbol);
    }
    if (m_lastSymbol.isEmpty())
        return ExchangeTexts::tr("%1: the record names no symbol; give one with --ticker.")
            .arg(prices::where(record.source.name, record.fields.line,
                               column >= 0 ? record.header.value(column)
                                           : QStringLiteral("Symbol")));
    return std::nullopt;
}

std::optional<QString> Import::repeated(const Record &record, QDate day, const DayFigures &figures,
                                        bool *same)
{
    *same = false;
    const int julian = int(day.toJulianDay());
    const Origin *known = m_days.find(m_lastSymbolId, julian);
    if (!known) {
        m_lastDay = m_days.insert(m_lastSymbolId, julian, {m_source, record.fields.line, 0});
        return std::nullopt;
    }
    // Rare: the stored figures of the first are read back and compared.
    if (!m_stored && sqlite3_prepare_v2(m_handle,
                                        "SELECT \"Open\", \"High\", \"Low\", \"Close\", "
                                        "\"Volume\" FROM Prices WHERE rowid = ?",
                                        -1, &m_stored, nullptr) != SQLITE_OK)
        return ExchangeTexts::tr("The table \"Prices\" could not be read (%1).")
            .arg(QString::fromUtf8(sqlite3_errmsg(m_handle)));
    sqlite3_bind_int64(m_stored, 1, known->row);
    *same = sqlite3_step(m_stored) == SQLITE_ROW;
    int column = 0;
    for (const std::optional<double> &value :
         {figures.open, figures.high, figures.low, figures.close, figures.volume}) {
        const bool storedNull = sqlite3_column_type(m_stored, column) == SQLITE_NULL;
        if (*same && (value.has_value() == storedNull ||
                      (value && sqlite3_column_double(m_stored, column) != *value)))
            *same = false;
        ++column;
    }
    sqlite3_reset(m_stored);
    if (*same)
        return std::nullopt;
    const QString day_ = day.toString(Qt::ISODate);
    if (known->source == m_source)
        return ExchangeTexts::tr(
                   "%1: %2 of %3 is given twice with different figures (first on line "
                   "%4); which are right cannot be told.")
            .arg(record.where(record.layout.date), day_, m_lastSymbol,
                 QString::number(known->line));
    return ExchangeTexts::tr("%1: %2 of %3 is also given by \"%4\", line %5, with other figures; "
                             "which are right cannot be told.")
        .arg(record.where(record.layout.date), day_, m_lastSymbol,
             m_sourceNames.value(known->source), QString::number(known->line));
}

std::optional<QString> Import::store(const Record &record, QDate day, const DayFigures &figures)
{
    // Once the days outnumber those stored, the index is set aside and a day is only added:
    // this call gives each day once, and settle() replaces the days stored before.
    const bool aside = m_bulk.indexesAside();
    sqlite3_stmt *&statement = aside ? m_insert : m_upsert;
    if (!statement &&
        sqlite3_prepare_v2(
            m_handle,
            aside ? "INSERT INTO Prices (\"Ticker Symbol\", \"Date\", \"Open\", \"High\", "
                    "\"Low\", \"Close\", \"Volume\") VALUES (?, ?, ?, ?, ?, ?, ?)"
                  : "INSERT INTO Prices (\"Ticker Symbol\", \"Date\", \"Open\", \"High\", "
                    "\"Low\", \"Close\", \"Volume\") VALUES (?, ?, ?, ?, ?, ?, ?) ON CONFLICT "
                    "(\"Ticker Symbol\", \"Date\") DO UPDATE SET \"Open\" = excluded.\"Open\", "
                    "\"High\" = excluded.\"High\", \"Low\" = excluded.\"Low\", \"Close\" = "
                    "excluded.\"Close\", \"Volume\" = excluded.\"Volume\"",
            -1, &statement, nullptr) != SQLITE_OK)
        return ExchangeTexts::tr("The table \"Prices\" could not be written (%1).")
            .arg(QString::fromUtf8(sqlite3_errmsg(m_handle)));
    // yyyy-MM-dd, written by hand: a million days through printf cost more than storing them.
    char isoDay[11];
    const int dayLength = 10;
    int year = 0, month = 0, dayOfMonth = 0;
    day.getDate(&year, &month, &dayOfMonth);
    for (int i = 3; i >= 0; --i, year /= 10)
        isoDay[i] = char('0' + year % 10);
    isoDay[4] = isoDay[7] = '-';
    isoDay[5] = char('0' + month / 10);
    isoDay[6] = char('0' + month % 10);
    isoDay[8] = char('0' + dayOfMonth / 10);
    isoDay[9] = char('0' + dayOfMonth % 10);
    isoDay[10] = 0;
    sqlite3_bind_text(statement, 1, m_lastSymbolText.constData(), int(m_lastSymbolText.size()),
                      SQLITE_STATIC);
    sqlite3_bind_text(statement, 2, isoDay, dayLength, SQLITE_TRANSIENT);
    int column = 3;
    for (const std::optional<double> &value :
         {figures.open, figures.high, figures.low, figures.close, figures.volume}) {
        if (value)
            sqlite3_bind_double(statement, column++, *value);
        else
            sqlite3_bind_null(statement, column++);
    }
    // The row the day went to: a new one, or (without a new row id) the one it replaced.
    sqlite3_set_last_insert_rowid(m_handle, 0);
    const int rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    m_lastDay->row = sqlite3_last_insert_rowid(m_handle);
    if (rc == SQLITE_DONE && m_lastDay->row == 0) {
        if (!m_storedRow &&
            sqlite3_prepare_v2(m_handle,
                               "SELECT rowid FROM Prices WHERE \"Ticker Symbol\" = ? AND "
                               "\"Date\" = ?",
                               -1, &m_storedRow, nullptr) != SQLITE_OK)
            return ExchangeTexts::tr("The table \"Prices\" could not be read (%1).")
                .arg(QString::fromUtf8(sqlite3_errmsg(m_handle)));
        sqlite3_bind_text(m_storedRow, 1, m_lastSymbolText.constData(),
                          int(m_lastSymbolText.size()), SQLITE_STATIC);
        sqlite3_bind_text(m_storedRow, 2, isoDay, dayLength, SQLITE_STATIC);
        if (sqlite3_step(m_storedRow) == SQLITE_ROW)
            m_lastDay->row = sqlite3_column_int64(m_storedRow, 0);
        sqlite3_reset(m_storedRow);
    }
    if (rc != SQLITE_DONE)
        return ExchangeTexts::tr("\"%1\", line %2: the day could not be stored (%3).")
            .arg(record.source.name, QString::number(record.fields.line),
                 QString::fromUtf8(sqlite3_errmsg(m_handle)));
    ++summary.days;
    if (const QSqlError error = m_bulk.rowLoaded(); error.isValid())
        return engineMessage(ExchangeTexts::tr("The table \"Prices\" could not be written"), error);
    return std::nullopt;
}

std::optional<QString> Import::readRecord(const Record &record)
{
    if (std::optional<QString> refusal = checkShape(record))
        return refusal;
    // The day.
    const Layout &layout = record.layout;
    if (layout.close >= 0 && isNoTrading(record.at(layout.close))) {
        ++summary.skippedDays; // a day without trading, or without figures yet
        return std::nullopt;
    }
    const QStringView dayText = record.at(layout.date);
    const std::optional<QDate> day = readDay(dayText);
    if (!day)
        return ExchangeTexts::tr("%1: \"%2\" is no date; write dates as 2026-12-07 or 20261207.")
            .arg(record.where(layout.date), csv::quoteOf(dayText));
    if (layout.isBreadth())
        return readBreadth(record, *day);
    // Its figures, checked against each other.
    DayFigures figures;
    if (std::optional<QString> refusal = readFigures(record, &figures))
        return refusal;
    if (record.source.from.isValid() && *day < record.source.from)
        return std::nullopt;
    // Its symbol, and whether this call gave the day already.
    if (std::optional<QString> refusal = symbolOf(record))
        return refusal;
    bool same = false;
    if (std::optional<QString> refusal = repeated(record, *day, figures, &same))
        return refusal;
    if (same)
        return std::nullopt;
    return store(record, *day, figures);
}

std::optional<QString> Import::updateStocks()
{
    // The latest close, and the 52-week range.
    QSqlQuery update(m_db);
    if (!update.prepare(QStringLiteral("UPDATE stocks SET \"Current Price\" = ?, \"52 Wk Hi\" = "
                                       "?, \"52 Wk Lo\" = ? WHERE \"Ticker Symbol\" = ?")))
        return engineFailure(ExchangeTexts::tr("The stocks could not be updated"), update);
    const auto figure = [](const std::optional<double> &x) {
        return x ? QVariant(*x) : QVariant(QMetaType::fromType<double>());
    };
    for (const QString &symbol : std::as_const(m_symbols)) {
        YearRange range;
        if (const DbError error = readYearRange(m_db, symbol, &range))
            return error.message;
        update.addBindValue(figure(range.close));
        update.addBindValue(figure(range.high));
        update.addBindValue(figure(range.low));
        update.addBindValue(symbol);
        if (!update.exec())
            return engineFailure(ExchangeTexts::tr("The stocks could not be updated"), update);
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

    QSqlQuery find(m_db), insert(m_db), update(m_db), indexInputs(m_db), breadthInputs(m_db);
    indexInputs.prepare(QStringLiteral("SELECT \"Dow Yesterday\", \"DD\", \"NasdaQ Yesterday\", "
                                       "\"Dn\", \"SP 500 Yesterday\", \"Ds\" FROM Forecaster "
                                       "WHERE rowid = ?"));
    breadthInputs.prepare(QStringLiteral("SELECT \"Advances\", \"Declines\" FROM Forecaster "
                                         "WHERE rowid = ?"));
    QSqlQuery *inputs = &indexInputs;
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
    // Records whose inputs this import changes: their stored forecasts are worked out again.
    QSet<qint64> changed;
    auto write = [&](qint64 id, const QVariantList &values) -> bool {
        if (id < 0)
            return false;
        inputs->addBindValue(id);
        if (!inputs->exec() || !inputs->next())
            return false;
        bool same = true;
        for (int i = 0; i < values.size(); ++i)
            same = same && inputs->value(i).typeId() == QMetaType::Double &&
                   inputs->value(i).toDouble() == values[i].toDouble();
        inputs->finish();
        if (same)
            return true;
        for (const QVariant &value : values)
            update.addBindValue(value);
        update.addBindValue(id);
        if (!update.exec())
            return false;
        changed.insert(id);
        return true;
    };
    auto failed = [&](qint64 id) {
        return engineFailure(ExchangeTexts::tr("The table \"Forecaster\" could not be written"),
                             id < 0 ? insert : (update.lastError().isValid() ? update : *inputs));
    };

    if (indices) {
        update.prepare(QStringLiteral(
            "UPDATE Forecaster SET \"Dow Yesterday\" = ?, \"DD\" = ?, \"NasdaQ Yesterday\" = ?, "
            "\"Dn\" = ?, \"SP 500 Yesterday\" = ?, \"Ds\" = ? WHERE rowid = ?"));
        for (const ForecasterDay &day : forecasterDays(dow, nasdaq, sp)) {
            const qint64 id = recordOf(day.date);
            if (!write(id, {day.dow, day.dowPoints, day.nasdaq, day.nasdaqPoints, day.sp,
                            day.spPoints}))
                return failed(id);
            ++summary.forecasterDays;
        }
    }
    if (!m_breadth.isEmpty()) {
        update.prepare(QStringLiteral(
            "UPDATE Forecaster SET \"Advances\" = ?, \"Declines\" = ? WHERE rowid = ?"));
        inputs = &breadthInputs;
        // The figures of day X describe the day before the record after X.
        for (auto it = m_breadth.cbegin(); it != m_breadth.cend(); ++it) {
            const qint64 id = recordOf(nextTradingDay(days, it.key()));
            if (!write(id, {it->first.advances, it->first.declines}))
                return failed(id);
            ++summary.breadthDays;
        }
    }
    return recomputeForecasts(changed);
}

std::optional<QString> Import::recomputeForecasts(const QSet<qint64> &changed)
{
    if (changed.isEmpty())
        return std::nullopt;
    QSqlQuery read(m_db), write(m_db);
    read.prepare(QStringLiteral(
        "SELECT \"Dow Yesterday\", \"NasdaQ Yesterday\", \"SP 500 Yesterday\", \"Advances\", "
        "\"Declines\", \"DD\", \"Dn\", \"Ds\", \"DF\", \"DL\", \"NF\", \"NL\", \"SF\", \"SL\" "
        "FROM Forecaster WHERE rowid = ?"));
    write.prepare(QStringLiteral("UPDATE Forecaster SET \"DF\" = ?, \"DL\" = ?, \"NF\" = ?, "
                                 "\"NL\" = ?, \"SF\" = ?, \"SL\" = ? WHERE rowid = ?"));
    for (const qint64 id : changed) {
        read.addBindValue(id);
        if (!read.exec() || !read.next())
            return engineFailure(ExchangeTexts::tr("The table \"Forecaster\" could not be read"),
                                 read);
        QVariantList stored;
        bool anyStored = false;
        for (int i = 8; i < 14; ++i) {
            stored << read.value(i);
            anyStored = anyStored || !read.value(i).isNull();
        }
        // The figures as the forecaster's boxes read them: a box left empty counts 0.
        double in[8];
        for (int i = 0; i < 8; ++i)
            in[i] = storedFigure(read.value(i)).value_or(0);
        read.finish();
        if (!anyStored)
            continue; // never forecast: nothing follows from its inputs yet
        const ForecastResult result =
            forecastDay({in[0], in[1], in[2], in[3], in[4], in[5], in[6], in[7]});
        if (!result.ok())
            continue;
        const IndexForecast &f = result.value;
        // Stored as the forecaster's screen stores the figures it shows.
        QVariantList values;
        for (const double value :
             {f.dowHigh, f.dowLow, f.nasdaqHigh, f.nasdaqLow, f.spHigh, f.spLow})
            values << schema::storedValue(schema::FieldKind::Number,
                                          formatNumber(value, QLatin1Char('.')));
        if (values == stored)
            continue;
        for (const QVariant &value : std::as_const(values))
            write.addBindValue(value);
        write.addBindValue(id);
        if (!write.exec())
            return engineFailure(ExchangeTexts::tr("The table \"Forecaster\" could not be written"),
                                 write);
        ++summary.forecastsChanged;
    }
    return std::nullopt;
}

std::optional<QString> Import::settle()
{
    if (!m_bulk.indexesAside())
        return std::nullopt;
    sqlite3_finalize(m_insert);
    m_insert = nullptr;
    // A day stored before the load that it gives again while the index is aside is there twice
    // now: the stored one goes. (A day it gave while the index was kept replaced the stored one
    // in place, and no day of the load is there twice.)
    QSqlQuery replace(m_db);
    if (m_bulk.lastRowBefore() > 0 &&
        !(replace.prepare(QStringLiteral(
              "DELETE FROM Prices WHERE rowid <= :stored AND (\"Ticker Symbol\", \"Date\") IN "
              "(SELECT \"Ticker Symbol\", \"Date\" FROM Prices WHERE rowid > :indexed)")) &&
          (replace.bindValue(QStringLiteral(":stored"), m_bulk.lastRowBefore()),
           replace.bindValue(QStringLiteral(":indexed"), m_bulk.lastRowIndexed()), replace.exec())))
        return engineFailure(ExchangeTexts::tr("The table \"Prices\" could not be written"),
                             replace);
    if (const QSqlError error = m_bulk.finish(); error.isValid())
        return engineMessage(ExchangeTexts::tr("The table \"Prices\" could not be written"), error);
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
    // One call with every piece: a symbol or a file name holding "%1" stays as it is.
    QString text = ExchangeTexts::tr("Imported %1 of %2 from %3")
                       .arg(days(s.days),
                            s.symbols.isEmpty() ? ExchangeTexts::tr("no symbol")
                                                : s.symbols.join(QLatin1String(", ")),
                            files == 1 ? ExchangeTexts::tr("1 file")
                                       : ExchangeTexts::tr("%1 files").arg(files));
    if (s.skippedDays > 0)
        text += ExchangeTexts::tr("; %1 without figures skipped").arg(days(s.skippedDays));
    text += ExchangeTexts::tr("; updated %1")
                .arg(s.stocks == 1 ? ExchangeTexts::tr("1 stock")
                                   : ExchangeTexts::tr("%1 stocks").arg(count(s.stocks)));
    if (s.forecasterDays > 0)
        text +=
            ExchangeTexts::tr(" and the inputs of %1 forecaster days").arg(count(s.forecasterDays));
    if (s.breadthDays > 0)
        text += ExchangeTexts::tr("; advances and declines of %1 days").arg(count(s.breadthDays));
    if (s.forecastsChanged > 0)
        text += ExchangeTexts::tr("; the forecasts of %1 worked out again from their new inputs")
                    .arg(s.forecastsChanged == 1
                             ? ExchangeTexts::tr("1 record")
                             : ExchangeTexts::tr("%1 records").arg(count(s.forecastsChanged)));
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
    const TableColumns prices = readTableColumns(connection.db(), QStringLiteral("Prices"));
    if (prices.error.isValid()) {
        result.message = nothingImported(
            sqlitePrimaryCode(prices.error) == SQLITE_NOTADB
                ? engineMessage(ExchangeTexts::tr("The file \"%1\" is not a market database")
                                    .arg(databasePath),
                                prices.error)
                : engineMessage(ExchangeTexts::tr("The market database \"%1\" could not be read")
                                    .arg(databasePath),
                                prices.error));
        return result;
    }
    if (prices.table.isEmpty()) {
        result.message = nothingImported(
            ExchangeTexts::tr(
                "The market database \"%1\" has no table \"Prices\": it is of an older "
                "version, and could not be brought up to date (that needs its backup "
                "first, and a file that may be written).")
                .arg(databasePath));
        return result;
    }
    Transaction transaction(connection.db());
    if (!transaction.begin()) {
        result.message = nothingImported(engineMessage(
            ExchangeTexts::tr("The market database \"%1\" could not be written").arg(databasePath),
            transaction.error()));
        return result;
    }
    // A long history is loaded with the index set aside, made again once its days are in.
    BulkLoad bulk(connection.db(), prices.table, BulkLoad::Unique::SetAside);
    if (const QSqlError error = bulk.start(); error.isValid()) {
        result.message = nothingImported(engineMessage(
            ExchangeTexts::tr("The market database \"%1\" could not be written").arg(databasePath),
            error));
        return result;
    }
    Import import(connection.db(), bulk, canonicalSymbol(ticker), progress);
    for (const Source &source : sources)
        if (std::optional<QString> refusal = import.read(source)) {
            result.message = nothingImported(*refusal);
            return result;
        }
    if (std::optional<QString> refusal = import.settle()) {
        result.message = nothingImported(*refusal);
        return result;
    }
    if (std::optional<QString> refusal = import.finish()) {
        result.message = nothingImported(*refusal);
        return result;
    }
    // A file that changed after it was read has more (or other) days than were imported.
    if (std::optional<QString> refusal = import.changedSince()) {
        result.message = nothingImported(*refusal);
        return result;
    }
    if (!transaction.commit()) {
        result.message = nothingImported(engineMessage(
            ExchangeTexts::tr("The market database \"%1\" could not be written").arg(databasePath),
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
                engineMessage(ExchangeTexts::tr("The stocks could not be read"), query.lastError());
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
