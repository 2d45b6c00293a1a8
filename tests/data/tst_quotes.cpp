// SPDX-License-Identifier: GPL-3.0-or-later
// Prices from the quote sources: each service's answers played on 127.0.0.1, and servers that
// try to make a download endless, huge or slow.
#include "tests/support/coresupport.h"
#include "tests/support/testdb.h"

#include "data/quotes/quotesource.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <QUrlQuery>

using namespace vantora;

namespace played {

// How a played answer comes: whole, a body without end, one byte every half second, or never.
enum class Delivery { Whole, Endless, Trickle, Silent };
struct Played
{
    QByteArray status = "200 OK";
    QByteArray body;
    Delivery delivery = Delivery::Whole;
    QByteArray headers; // extra header lines, each ending in \r\n
};

// The answers a test plays, by the start of the request's path (with its query); the first
// answer of a list is played once, then the next.
using Script = QList<QPair<QByteArray, QList<Played>>>;

} // namespace played
Q_DECLARE_METATYPE(played::Played)
Q_DECLARE_METATYPE(played::Script)

namespace {
using played::Delivery;
using played::Played;
using played::Script;

// A quote service on 127.0.0.1, in a thread of its own so that it also answers the tool that a
// test waits for. It keeps the request lines it was sent.
class PlayedService : public QThread
{
public:
    explicit PlayedService(Script script)
        : m_script(std::move(script))
    {
    }
    ~PlayedService() override
    {
        quit();
        wait();
    }
    QString base()
    {
        QThread::start();
        while (m_port.loadAcquire() == 0)
            QThread::msleep(5);
        return QStringLiteral("http://127.0.0.1:%1").arg(m_port.loadAcquire());
    }
    QStringList requests()
    {
        QMutexLocker lock(&m_mutex);
        return m_requests;
    }

protected:
    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this, &server] {
            QTcpSocket *socket = server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket,
                             [this, socket] { answer(socket); });
        });
        m_port.storeRelease(server.serverPort());
        exec();
    }

private:
    void answer(QTcpSocket *socket)
    {
        const QByteArray path = socket->readAll().split(' ').value(1);
        Played played{"404 Not Found", {}, Delivery::Whole, {}};
        {
            QMutexLocker lock(&m_mutex);
            m_requests << QString::fromUtf8(path);
            for (auto &[start, answers] : m_script)
                if (path.startsWith(start) && !answers.isEmpty()) {
                    played = answers.size() > 1 ? answers.takeFirst() : answers.first();
                    break;
                }
        }
        played.headers.replace("PORT", QByteArray::number(m_port.loadAcquire()));
        QByteArray head = "HTTP/1.1 " + played.status + "\r\n" + played.headers;
        if (played.delivery == Delivery::Whole)
            head += "Content-Length: " + QByteArray::number(played.body.size()) + "\r\n";
        socket->write(head + "Connection: close\r\n\r\n");
        if (played.delivery == Delivery::Whole) {
            socket->write(played.body);
            socket->disconnectFromHost();
        } else if (played.delivery == Delivery::Endless) {
            // Chunks as fast as the reader takes them, a few MiB ahead at most.
            const QByteArray chunk(1 << 20, 'x');
            auto more = [socket, chunk] {
                while (socket->state() == QAbstractSocket::ConnectedState &&
                       socket->bytesToWrite() < 4 * chunk.size())
                    socket->write(chunk);
            };
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
            more();
        } else if (played.delivery == Delivery::Trickle) {
            auto *timer = new QTimer(socket);
            QObject::connect(timer, &QTimer::timeout, socket, [socket] { socket->write("1"); });
            timer->start(500);
        }
    }

    Script m_script;
    QMutex m_mutex;
    QStringList m_requests;
    QAtomicInt m_port;
};

// The peak of this process's resident memory, in MiB.
double peakMemoryMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return -1;
}

// Answers shaped as the services give them, with made-up figures.
const QByteArray kYahooMsft =
    R"({"chart": {"result": [{"meta": {"currency": "USD", "symbol": "MSFT", "gmtoffset": -18000,)"
    R"( "timezone": "EST"}, "timestamp": [1793629800, 1793716200, 1793802600, 1793889000],)"
    R"( "indicators": {"quote": [{"open": [410.12, 413.3, null, 412.5], "high": [414.5, 415.88,)"
    R"( null, 418.0], "low": [409.01, 411.2, null, 412.1], "close": [413.27, 412.05, null,)"
    R"( 417.66], "volume": [18234500, 17111200, null, 20455100]}], "adjclose": [{"adjclose":)"
    R"( [413.27, 412.05, null, 417.66]}]}}], "error": null}})";
// Sydney: sessions open at 23:00 UTC the day before.
const QByteArray kYahooSydney =
    R"({"chart": {"result": [{"meta": {"symbol": "^AXJO", "gmtoffset": 39600}, "timestamp":)"
    R"( [1793746800, 1793833200], "indicators": {"quote": [{"open": [8100, 8110], "high":)"
    R"( [8150, 8160], "low": [8050, 8060], "close": [8120.5, 8130.25], "volume": [0, 0]}]}}],)"
    R"( "error": null}})";
const QByteArray kYahooNotFound = R"({"chart": {"result": null, "error": {"code": "Not Found",)"
                                  R"( "description": "No data found, symbol may be delisted"}}})";
const QByteArray kAlphaMsft = "timestamp,open,high,low,close,volume\r\n"
                              "2026-11-06,412.5000,418.0000,412.1000,417.6600,20455100\r\n"
                              "2026-11-04,413.3000,415.8800,411.2000,412.0500,17111200\r\n";
const QByteArray kAlphaLimit =
    "{\n    \"Information\": \"We have detected your API key as SECRETKEY and our standard API "
    "rate limit is 25 requests per day.\"\n}";
const QByteArray kAlphaError = "{\n    \"Error Message\": \"Invalid API call. Please retry or "
                               "visit the documentation for TIME_SERIES_DAILY.\"\n}";
const QByteArray kStooqMsft = "Date,Open,High,Low,Close,Volume\n2026-11-03,410.12,414.5,409.01,"
                              "413.27,18234500\n2026-11-04,413.3,415.88,411.2,412.05,17111200\n";
const QByteArray kStooqPage = "<!DOCTYPE html>\n<html><head><title>stooq</title></head>\n<body><p>"
                              "To download data, get your API key.</p></body></html>";
const QByteArray kHistory = "Date,Close\n2026-11-03,10\n2026-11-04,11\n";

Played ok(const QByteArray &body)
{
    return Played{"200 OK", body, Delivery::Whole, {}};
}

const QString kRows = QStringLiteral(
    "SELECT group_concat(\"Ticker Symbol\" || ' ' || \"Date\" || ' ' || \"Close\", '; ') FROM "
    "(SELECT * FROM Prices ORDER BY \"Ticker Symbol\", \"Date\")");

} // namespace

class TstQuotes : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestDatabase> m_db;

private Q_SLOTS:
    void init() { m_db = std::make_unique<test::TestDatabase>(); }
    void cleanup() { m_db.reset(); }

    // Each service's answers: what is stored and what is said.
    void sources_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("symbols");
        QTest::addColumn<Script>("script");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("asked"); // the first request's path and query

        QTest::newRow("Yahoo, a day of nulls left out")
            << "yahoo"
            << "" << QStringList{"msft"} << Script{{"/v8/finance/chart/MSFT?", {ok(kYahooMsft)}}}
            << "Updated 1 of 1 symbols (3 days)."
            << "MSFT 2026-11-02 413.27; MSFT 2026-11-03 412.05; MSFT 2026-11-05 417.66"
            << "/v8/finance/chart/MSFT?period1=0&period2=";
        QTest::newRow("Yahoo, east of UTC: the session's own date")
            << "yahoo"
            << "" << QStringList{"^axjo"}
            << Script{{"/v8/finance/chart/%5EAXJO?", {ok(kYahooSydney)}}}
            << "Updated 1 of 1 symbols (2 days)."
            << "^AXJO 2026-11-04 8120.5; ^AXJO 2026-11-05 8130.25"
            << "/v8/finance/chart/%5EAXJO?period1=0";
        QTest::newRow("Yahoo, a share class and an error answer")
            << "yahoo"
            << "" << QStringList{"brk.b", "nosuch"}
            << Script{{"/v8/finance/chart/BRK-B?", {ok(kYahooMsft)}},
                      {"/v8/finance/chart/NOSUCH?",
                       {Played{"404 Not Found", kYahooNotFound, Delivery::Whole, {}}}}}
            << "Updated 1 of 2 symbols (3 days); not updated: NOSUCH (No data found, symbol may "
               "be delisted)."
            << "BRK.B 2026-11-02 413.27; BRK.B 2026-11-03 412.05; BRK.B 2026-11-05 417.66"
            << "/v8/finance/chart/BRK-B?";
        const Played slowDown{"429 Too Many Requests", "Too Many Requests", Delivery::Whole,
                              "Retry-After: 1\r\n"};
        QTest::newRow("Yahoo, 429 waited for once")
            << "yahoo"
            << "" << QStringList{"msft"}
            << Script{{"/v8/finance/chart/MSFT?", {slowDown, ok(kYahooMsft)}}}
            << "Updated 1 of 1 symbols (3 days)."
            << "MSFT 2026-11-02 413.27; MSFT 2026-11-03 412.05; MSFT 2026-11-05 417.66"
            << "/v8/finance/chart/MSFT?";
        QTest::newRow("Yahoo, 429 again: the limit, and no more asked")
            << "yahoo"
            << "" << QStringList{"msft", "ibm", "acme"}
            << Script{{"/v8/finance/chart/", {slowDown}}}
            << "Updated 0 of 3 symbols (no new days); not updated: MSFT, IBM (the source's "
               "request limit was reached (429 Too Many Requests)), ACME (not asked: the source's "
               "request limit was reached)."
            << ""
            << "/v8/finance/chart/MSFT?";
        QTest::newRow("Alpha Vantage, CSV newest first, the key sent")
            << "alphavantage"
            << "SECRETKEY" << QStringList{"msft"}
            << Script{{"/query?function=TIME_SERIES_DAILY&symbol=MSFT&", {ok(kAlphaMsft)}}}
            << "Updated 1 of 1 symbols (2 days)."
            << "MSFT 2026-11-04 412.05; MSFT 2026-11-06 417.66"
            << "/query?function=TIME_SERIES_DAILY&symbol=MSFT&outputsize=full&datatype=csv&"
               "apikey=SECRETKEY";
        QTest::newRow("Alpha Vantage, its limit: the key never shown, no more asked")
            << "alphavantage"
            << "SECRETKEY" << QStringList{"msft", "ibm"} << Script{{"/query?", {ok(kAlphaLimit)}}}
            << "Updated 0 of 2 symbols (no new days); not updated: MSFT (Alpha Vantage: We have "
               "detected your API key as … and our standard API rate limit is 25 requests per "
               "day.), IBM (not asked: the source's request limit was reached)."
            << ""
            << "/query?";
        QTest::newRow("Alpha Vantage, an error and an index")
            << "alphavantage"
            << "SECRETKEY" << QStringList{"^dji", "zzzz"} << Script{{"/query?", {ok(kAlphaError)}}}
            << "Updated 0 of 2 symbols (no new days); not updated: ^DJI (Alpha Vantage offers no "
               "indices; choose another source for them), ZZZZ (Alpha Vantage: Invalid API call. "
               "Please retry or visit the documentation for TIME_SERIES_DAILY.)."
            << ""
            << "/query?function=TIME_SERIES_DAILY&symbol=ZZZZ";
        QTest::newRow("Alpha Vantage without a key")
            << "alphavantage"
            << "" << QStringList{"msft"} << Script{}
            << "Alpha Vantage needs an API key: give it with --key or in VANTORA_QUOTES_KEY, or "
               "enter it in File > Preferences. Nothing was updated."
            << ""
            << "";
        QTest::newRow("Stooq, the key sent") << "stooq"
                                             << "SECRETKEY" << QStringList{"msft"}
                                             << Script{{"/q/d/l/?s=msft.us&", {ok(kStooqMsft)}}}
                                             << "Updated 1 of 1 symbols (2 days)."
                                             << "MSFT 2026-11-03 413.27; MSFT 2026-11-04 412.05"
                                             << "/q/d/l/?s=msft.us&i=d&apikey=SECRETKEY";
        QTest::newRow("Stooq, a web page with status 200")
            << "stooq"
            << "SECRETKEY" << QStringList{"msft"} << Script{{"/q/d/l/", {ok(kStooqPage)}}}
            << "Updated 0 of 1 symbols (no new days); not updated: MSFT (Stooq asks for an API "
               "key (or a browser check))."
            << ""
            << "/q/d/l/?s=msft.us&i=d&apikey=SECRETKEY";
    }
    void sources()
    {
        QFETCH(QString, source);
        QFETCH(QString, key);
        QFETCH(QStringList, symbols);
        QFETCH(Script, script);
        QFETCH(QString, said);
        QFETCH(QString, stored);
        QFETCH(QString, asked);
        PlayedService service(script);
        quotes::FetchOptions options;
        options.source = *quotes::sourceNamed(source);
        options.key = key;
        options.baseUrl = service.base();
        const quotes::FetchResult result = quotes::fetchAndImport(m_db->path(), symbols, options);
        QCOMPARE(result.message, said);
        QCOMPARE(result.ok, result.updated == symbols.size());
        QCOMPARE(m_db->scalar(kRows).toString(), stored);
        QVERIFY(!result.problems.join('\n').contains(QLatin1String("SECRETKEY")));
        const QStringList requests = service.requests();
        QVERIFY2(asked.isEmpty() ? requests.isEmpty() : requests.value(0).startsWith(asked),
                 qPrintable(requests.join('\n')));
    }

    // Asked again, a symbol is asked from the day after its last stored day, and nothing new is
    // stored.
    void onlyWhatIsNew_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("asked");
        QTest::newRow("yahoo") << "yahoo" << kYahooMsft
                               << "/v8/finance/chart/MSFT?period1=1793664000&"; // 3 November
        QTest::newRow("stooq") << "stooq" << kStooqMsft
                               << "/q/d/l/?s=msft.us&i=d&apikey=K&d1=20261104&";
    }
    void onlyWhatIsNew()
    {
        QFETCH(QString, source);
        QFETCH(QByteArray, answer);
        QFETCH(QString, asked);
        QVERIFY(m_db->insert(QStringLiteral("Prices"), {"Ticker Symbol", "Date", "Close"},
                             {"MSFT", "2026-11-03", 1.0}));
        PlayedService service({{"/", {ok(answer)}}});
        quotes::FetchOptions options;
        options.source = *quotes::sourceNamed(source);
        options.key = QStringLiteral("K");
        options.baseUrl = service.base();
        const quotes::FetchResult first = quotes::fetchAndImport(m_db->path(), {"MSFT"}, options);
        QVERIFY2(first.ok, qPrintable(first.message));
        const QStringList before = m_db->rows(QStringLiteral("Prices"));
        QVERIFY2(!before.filter(QStringLiteral("'2026-11-03'|NULL|NULL|NULL|1.0")).isEmpty(),
                 qPrintable(before.join('\n')));
        const quotes::FetchResult again = quotes::fetchAndImport(m_db->path(), {"MSFT"}, options);
        QVERIFY2(service.requests().value(0).startsWith(asked),
                 qPrintable(service.requests().join('\n')));
        QCOMPARE(again.message, QStringLiteral("Updated 1 of 1 symbols (no new days)."));
        QCOMPARE(m_db->rows(QStringLiteral("Prices")), before);
    }

    // Servers that would hold the download for ever or fill the memory: each is stopped within
    // its limit, and the symbols that did arrive are kept.
    void limits_data()
    {
        QTest::addColumn<Played>("played");
        QTest::addColumn<int>("totalMs");
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("withinMs");
        QTest::newRow("an endless body") << Played{"200 OK", {}, Delivery::Endless, {}} << 60000
                                         << "BAD (the answer is larger than 64 MiB)" << 30000;
        QTest::newRow("a length of 10 GB")
            << Played{"200 OK", {}, Delivery::Endless, "Content-Length: 10737418240\r\n"} << 60000
            << "BAD (the answer is larger than 64 MiB (it announces 10240 MiB))" << 3000;
        QTest::newRow("a byte every half second")
            << Played{"200 OK", {}, Delivery::Trickle, "Content-Length: 1000\r\n"} << 2000
            << "BAD (no whole answer within 2 seconds)" << 4000;
        QTest::newRow("a redirect to another host")
            << Played{"302 Found", {}, Delivery::Whole, "Location: http://localhost:PORT/ok/\r\n"}
            << 60000 << "BAD (the source sent the request on to http://localhost:" << 3000;
        QTest::newRow("a redirect on the same host")
            << Played{"302 Found", {}, Delivery::Whole, "Location: /ok/bad\r\n"} << 60000
            << "Updated 2 of 2 symbols (4 days)." << 3000;
    }
    void limits()
    {
        QFETCH(Played, played);
        QFETCH(int, totalMs);
        QFETCH(QString, said);
        QFETCH(int, withinMs);
        PlayedService service({{"/ok/", {ok(kHistory)}}, {"/bad/", {played}}});
        quotes::FetchOptions options;
        options.urlTemplate = service.base() + QStringLiteral("/{symbol}/{symbol}");
        options.limits.totalMs = totalMs;
        options.limits.idleMs = 1500;
        QElapsedTimer clock;
        clock.start();
        const quotes::FetchResult result =
            quotes::fetchAndImport(m_db->path(), {"ok", "bad"}, options);
        const qint64 took = clock.elapsed();
        const double peak = peakMemoryMiB();
        qInfo("%s: %lld ms, peak memory %.0f MiB", QTest::currentDataTag(), took, peak);
        QVERIFY2(result.message.contains(said), qPrintable(result.message));
        QVERIFY2(took < withinMs, qPrintable(QString::number(took)));
        QVERIFY2(peak < 200, qPrintable(QString::number(peak)));
        QVERIFY(m_db->count(QStringLiteral("Prices")) >= 2); // the good symbol's days
    }

    // Cancel stops a transfer that is still going at once, and nothing of it is stored. (A
    // trickle, not an endless body: on a loaded machine an endless one can reach the size limit
    // before the cancel comes.)
    void cancelStopsTheTransfer()
    {
        PlayedService service({{"/", {Played{"200 OK", {}, Delivery::Trickle, {}}}}});
        quotes::FetchOptions options;
        options.urlTemplate = service.base() + QStringLiteral("/{symbol}");
        QElapsedTimer clock;
        clock.start();
        const quotes::FetchResult result =
            quotes::fetchAndImport(m_db->path(), {"acme", "msft"}, options,
                                   [&clock](int, int) { return clock.elapsed() < 300; });
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(result.message,
                 QStringLiteral("The update was cancelled; 0 of 2 symbols had been updated (no "
                                "new days)."));
        QCOMPARE(m_db->count(QStringLiteral("Prices")), 0);
    }

    // Before anything is asked: a template that names no symbol, a host that cannot be reached.
    void refusedBeforeAsking_data()
    {
        QTest::addColumn<QString>("urlTemplate");
        QTest::addColumn<QString>("said");
        QTest::newRow("no {symbol}")
            << "http://127.0.0.1:1/prices.csv"
            << "The address template \"http://127.0.0.1:1/prices.csv\" has no {symbol}: every "
               "symbol would be asked at the same address. Nothing was updated.";
        QTest::newRow("not a web address")
            << "file:///etc/{symbol}"
            << "The address template \"file:///etc/{symbol}\" is no http or https address. "
               "Nothing was updated.";
        QTest::newRow("no one there") << "http://127.0.0.1:1/{symbol}"
                                      << "Could not reach 127.0.0.1: connection refused. Nothing "
                                         "was updated.";
    }
    void refusedBeforeAsking()
    {
        QFETCH(QString, urlTemplate);
        QFETCH(QString, said);
        quotes::FetchOptions options;
        options.urlTemplate = urlTemplate;
        const quotes::FetchResult result =
            quotes::fetchAndImport(m_db->path(), {"acme", "msft"}, options);
        QCOMPARE(result.message, said);
        QVERIFY(!result.ok);
    }

    // The tool: the exit code, a short summary however many symbols fail, and no key shown.
    void theTool()
    {
        QStringList symbols;
        for (int i = 0; i < 31; ++i)
            symbols << QStringLiteral("S%1").arg(i);
        test::ToolRun run =
            test::runDatabaseTool(QStringList{"fetch-prices", m_db->path()} + symbols +
                                  QStringList{"--source", "stooq", "--key", "SECRETKEY",
                                              "--base-url", "http://127.0.0.1:1"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.output.trimmed().count('\n') < 3, qPrintable(run.output));
        QVERIFY2(run.output.contains("Could not reach 127.0.0.1: connection refused"),
                 qPrintable(run.output));
        QVERIFY(!run.output.contains("SECRETKEY"));

        PlayedService service({{"/v8/", {ok(kYahooMsft)}}});
        run = test::runDatabaseTool({"fetch-prices", m_db->path(), "MSFT", "--base-url",
                                     service.base(), "--from", "2026-11-03"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.output.trimmed(), QStringLiteral("Updated 1 of 1 symbols (2 days)."));
    }
};

VANTORA_CORE_TEST_MAIN(TstQuotes)
#include "tst_quotes.moc"
