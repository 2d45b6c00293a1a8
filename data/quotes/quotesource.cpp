// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/quotes/quotesource.h"

#include "data/quotes/keys.h"

#include "data/exchange/pricefiles.h"
#include "data/exchange/priceimport.h"
#include "data/store/connection.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QMap>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlQuery>
#include <QUrlQuery>
#include <memory>
#include <vector>

namespace vantora::quotes {
namespace {

bool isStooq(const QString &urlTemplate)
{
    return QUrl(urlTemplate).host().endsWith(QLatin1String("stooq.com"), Qt::CaseInsensitive);
}

// A JSON answer larger than this is no daily history (fifty years of one are about 1 MiB), and
// would take many times its size to read.
constexpr qint64 kMaxJsonBytes = qint64(16) << 20;

// Waiting for a service that asks the program to slow down: once a run, at most this long.
constexpr int kMaxRetryWaitSeconds = 10;
constexpr int kDefaultRetryWaitSeconds = 5;

QSettings programSettings()
{
    // The program's own settings, whichever program reads them.
    return QSettings(QSettings::UserScope, QStringLiteral("vantora"), QStringLiteral("vantora"));
}

// What the answer is, when it is no file of daily history.
QString notAPriceFile(const QByteArray &bytes)
{
    const QByteArray start = bytes.left(512).trimmed();
    if (start.isEmpty())
        return QStringLiteral("the answer was empty");
    const QByteArray lower = start.toLower();
    if (lower.startsWith("<!doctype") || lower.startsWith("<html") || lower.contains("<body"))
        return QStringLiteral("the answer is a web page, not a file of daily history");
    const qsizetype end = start.indexOf('\n');
    QStringList header =
        QString::fromUtf8(end < 0 ? start : start.left(end)).trimmed().split(QLatin1Char(','));
    QString problem;
    if (prices::recognise(header, &problem))
        return {};
    const QString first =
        QString::fromUtf8(start.left(end < 0 ? 80 : std::min<qsizetype>(end, 80))).trimmed();
    return QStringLiteral("the answer is no file of daily history (it begins \"%1\")").arg(first);
}

QByteArray figure(const QJsonValue &value)
{
    return value.isDouble()
               ? QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest).toLatin1()
               : QByteArray();
}

// Yahoo's chart answer as a file of daily history: a day is the date where the exchange is
// (its session's start plus the exchange's offset from UTC), and a day without a close is left
// out.
std::optional<QString> yahooHistory(const Answer &answer, QByteArray *history)
{
    if (answer.bytes.size() > kMaxJsonBytes)
        return QStringLiteral("the answer is larger than %1").arg(sizeText(kMaxJsonBytes));
    QJsonParseError parse;
    const QJsonObject chart = QJsonDocument::fromJson(answer.bytes, &parse)
                                  .object()
                                  .value(QLatin1String("chart"))
                                  .toObject();
    if (chart.isEmpty()) {
        if (answer.status >= 400)
            return QStringLiteral("the source answered %1 %2")
                .arg(QString::number(answer.status), answer.reason);
        const QString other = notAPriceFile(answer.bytes);
        return other.isEmpty() ? QStringLiteral("the answer is no chart of daily history") : other;
    }
    const QJsonObject error = chart.value(QLatin1String("error")).toObject();
    if (!error.isEmpty()) {
        const QString description = error.value(QLatin1String("description")).toString();
        return description.isEmpty() ? error.value(QLatin1String("code")).toString() : description;
    }
    const QJsonObject result = chart.value(QLatin1String("result")).toArray().at(0).toObject();
    if (result.isEmpty())
        return QStringLiteral("the answer holds no chart");
    const qint64 offset = qint64(result.value(QLatin1String("meta"))
                                     .toObject()
                                     .value(QLatin1String("gmtoffset"))
                                     .toDouble());
    const QJsonArray times = result.value(QLatin1String("timestamp")).toArray();
    const QJsonObject quote = result.value(QLatin1String("indicators"))
                                  .toObject()
                                  .value(QLatin1String("quote"))
                                  .toArray()
                                  .at(0)
                                  .toObject();
    const QJsonArray columns[] = {
        quote.value(QLatin1String("open")).toArray(), quote.value(QLatin1String("high")).toArray(),
        quote.value(QLatin1String("low")).toArray(), quote.value(QLatin1String("close")).toArray(),
        quote.value(QLatin1String("volume")).toArray()};
    *history = "Date,Open,High,Low,Close,Volume\n";
    for (qsizetype i = 0; i < times.size(); ++i) {
        if (!columns[3].at(i).isDouble())
            continue;
        const QDate day =
            QDateTime::fromSecsSinceEpoch(qint64(times.at(i).toDouble()) + offset, Qt::UTC).date();
        *history += day.toString(Qt::ISODate).toLatin1();
        for (const QJsonArray &column : columns)
            *history += ',' + figure(column.at(i));
        *history += '\n';
    }
    return std::nullopt;
}

// Alpha Vantage answers a refusal in JSON with status 200; its Note and Information are its
// request limit.
std::optional<QString> alphaVantageRefusal(const QByteArray &bytes, bool *limit)
{
    if (!bytes.trimmed().startsWith('{'))
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(bytes.left(kMaxJsonBytes)).object();
    for (const char *name : {"Note", "Information"})
        if (object.contains(QLatin1String(name))) {
            *limit = true;
            return QStringLiteral("Alpha Vantage: %1")
                .arg(object.value(QLatin1String(name)).toString());
        }
    if (object.contains(QLatin1String("Error Message")))
        return QStringLiteral("Alpha Vantage: %1")
            .arg(object.value(QLatin1String("Error Message")).toString());
    return QStringLiteral("the answer is no file of daily history");
}

// One symbol of a run: what is asked, and what came of it.
struct Ask
{
    QString given;  // as the user wrote it
    QString symbol; // as the program keeps it
    QDate from;
    QUrl address;
    QString problem; // empty once stored
    bool stored = false, asked = false, reached = false;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    qint64 days = 0;
};

// Step 1: the day after each symbol's last stored day.
std::optional<QString> lastStoredDays(const QString &databasePath, std::vector<Ask> *asks)
{
    DbConnection connection;
    if (const DbError error = connection.open(databasePath, DbConnection::Mode::ReadOnly))
        return error.message;
    QSqlQuery query(connection.db());
    if (!query.prepare(
            QStringLiteral("SELECT max(\"Date\") FROM Prices WHERE \"Ticker Symbol\" = ?")))
        return engineMessage(QStringLiteral("The prices could not be read"), query.lastError());
    for (Ask &ask : *asks) {
        query.addBindValue(ask.symbol);
        if (!query.exec())
            return engineMessage(QStringLiteral("The prices could not be read"), query.lastError());
        if (query.next()) {
            const QDate last = QDate::fromString(query.value(0).toString(), Qt::ISODate);
            if (last.isValid())
                ask.from = last.addDays(1);
        }
        query.finish();
    }
    return std::nullopt;
}

// Step 2: the address of one symbol's history, or why there is none.
std::optional<QString> addressOf(const FetchOptions &options, Ask *ask)
{
    const QDate today = QDate::currentDate();
    const QString symbol = sourceSymbol(ask->symbol, options.source);
    const QString encoded = QString::fromUtf8(QUrl::toPercentEncoding(symbol));
    const QString base = defaultBase(options.source);
    QString address;
    switch (options.source) {
    case SourceKind::Yahoo: {
        // A day begins a day early in UTC for the exchanges east of it (Sydney opens at 23:00
        // UTC the day before): the day before is asked too, and left out as the file's is.
        const qint64 start =
            ask->from.isValid() ? ask->from.addDays(-1).startOfDay(Qt::UTC).toSecsSinceEpoch() : 0;
        const qint64 end = today.addDays(1).startOfDay(Qt::UTC).toSecsSinceEpoch();
        address = QStringLiteral("%1/v8/finance/chart/%2?period1=%3&period2=%4&interval=1d")
                      .arg(base, encoded)
                      .arg(start)
                      .arg(end);
        break;
    }
    case SourceKind::AlphaVantage: {
        if (ask->symbol.startsWith(QLatin1Char('^')))
            return QStringLiteral(
                "Alpha Vantage offers no indices; choose another source for them");
        // Its compact answer holds the last 100 trading days.
        const bool compact = ask->from.isValid() && ask->from.addDays(-1) >= today.addDays(-135);
        address =
            QStringLiteral("%1/query?function=TIME_SERIES_DAILY&symbol=%2&outputsize=%3&"
                           "datatype=csv&apikey=%4")
                .arg(base, encoded, compact ? QStringLiteral("compact") : QStringLiteral("full"),
                     QString::fromUtf8(QUrl::toPercentEncoding(options.key)));
        break;
    }
    case SourceKind::Stooq:
        address = QStringLiteral("%1/q/d/l/?s=%2&i=d&apikey=%3")
                      .arg(base, encoded, QString::fromUtf8(QUrl::toPercentEncoding(options.key)));
        if (ask->from.isValid())
            address += QStringLiteral("&d1=%1&d2=%2")
                           .arg(ask->from.toString(QStringLiteral("yyyyMMdd")),
                                today.toString(QStringLiteral("yyyyMMdd")));
        break;
    case SourceKind::Template:
        ask->address = addressFor(options.urlTemplate, ask->given, ask->from);
        break;
    }
    if (options.source != SourceKind::Template)
        ask->address = QUrl(address, QUrl::StrictMode);
    if (!options.baseUrl.isEmpty()) {
        const QUrl replacement(options.baseUrl);
        ask->address.setScheme(replacement.scheme());
        ask->address.setHost(replacement.host());
        ask->address.setPort(replacement.port(-1));
    }
    if (!ask->address.isValid() ||
        (ask->address.scheme() != QLatin1String("http") &&
         ask->address.scheme() != QLatin1String("https")) ||
        ask->address.host().isEmpty())
        return QStringLiteral("\"%1\" is no web address").arg(shownAddress(ask->address));
    return std::nullopt;
}

QNetworkRequest requestOf(const Ask &ask)
{
    QNetworkRequest request(ask.address);
    // Yahoo answers a program that names itself with a refusal.
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, "
                                     "like Gecko) Chrome/124.0 Safari/537.36"));
    return request;
}

// Step 3: the answer as a file of daily history, or why it is none.
std::optional<QString> historyOf(SourceKind kind, const Answer &answer, QByteArray *history,
                                 bool *limit)
{
    if (!answer.problem.isEmpty())
        return answer.problem;
    if (answer.status == 429) {
        *limit = true;
        return QStringLiteral("the source's request limit was reached (%1 %2)")
            .arg(QString::number(answer.status), answer.reason);
    }
    if (kind == SourceKind::Yahoo)
        return yahooHistory(answer, history);
    if (answer.status >= 400)
        return QStringLiteral("the source answered %1 %2")
            .arg(QString::number(answer.status), answer.reason);
    if (kind == SourceKind::AlphaVantage)
        if (std::optional<QString> refusal = alphaVantageRefusal(answer.bytes, limit))
            return refusal;
    const QString problem = notAPriceFile(answer.bytes);
    if (kind == SourceKind::Stooq && problem.contains(QLatin1String("web page")))
        return QStringLiteral("Stooq asks for an API key (or a browser check)");
    if (!problem.isEmpty())
        return problem;
    *history = answer.bytes;
    return std::nullopt;
}

// Step 4: one symbol's history stored whole, or not at all.
void store(const QString &databasePath, const QByteArray &history, Ask *ask)
{
    const prices::ImportResult imported = prices::importSources(
        databasePath,
        {prices::Source{QStringLiteral("%1 from %2").arg(ask->symbol, shownAddress(ask->address)),
                        history, false, ask->symbol, ask->from}});
    if (!imported.ok) {
        ask->problem = imported.message.section(QStringLiteral("\nNothing was imported"), 0, 0);
        return;
    }
    ask->stored = true;
    ask->days = imported.summary.days;
}

QString reasonUnreached(const Ask &ask)
{
    switch (ask.error) {
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("host not found");
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("connection refused");
    case QNetworkReply::TimeoutError:
        return QStringLiteral("no answer");
    default:
        return ask.problem;
    }
}

QString daysText(qint64 days)
{
    if (days == 0)
        return QStringLiteral("no new days");
    return QStringLiteral("%1 %2").arg(QLocale::c().toString(days),
                                       days == 1 ? QStringLiteral("day") : QStringLiteral("days"));
}

// Step 5: what came of the run, in a line or two.
FetchResult summariseAsks(const std::vector<Ask> &asks, bool cancelled);

FetchResult summarise(const std::vector<Ask> &asks, bool cancelled, const QString &key)
{
    FetchResult result = summariseAsks(asks, cancelled);
    // A service may quote the key back in its refusal.
    if (key.trimmed().size() >= 4) {
        result.message.replace(key.trimmed(), QStringLiteral("…"));
        result.problems.replaceInStrings(key.trimmed(), QStringLiteral("…"));
    }
    return result;
}

FetchResult summariseAsks(const std::vector<Ask> &asks, bool cancelled)
{
    FetchResult result;
    result.asked = int(asks.size());
    QMap<QString, QStringList> byReason;
    QStringList reasons; // in the order met
    bool anyReached = false, anyAsked = false;
    QString host, unreached;
    for (const Ask &ask : asks) {
        result.days += ask.days;
        if (ask.stored) {
            ++result.updated;
            continue;
        }
        anyReached |= ask.reached;
        if (ask.asked && !ask.reached && !cancelled) {
            anyAsked = true;
            host = ask.address.host();
            unreached = reasonUnreached(ask);
        }
        if (ask.problem.isEmpty())
            continue;
        result.problems << QStringLiteral("%1 (%2): %3")
                               .arg(ask.symbol, shownAddress(ask.address), ask.problem);
        if (!byReason.contains(ask.problem))
            reasons << ask.problem;
        byReason[ask.problem] << ask.symbol;
    }
    result.ok = !cancelled && result.updated == result.asked;
    if (cancelled) {
        result.message = QStringLiteral("The update was cancelled; %1 of %2 symbols had been "
                                        "updated (%3).")
                             .arg(result.updated)
                             .arg(result.asked)
                             .arg(daysText(result.days));
        return result;
    }
    if (result.updated == 0 && anyAsked && !anyReached) {
        result.message =
            QStringLiteral("Could not reach %1: %2. Nothing was updated.").arg(host, unreached);
        return result;
    }
    result.message = QStringLiteral("Updated %1 of %2 symbols (%3)")
                         .arg(result.updated)
                         .arg(result.asked)
                         .arg(daysText(result.days));
    if (reasons.isEmpty())
        return result.message += QLatin1Char('.'), result;
    // At most three symbols named, each group of them with its reason once.
    QStringList groups;
    int named = 0, notUpdated = result.asked - result.updated;
    for (const QString &reason : std::as_const(reasons)) {
        if (named >= 3)
            break;
        const QStringList symbols = byReason.value(reason).mid(0, 3 - named);
        named += int(symbols.size());
        groups << QStringLiteral("%1 (%2)").arg(symbols.join(QLatin1String(", ")), reason);
    }
    result.message += QStringLiteral("; not updated: ") + groups.join(QLatin1String(", "));
    if (notUpdated > named)
        result.message += QStringLiteral(" and %1 more").arg(notUpdated - named);
    result.message += QLatin1Char('.');
    return result;
}

} // namespace

QString sourceName(SourceKind kind)
{
    switch (kind) {
    case SourceKind::Yahoo:
        return QStringLiteral("yahoo");
    case SourceKind::AlphaVantage:
        return QStringLiteral("alphavantage");
    case SourceKind::Stooq:
        return QStringLiteral("stooq");
    case SourceKind::Template:
        break;
    }
    return QStringLiteral("url");
}

QString sourceTitle(SourceKind kind)
{
    switch (kind) {
    case SourceKind::Yahoo:
        return QStringLiteral("Yahoo Finance");
    case SourceKind::AlphaVantage:
        return QStringLiteral("Alpha Vantage");
    case SourceKind::Stooq:
        return QStringLiteral("Stooq");
    case SourceKind::Template:
        break;
    }
    return QStringLiteral("Address template");
}

std::optional<SourceKind> sourceNamed(const QString &name)
{
    for (const SourceKind kind :
         {SourceKind::Yahoo, SourceKind::AlphaVantage, SourceKind::Stooq, SourceKind::Template})
        if (name.compare(sourceName(kind), Qt::CaseInsensitive) == 0)
            return kind;
    return std::nullopt;
}

bool needsKey(SourceKind kind)
{
    return kind == SourceKind::AlphaVantage || kind == SourceKind::Stooq;
}

QString defaultBase(SourceKind kind)
{
    switch (kind) {
    case SourceKind::Yahoo:
        return QStringLiteral("https://query1.finance.yahoo.com");
    case SourceKind::AlphaVantage:
        return QStringLiteral("https://www.alphavantage.co");
    case SourceKind::Stooq:
        return QStringLiteral("https://stooq.com");
    case SourceKind::Template:
        break;
    }
    return {};
}

QString defaultTemplate()
{
    return QStringLiteral("https://stooq.com/q/d/l/?s={symbol}&i=d");
}

QString savedTemplate()
{
    const QString saved = programSettings().value(QStringLiteral("Quotes/URL template")).toString();
    return saved.trimmed().isEmpty() ? defaultTemplate() : saved.trimmed();
}

SourceKind savedSource()
{
    const QSettings settings = programSettings();
    if (const std::optional<SourceKind> kind =
            sourceNamed(settings.value(QStringLiteral("Quotes/Source")).toString()))
        return *kind;
    return settings.value(QStringLiteral("Quotes/URL template")).toString().trimmed().isEmpty()
               ? SourceKind::Yahoo
               : SourceKind::Template;
}

FetchOptions savedOptions()
{
    FetchOptions options;
    options.source = savedSource();
    options.urlTemplate = savedTemplate();
    options.baseUrl =
        programSettings().value(QStringLiteral("Quotes/Base URL")).toString().trimmed();
    options.key = keyFor(options.source);
    return options;
}

QString sourceSymbol(const QString &symbol, const QString &urlTemplate)
{
    return isStooq(urlTemplate) ? sourceSymbol(symbol, SourceKind::Stooq) : symbol;
}

QString sourceSymbol(const QString &symbol, SourceKind kind)
{
    const QString canonical = prices::canonicalSymbol(symbol);
    if (kind == SourceKind::Yahoo) {
        // A share class: BRK.B is BRK-B there (an exchange's suffix, such as .TO, stays).
        static const QRegularExpression shareClass(QStringLiteral("^([^.^]+)\\.([A-Z])$"));
        const QRegularExpressionMatch match = shareClass.match(canonical);
        return match.hasMatch() ? match.captured(1) + QLatin1Char('-') + match.captured(2)
                                : canonical;
    }
    if (kind != SourceKind::Stooq)
        return kind == SourceKind::AlphaVantage ? canonical : symbol;
    if (canonical == prices::kDow)
        return QStringLiteral("^dji");
    if (canonical == prices::kNasdaq)
        return QStringLiteral("^ndq");
    if (canonical == prices::kSp500)
        return QStringLiteral("^spx");
    const QString lower = symbol.trimmed().toLower();
    return lower.contains(QLatin1Char('.')) || lower.startsWith(QLatin1Char('^'))
               ? lower
               : lower + QStringLiteral(".us");
}

QUrl addressFor(const QString &urlTemplate, const QString &symbol, QDate from)
{
    QString address = urlTemplate;
    address.replace(QLatin1String("{symbol}"),
                    QString::fromUtf8(QUrl::toPercentEncoding(sourceSymbol(symbol, urlTemplate))));
    address.replace(QLatin1String("{from}"),
                    from.isValid() ? from.toString(QStringLiteral("yyyyMMdd")) : QString());
    return QUrl(address, QUrl::StrictMode);
}

std::optional<QString> templateProblem(const QString &urlTemplate)
{
    if (!urlTemplate.contains(QLatin1String("{symbol}")))
        return QStringLiteral("The address template \"%1\" has no {symbol}: every symbol would be "
                              "asked at the same address.")
            .arg(urlTemplate);
    const QUrl address = addressFor(urlTemplate, QStringLiteral("X"), QDate(2000, 1, 1));
    if (!address.isValid() ||
        (address.scheme() != QLatin1String("http") && address.scheme() != QLatin1String("https")))
        return QStringLiteral("The address template \"%1\" is no http or https address.")
            .arg(urlTemplate);
    return std::nullopt;
}

QString shownAddress(const QUrl &address)
{
    static const QRegularExpression key(QStringLiteral("((?:api_?key|token)=)[^&#]*"),
                                        QRegularExpression::CaseInsensitiveOption);
    return address.toString().replace(key, QStringLiteral("\\1…"));
}

namespace {

// Why nothing is asked of the source as set: an unusable address template, a missing key.
std::optional<QString> refusal(const FetchOptions &options)
{
    if (options.source == SourceKind::Template)
        if (std::optional<QString> problem = templateProblem(options.urlTemplate))
            return *problem + QStringLiteral(" Nothing was updated.");
    if (needsKey(options.source) && options.key.trimmed().isEmpty())
        return QStringLiteral("%1 needs an API key: give it with --key or in VANTORA_QUOTES_KEY, "
                              "or enter it in File > Preferences. Nothing was updated.")
            .arg(sourceTitle(options.source));
    return std::nullopt;
}

// The questions of one run, two at a time (one at Alpha Vantage, which counts its requests a
// minute); each answer is stored as it arrives.
class Questions
{
public:
    Questions(const QString &databasePath, const FetchOptions &options, const Progress &progress,
              std::vector<Ask> *asks)
        : m_databasePath(databasePath)
        , m_options(options)
        , m_parallel(options.source == SourceKind::AlphaVantage ? 1 : 2)
        , m_total(int(asks->size()))
        , m_transfers(
              options.limits, [this, progress] { return !progress || progress(m_done, m_total); },
              m_parallel)
    {
        for (Ask &ask : *asks)
            if (std::optional<QString> problem = addressOf(options, &ask))
                ask.problem = *problem;
            else
                m_toAsk.push_back(&ask);
        m_done = int(asks->size() - m_toAsk.size());
    }

    // Asks every question; false when the run was cut short.
    bool run()
    {
        for (; m_next < m_toAsk.size() && m_next < std::size_t(m_parallel); ++m_next)
            send(m_toAsk[m_next], 0);
        return m_transfers.run();
    }

private:
    void send(Ask *ask, int delayMs)
    {
        ask->asked = true;
        m_transfers.get(
            requestOf(*ask), [this, ask](const Answer &answer) { arrived(ask, answer); }, delayMs);
    }

    void arrived(Ask *ask, const Answer &answer)
    {
        ask->reached = ask->reached || answer.reached();
        ask->error = answer.error;
        if (answer.status == 429 && !m_waited) {
            // Asked to slow down: once a run, a short wait and the same question again.
            m_waited = true;
            const int seconds =
                answer.retryAfterSeconds >= 0 ? answer.retryAfterSeconds : kDefaultRetryWaitSeconds;
            send(ask, std::clamp(seconds, 0, kMaxRetryWaitSeconds) * 1000);
            return;
        }
        QByteArray history;
        bool limit = false;
        if (std::optional<QString> problem = historyOf(m_options.source, answer, &history, &limit))
            ask->problem = *problem;
        else
            store(m_databasePath, history, ask);
        ++m_done;
        m_limitReached |= limit;
        if (m_limitReached) {
            // Each further question would only count against the limit again.
            for (; m_next < m_toAsk.size(); ++m_next, ++m_done)
                m_toAsk[m_next]->problem =
                    QStringLiteral("not asked: the source's request limit was reached");
            return;
        }
        if (m_next < m_toAsk.size())
            send(m_toAsk[m_next++], 0);
    }

    const QString &m_databasePath;
    const FetchOptions &m_options;
    const int m_parallel;
    const int m_total;
    int m_done = 0;
    std::vector<Ask *> m_toAsk;
    std::size_t m_next = 0;
    bool m_limitReached = false, m_waited = false;
    Transfers m_transfers;
};

} // namespace

FetchResult fetchAndImport(const QString &databasePath, const QStringList &symbols,
                           const FetchOptions &options, const Progress &progress)
{
    FetchResult refused;
    refused.asked = int(symbols.size());
    if (std::optional<QString> problem = refusal(options)) {
        refused.message = *problem;
        return refused;
    }
    std::vector<Ask> asks;
    for (const QString &symbol : symbols)
        asks.push_back({symbol, prices::canonicalSymbol(symbol), options.from, {}, {}});
    if (!options.from.isValid())
        if (std::optional<QString> problem = lastStoredDays(databasePath, &asks)) {
            refused.message = *problem + QStringLiteral("\nNothing was updated.");
            return refused;
        }
    Questions questions(databasePath, options, progress, &asks);
    const bool whole = questions.run();
    return summarise(asks, !whole, options.key);
}

QString trySource(const FetchOptions &options, const QString &symbol)
{
    if (options.source == SourceKind::Template)
        if (std::optional<QString> problem = templateProblem(options.urlTemplate))
            return *problem;
    if (needsKey(options.source) && options.key.trimmed().isEmpty())
        return QStringLiteral("%1 needs an API key.").arg(sourceTitle(options.source));
    Ask ask{symbol, prices::canonicalSymbol(symbol), QDate::currentDate().addDays(-30), {}, {}};
    if (std::optional<QString> problem = addressOf(options, &ask))
        return QStringLiteral("%1: %2.").arg(ask.symbol, *problem);
    Answer answer;
    Transfers transfers(options.limits, {}, 1);
    transfers.get(requestOf(ask), [&answer](const Answer &a) { answer = a; });
    transfers.run();
    QByteArray history;
    bool limit = false;
    QString said;
    if (!answer.reached() && answer.error != QNetworkReply::NoError) {
        ask.error = answer.error;
        ask.problem = answer.problem;
        said =
            QStringLiteral("Could not reach %1: %2.").arg(ask.address.host(), reasonUnreached(ask));
    } else if (std::optional<QString> problem =
                   historyOf(options.source, answer, &history, &limit)) {
        said = QStringLiteral("%1: %2.").arg(ask.symbol, *problem);
    } else {
        const QList<QByteArray> lines = history.trimmed().split('\n');
        said = QStringLiteral("%1 answered: %2 of %3.")
                   .arg(sourceTitle(options.source), daysText(lines.size() - 1), ask.symbol);
    }
    if (options.key.trimmed().size() >= 4)
        said.replace(options.key.trimmed(), QStringLiteral("…"));
    return said;
}

} // namespace vantora::quotes
