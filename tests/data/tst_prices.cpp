// SPDX-License-Identifier: GPL-3.0-or-later
// Market data in: the table of daily prices, and files of an older schema brought up to date.
#include "tests/support/testdb.h"
#include "tests/support/testsupport.h"

#include "data/exchange/priceimport.h"
#include "data/store/backup.h"
#include "data/store/openingcheck.h"
#include "data/store/database.h"
#include "data/store/schema.h"

#include "data/quotes/quotesource.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

using namespace vantora;

namespace {

const QString kRowsOf = QStringLiteral(
    "SELECT \"Ticker Symbol\" || ' ' || \"Date\" || ' ' || quote(\"Open\") || ' ' || "
    "quote(\"High\") || ' ' || quote(\"Low\") || ' ' || quote(\"Close\") || ' ' || "
    "quote(\"Volume\") FROM Prices ORDER BY rowid");

// A quote source on 127.0.0.1, in a thread of its own so that it also answers a tool that the
// test waits for. /ok/SYMBOL gives a small history, /slow/ never answers, /html/, /empty/ and
// /missing/ give a web page, "No data" and 404.
class LocalSource : public QThread
{
public:
    ~LocalSource() override
    {
        quit();
        wait();
    }
    quint16 start()
    {
        QThread::start();
        while (m_port.loadAcquire() == 0)
            QThread::msleep(5);
        return quint16(m_port.loadAcquire());
    }
    QString url(const char *kind) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2/{symbol}?from={from}")
            .arg(m_port.loadAcquire())
            .arg(QLatin1String(kind));
    }

protected:
    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [&server] {
            QTcpSocket *socket = server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                const QByteArray path = socket->readAll().split(' ').value(1);
                if (path.startsWith("/slow/"))
                    return;
                QByteArray status = "200 OK", body;
                if (path.startsWith("/ok/"))
                    body = "Date,Open,High,Low,Close,Volume\r\n2026-12-03,1,2,1,1.5,10\r\n"
                           "2026-12-04,1.5,3,1.5,2.5,20\r\n";
                else if (path.startsWith("/html/"))
                    body = "<!DOCTYPE html><html><body>Sorry</body></html>";
                else if (path.startsWith("/empty/"))
                    body = "No data";
                else
                    status = "404 Not Found";
                socket->write("HTTP/1.1 " + status +
                              "\r\nContent-Length: " + QByteArray::number(body.size()) +
                              "\r\nConnection: close\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
        });
        m_port.storeRelease(server.serverPort());
        exec();
    }

private:
    QAtomicInt m_port;
};

} // namespace

class TstPrices : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestDatabase> m_db;

    // Writes the files (name, then content, lines joined by CRLF) into the test's folder.
    QStringList write(const QStringList &namesAndContents)
    {
        QStringList paths;
        for (qsizetype i = 0; i + 1 < namesAndContents.size(); i += 2) {
            const QString path = QDir(m_db->folder()).filePath(namesAndContents[i]);
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.write(QString(namesAndContents[i + 1]).replace('|', "\r\n").toUtf8());
            paths << path;
        }
        return paths;
    }
    prices::ImportResult import(const QStringList &namesAndContents, const QString &ticker = {})
    {
        return prices::importFiles(m_db->path(), write(namesAndContents), ticker);
    }
    QStringList forecaster()
    {
        QStringList rows;
        for (const QVariant &row : m_db->column(QStringLiteral(
                 "SELECT \"Date\" || ' ' || ifnull(\"Dow Yesterday\", '-') || ' ' || "
                 "ifnull(DD, '-') || ' ' || ifnull(\"NasdaQ Yesterday\", '-') || ' ' || "
                 "ifnull(Dn, '-') || ' ' || ifnull(\"SP 500 Yesterday\", '-') || ' ' || "
                 "ifnull(Ds, '-') || ' ' || ifnull(Advances, '-') || ' ' || ifnull(Declines, "
                 "'-') || ' ' || ifnull(DF, '-') FROM Forecaster ORDER BY rowid")))
            rows << row.toString();
        return rows;
    }

private Q_SLOTS:
    void init()
    {
        forgetOpeningChecks();
        m_db = std::make_unique<test::TestDatabase>();
    }
    void cleanup() { m_db.reset(); }

    void layouts_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("ticker");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("Date,Open,High,Low,Close,Volume; name gives AAPL")
            << QStringList{"aapl.us.csv", "Date,Open,High,Low,Close,Volume|"
                                          "2026-12-03,10,12,9,11,1000|2026-12-04,11,13,10,12.5,900"}
            << ""
            << QStringList{"AAPL 2026-12-03 10.0 12.0 9.0 11.0 1000.0",
                           "AAPL 2026-12-04 11.0 13.0 10.0 12.5 900.0"};
        QTest::newRow("Adj Close, newest first, a day of nulls, ^spx_d gives ^GSPC")
            << QStringList{"^spx_d.csv", "Date,Open,High,Low,Close,Adj Close,Volume|"
                                         "2026-12-04,2,3,1,2.5,2.4,7|"
                                         "2026-12-03,null,null,null,null,null,null|"
                                         "2026-12-02,1,2,1,1.5,1.4,6"}
            << ""
            << QStringList{"^GSPC 2026-12-04 2.0 3.0 1.0 2.5 7.0",
                           "^GSPC 2026-12-02 1.0 2.0 1.0 1.5 6.0"};
        QTest::newRow("timestamp, newest first, more columns; --ticker")
            << QStringList{"daily.csv", "timestamp,open,high,low,close,volume,dividend|"
                                        "2026-12-04,5,6,4,5.5,100,0|2026-12-03,4,5,3,4.5,90,0"}
            << "ibm"
            << QStringList{"IBM 2026-12-04 5.0 6.0 4.0 5.5 100.0",
                           "IBM 2026-12-03 4.0 5.0 3.0 4.5 90.0"};
        QTest::newRow("Date,Close with YYYYMMDD, names in other case and spacing")
            << QStringList{"x_y.csv", " date , CLOSE |20261203,7|20261204,8"} << ""
            << QStringList{"X 2026-12-03 NULL NULL NULL 7.0 NULL",
                           "X 2026-12-04 NULL NULL NULL 8.0 NULL"};
        QTest::newRow("a Ticker column: many symbols, index aliases")
            << QStringList{"all.csv", "Ticker,Date,Close|DJI,2026-12-03,100|^NDQ,2026-12-03,50|"
                                      "msft,2026-12-03,400"}
            << ""
            << QStringList{"^DJI 2026-12-03 NULL NULL NULL 100.0 NULL",
                           "^IXIC 2026-12-03 NULL NULL NULL 50.0 NULL",
                           "MSFT 2026-12-03 NULL NULL NULL 400.0 NULL"};
    }
    void layouts()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, ticker);
        QFETCH(QStringList, rows);
        const prices::ImportResult result = import(files, ticker);
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(m_db->column(kRowsOf).size(), rows.size());
        QStringList stored;
        for (const QVariant &row : m_db->column(kRowsOf))
            stored << row.toString();
        QCOMPARE(stored, rows);
        // Importing again changes nothing: each day is replaced by itself.
        QVERIFY(import(files, ticker).ok);
        QStringList again;
        for (const QVariant &row : m_db->column(kRowsOf))
            again << row.toString();
        QCOMPARE(again, stored);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("bad date")
            << "Date,Close|2026-12-03,1|2026-02-30,2"
            << "\"bad.csv\", line 3, field \"Date\": \"2026-02-30\" is no date";
        QTest::newRow("no number") << "Date,Open,Close|2026-12-03,1,2|2026-12-04,x,2"
                                   << "\"bad.csv\", line 3, field \"Open\": \"x\" is no number";
        QTest::newRow("no close column") << "Date,Open,High|2026-12-03,1,2"
                                         << "\"bad.csv\", line 1, field \"Close\": the header";
        QTest::newRow("unknown layout") << "Name,Price|ACME,1"
                                        << "\"bad.csv\", line 1, field \"Date\": the header";
    }
    void refusals()
    {
        QFETCH(QString, content);
        QFETCH(QString, expected);
        const QStringList before = m_db->rows(QStringLiteral("Forecaster"));
        const prices::ImportResult result =
            import({"good.csv", "Date,Close|2026-12-03,1", "bad.csv", content});
        QVERIFY(!result.ok);
        QVERIFY2(result.message.contains(QStringLiteral("/") + expected.mid(1)),
                 qPrintable(result.message));
        QVERIFY(result.message.endsWith("Nothing was imported; the database is as it was."));
        QCOMPARE(m_db->count(QStringLiteral("Prices")), 0);
        QCOMPARE(m_db->rows(QStringLiteral("Forecaster")), before);
    }

    // Today's price and the 52-week range: the 364 days that end with the latest one.
    void stockUpdate_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("expected"); // price, high, low
        QTest::newRow("a year and a day") << "Date,High,Low,Close|2025-01-02,99,1,50|"
                                             "2025-01-03,20,8,10|2026-01-01,15,9,12"
                                          << "12.0 20.0 8.0";
        QTest::newRow("shorter than a year")
            << "Date,High,Low,Close|2025-12-31,14,11,13|2026-01-01,15,9,12"
            << "12.0 15.0 9.0";
        QTest::newRow("closes only") << "Date,Close|2025-12-30,13|2025-12-31,11|2026-01-01,12"
                                     << "12.0 13.0 11.0";
    }
    void stockUpdate()
    {
        QFETCH(QString, content);
        QFETCH(QString, expected);
        QVERIFY(m_db->insert(QStringLiteral("stocks"), {"Name of Stock", "Ticker Symbol"},
                             {"Acme", "acme"}));
        const prices::ImportResult result = import({"ACME.csv", content});
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(result.summary.stocks, 1);
        QCOMPARE(m_db->scalar(QStringLiteral(
                     "SELECT quote(\"Current Price\") || ' ' || quote(\"52 Wk Hi\") || ' ' || "
                     "quote(\"52 Wk Lo\") FROM stocks")),
                 QVariant(expected));
    }

    void fetch_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expected");
        QTest::newRow("history") << "ok"
                                 << "Updated 2 of 2 symbols (4 days).";
        QTest::newRow("an error status") << "missing"
                                         << "ACME (http://127.0.0.1:PORT/missing/acme.us";
        QTest::newRow("a web page") << "html"
                                    << "the answer is a web page";
        QTest::newRow("no data") << "empty"
                                 << "it begins \"No data\"";
        QTest::newRow("no answer") << "slow"
                                   << "no answer within 15 seconds";
    }
    void fetch()
    {
        QFETCH(QString, kind);
        QFETCH(QString, expected);
        LocalSource source;
        const quint16 port = source.start();
        // The template names a source of its own: the symbols go as they are, in lower case.
        QString url = source.url(kind.toLatin1().constData());
        url.replace(QStringLiteral("{symbol}"), QStringLiteral("{symbol}.us"));
        quotes::FetchOptions options;
        options.urlTemplate = url;
        options.from = QDate(2026, 12, 1);
        const quotes::FetchResult result =
            quotes::fetchAndImport(m_db->path(), {"acme", "msft"}, options);
        expected.replace(QStringLiteral("PORT"), QString::number(port));
        const QString said = result.message + '\n' + result.problems.join('\n');
        QVERIFY2(said.contains(expected), qPrintable(said));
        QCOMPARE(result.ok, kind == QLatin1String("ok"));
        QCOMPARE(m_db->count(QStringLiteral("Prices")), result.ok ? 4 : 0);
    }

    // From the main window's menu: files picked, and the holdings and indices fetched.
    void fromTheMenu()
    {
        LocalSource source;
        source.start();
        const QString app = QStringLiteral("vantora");
        QSettings(QSettings::UserScope, app, app)
            .setValue(QStringLiteral("Quotes/URL template"), source.url("ok"));
        const auto forget = qScopeGuard(
            [app] { QSettings(QSettings::UserScope, app, app).remove(QStringLiteral("Quotes")); });
        QVERIFY(m_db->insert(QStringLiteral("stocks"), {"Ticker Symbol", "Shares Owned"},
                             {"ACME", 10}));
        QVERIFY(
            m_db->insert(QStringLiteral("stocks"), {"Ticker Symbol", "Shares Owned"}, {"NONE", 0}));
        test::ScriptedDialogs dialogs;
        dialogs.answerText(write({"msft.csv", "Date,Close|2026-12-03,400"}).join('\n'));
        test::mainWindow()->show();
        test::control<QAction>(test::mainWindow(), "importprices")->trigger();
        test::control<QAction>(test::mainWindow(), "updateprices")->trigger();
        test::unloadAllScreens();
        QCOMPARE(dialogs.requests().first().kind, DialogRequest::Files);
        QStringList said = dialogs.messages();
        QVERIFY2(said.size() == 2, qPrintable(said.join(" // ")));
        QVERIFY2(said[0].startsWith("Imported 1 days of MSFT"), qPrintable(said[0]));
        QCOMPARE(said[1], QStringLiteral("Updated 4 of 4 symbols (8 days)."));
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT \"Current Price\" FROM stocks WHERE "
                                             "\"Ticker Symbol\" = 'ACME'")),
                 QVariant(2.5));
    }

    // The tool, with --from: the days before it are left out.
    void fetchWithTheTool()
    {
        LocalSource source;
        source.start();
        const test::ToolRun run =
            test::runDatabaseTool({"fetch-prices", m_db->path(), "^spx", "--from", "2026-12-04",
                                   "--url", source.url("ok")});
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT group_concat(\"Ticker Symbol\" || ' ' || "
                                             "\"Date\") FROM Prices")),
                 QVariant(QStringLiteral("^GSPC 2026-12-04")));
    }

    // Three index files and a breadth file, by hand: the trading days are Monday 23, Tuesday 24,
    // Wednesday 25 and Friday 27 November (Thursday a holiday). A record is the day after its
    // figures: the 25th's go to Friday 27th, the 27th's, the last, to Monday 30th.
    void forecasterDaysFromIndexFiles()
    {
        QVERIFY(m_db->insert(QStringLiteral("Forecaster"), {"Date", "DF"}, {"2026-11-27", 1}));
        const prices::ImportResult result = import(
            {"^dji.csv", "Date,Close|2026-11-23,100|2026-11-24,110|2026-11-25,105|2026-11-27,120",
             "ndq.csv", "Date,Close|2026-11-23,50|2026-11-24,55|2026-11-25,54|2026-11-27,60",
             "spx.csv",
             "Date,Close|2026-11-23,10.1|2026-11-24,11.3|2026-11-25,12|2026-11-27,13|2026-11-30,14",
             "breadth.csv", "Date,Advances,Declines|2026-11-25,1500,1200|2026-11-27,1100,1900"});
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(forecaster(), (QStringList{
                                   "2026-11-27 105.0 -5.0 54.0 -1.0 12.0 0.7 1500.0 1200.0 1",
                                   "2026-11-25 110.0 10.0 55.0 5.0 11.3 1.2 - - -",
                                   "2026-11-30 120.0 15.0 60.0 6.0 13.0 1.0 1100.0 1900.0 -",
                               }));
    }

    // A file made before the table of prices existed is usable as it is, and gets the table at
    // its first opening, once its backup is made.
    void olderFileGetsThePricesAfterItsBackup()
    {
        test::TestDatabase db(test::TestDatabase::Sample);
        QVERIFY(db.exec(QStringLiteral("DROP TABLE Prices")));
        QVERIFY(db.exec(QStringLiteral("PRAGMA user_version = 0")));
        const CheckReport before = checkDatabase(db.path());
        QVERIFY2(before.ok, qPrintable(before.problems.join('\n')));
        QVERIFY(before.facts.contains(QStringLiteral("Prices: added at the next opening")));

        QCOMPARE(db.openAsAtFirstOpening(), QString());
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA user_version")).toInt(), schema::kSchemaVersion);
        QCOMPARE(db.count(QStringLiteral("Prices")), 0);
        QVERIFY(checkDatabase(db.path()).ok);
        const QStringList backups = backupsOf(db.path());
        QCOMPARE(backups.size(), 1);
        QVERIFY(!checkDatabase(backups.first()).facts.filter(QStringLiteral("Prices:")).isEmpty());
    }
};

VANTORA_TEST_MAIN(TstPrices)
#include "tst_prices.moc"
