// SPDX-License-Identifier: GPL-3.0-or-later
// Market data in: the table of daily prices, and files of an older schema brought up to date.
#include "tests/support/coresupport.h"
#include "tests/support/localsource.h"
#include "tests/support/testdb.h"

#include "data/exchange/priceimport.h"
#include "data/exchange/tradeimport.h"
#include "data/store/backup.h"
#include "data/store/database.h"
#include "data/store/openingcheck.h"
#include "data/store/schema.h"
#include "data/store/trades.h"

#include "data/quotes/quotesource.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <atomic>
#include <sys/resource.h>
#include <thread>

using namespace vantora;

namespace {

// The hand-worked ledgers: ACME in lots with fees, a partial sale, a dividend and a split;
// BETA bought and sold whole.
const char kTrades[] = "date,SYMBOL,Action,Quantity,Price,Fees,Note|"
                       "2025-01-02,ACME,Buy,10,40,5,first lot|2025-03-03,acme,buy,10,50,5,|"
                       "2025-06-02,ACME,Sell,5,55,5,|2025-07-01,ACME,Dividend,,15,,|"
                       "2025-09-01,ACME,Split,2,,,two for one|2025-02-03,BETA,Buy,100,10,10,|"
                       "2025-04-01,BETA,Sell,100,12,10,";
const char kTradePrices[] = "Symbol,Date,Close|ACME,2025-01-02,40|ACME,2025-03-03,50|"
                            "ACME,2025-06-02,55|ACME,2025-07-01,52|ACME,2025-09-01,24|"
                            "ACME,2025-12-31,25|BETA,2025-02-03,10|BETA,2025-04-01,12|"
                            "^GSPC,2025-01-02,5000|^GSPC,2025-12-31,5500";

const QString kRowsOf = QStringLiteral(
    "SELECT \"Ticker Symbol\" || ' ' || \"Date\" || ' ' || quote(\"Open\") || ' ' || "
    "quote(\"High\") || ' ' || quote(\"Low\") || ' ' || quote(\"Close\") || ' ' || "
    "quote(\"Volume\") FROM Prices ORDER BY rowid");

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
                file.write(QString(namesAndContents[i + 1])
                               .replace('|', "\r\n")
                               .toUtf8()
                               .replace("<FF>", "\xff"));
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
        QTest::newRow("Alpha Vantage's names; a day given twice alike counts once")
            << QStringList{"daily_IBM.csv", "timestamp,close|2026-12-04,5|2026-12-04,5",
                           "daily_adjusted_MSFT.csv", "timestamp,close|2026-12-04,6"}
            << ""
            << QStringList{"IBM 2026-12-04 NULL NULL NULL 5.0 NULL",
                           "MSFT 2026-12-04 NULL NULL NULL 6.0 NULL"};
        QTest::newRow("the table's own header, as export-csv writes it")
            << QStringList{"prices.csv", "Ticker Symbol,Date,Open,High,Low,Close,Volume|"
                                         "A,2026-12-03,1,2,1,1.5,10|B,2026-12-03,3,4,3,3.5,20"}
            << ""
            << QStringList{"A 2026-12-03 1.0 2.0 1.0 1.5 10.0",
                           "B 2026-12-03 3.0 4.0 3.0 3.5 20.0"};
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
        QTest::newRow("last line cut off")
            << "Date,Open,High,Low,Close,Volume|2026-12-03,1,2,1,1.5,10|2026-12-04,1.5,3,1.5,1"
            << "\"bad.csv\", line 3, field \"Volume\": the record has 5 fields, but the header "
               "names 6 fields (is the file cut off?)";
        QTest::newRow("a field too many") << "Date,Close|2026-12-03,1,2"
                                          << "\"bad.csv\", line 2, field \"3\": the record has 3 "
                                             "fields, but the header names 2 fields.";
        QTest::newRow("a day twice, other figures")
            << "Date,Close|2026-12-03,1|2026-12-03,2"
            << "\"bad.csv\", line 3, field \"Date\": 2026-12-03 of BAD is given twice with "
               "different figures (first on line 2)";
        QTest::newRow("newest first, a day twice inside the days given")
            << "Date,Close|2026-12-05,1|2026-12-04,1|2026-12-03,1|2026-12-04,2"
            << "\"bad.csv\", line 5, field \"Date\": 2026-12-04 of BAD is given twice with "
               "different figures (first on line 3)";
        QTest::newRow("out of order, then a day twice")
            << "Date,Close|2026-12-03,1|2026-12-07,1|2026-12-05,1|2026-12-09,1|2026-12-05,2"
            << "\"bad.csv\", line 6, field \"Date\": 2026-12-05 of BAD is given twice with "
               "different figures (first on line 4)";
        QTest::newRow("a day of another file, other figures")
            << "Symbol,Date,Close|good,2026-12-03,2"
            << "\"bad.csv\", line 2, field \"Date\": 2026-12-03 of GOOD is also given by \"";
        QTest::newRow("a column twice") << "Date,Close,close|2026-12-03,1,1"
                                        << "\"bad.csv\", line 1, field \"close\": the header "
                                           "names this column twice (first as field 2).";
        QTest::newRow("Date and timestamp") << "Date,timestamp,Close|2026-12-03,2026-12-03,1"
                                            << "\"bad.csv\", line 1, field \"timestamp\": the "
                                               "header names this column twice";
        QTest::newRow("negative price") << "Date,Close|2026-12-03,-1"
                                        << "\"bad.csv\", line 2, field \"Close\": \"-1\" is "
                                           "below zero";
        QTest::newRow("negative volume") << "Date,Close,Volume|2026-12-03,1,-5"
                                         << "\"bad.csv\", line 2, field \"Volume\": \"-5\" is "
                                            "below zero";
        QTest::newRow("high below low") << "Date,High,Low,Close|2026-12-03,1,2,1.5"
                                        << "\"bad.csv\", line 2, field \"High\": the high 1 is "
                                           "below the low 2.";
        QTest::newRow("close above high") << "Date,High,Low,Close|2026-12-03,2,1,3"
                                          << "\"bad.csv\", line 2, field \"Close\": the close 3 "
                                             "lies outside the day's range (low 1, high 2).";
        QTest::newRow("close below low") << "Date,Low,Close|2026-12-03,2,1"
                                         << "\"bad.csv\", line 2, field \"Close\": the close 1 "
                                            "lies outside the day's range (low 2, high none).";
        QTest::newRow("beyond any price") << "Date,Close|2026-12-03,1e300"
                                          << "\"bad.csv\", line 2, field \"Close\": \"1e300\" is "
                                             "beyond any price";
        QTest::newRow("an empty Symbol") << "Symbol,Date,Close|ACME,2026-12-03,1| ,2026-12-04,2"
                                         << "\"bad.csv\", line 3, field \"Symbol\": the record "
                                            "names no symbol";
        QTest::newRow("negative advances") << "Date,Advances,Declines|2026-12-03,-1,2"
                                           << "\"bad.csv\", line 2, field \"Advances\": \"-1\" "
                                              "is below zero";
        QTest::newRow("a bad byte on line 3") << "Date,Close|2026-12-03,1|2026-12-04,<FF>"
                                              << "\"bad.csv\", line 3: the file is not UTF-8 "
                                                 "text (byte 0xff at this line).";
        // Past the days stored the index is set aside; a day given twice is still found.
        QString history = QStringLiteral("Date,Close");
        for (QDate day(1940, 1, 1); day < QDate(2022, 3, 1); day = day.addDays(1))
            history += QLatin1Char('|') + day.toString(Qt::ISODate) + QStringLiteral(",2");
        QTest::newRow("a day twice, other figures, after 30,000 days")
            << history + "|1940-01-02,3"
            << "\"bad.csv\", line 30012, field \"Date\": 1940-01-02 of BAD is given twice with "
               "different figures (first on line 3)";
        QTest::newRow("a line of 2 MiB")
            << "Date,Close|2026-12-03," + QString(2 * 1024 * 1024, QLatin1Char('1'))
            << "\"bad.csv\", line 2: line 2 is longer than 1 MiB; the reading stopped there.";
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
        QVERIFY2(result.message.size() < 600, "a message quotes no whole line");
        QCOMPARE(m_db->count(QStringLiteral("Prices")), 0);
        QCOMPARE(m_db->rows(QStringLiteral("Forecaster")), before);
    }

    // A history longer than the table's is loaded with the index set aside: the days stored
    // before that it gives again are replaced, and the index is there again afterwards.
    void longHistoryReplacesTheDaysStored_data()
    {
        QTest::addColumn<int>("days");
        QTest::newRow("short") << 50;
        QTest::newRow("longer than sets the index aside") << 30000;
    }
    void longHistoryReplacesTheDaysStored()
    {
        QFETCH(int, days);
        const QDate first(1940, 1, 1), last = first.addDays(days - 1);
        // Days stored before: two that the history gives first, one it gives last (after the
        // index is set aside, in the long one), one it does not give.
        QVERIFY(import({"acme.csv", "Date,Close|1940-01-01,1|1940-01-02,1|1900-01-01,1|" +
                                        last.toString(Qt::ISODate) + ",9"})
                    .ok);
        QString history = QStringLiteral("Date,Close");
        for (int i = 0; i < days; ++i)
            history += QLatin1Char('|') + first.addDays(i).toString(Qt::ISODate) +
                       QStringLiteral(",%1").arg(2 + i % 7);
        // The same day twice alike counts once.
        history += QStringLiteral("|1940-01-01,2");
        const prices::ImportResult result = import({"acme.csv", history});
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(result.summary.days, qint64(days));
        QCOMPARE(m_db->count(QStringLiteral("Prices")), days + 1);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT group_concat(\"Close\") FROM (SELECT "
                                             "\"Close\" FROM Prices WHERE \"Date\" < "
                                             "'1940-01-03' ORDER BY \"Date\")"))
                     .toString(),
                 QStringLiteral("1.0,2.0,3.0"));
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT group_concat(\"Close\") FROM Prices WHERE "
                                             "\"Date\" = '%1'")
                                  .arg(last.toString(Qt::ISODate)))
                     .toDouble(),
                 double(2 + (days - 1) % 7));
        const CheckReport report = checkDatabase(m_db->path());
        QVERIFY2(report.ok, qPrintable(report.problems.join('\n')));
        // The index refuses a second row of a day again.
        QVERIFY(!m_db->exec(QStringLiteral("INSERT INTO Prices (\"Ticker Symbol\", \"Date\") "
                                           "VALUES ('ACME', '1940-01-01')")));
    }

    void fileThatIsNoDatabase()
    {
        const QString path = write({"notes.db", "Dear diary, prices went up."}).first();
        const prices::ImportResult result =
            prices::importFiles(path, write({"a.csv", "Date,Close|2026-12-03,1"}));
        QVERIFY2(!result.ok && result.message.contains("is not a market database"),
                 qPrintable(result.message));
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

    // The summary counts the days stored, once each, and the days without figures left out.
    void summaries_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("summary");
        QTest::newRow("newest first, null days")
            << QStringList{"qqq.csv", "Date,Close|2026-12-09,9|2026-12-08,null|2026-12-07,7|"
                                      "2026-12-04,null|2026-12-03,3|2026-12-02,2|2026-12-01,1"}
            << "Imported 5 days of QQQ from 1 file; 2 days without figures skipped; updated 0 "
               "stocks.";
        QTest::newRow("one day, one skipped, two files")
            << QStringList{"a.csv", "Date,Close|2026-12-03,1", "b.csv",
                           "Symbol,Date,Close|A,2026-12-03,1|A,2026-12-04,null"}
            << "Imported 1 day of A from 2 files; 1 day without figures skipped; updated 0 stocks.";
    }
    void summaries()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, summary);
        const prices::ImportResult result = import(files);
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(result.message, summary);
    }

    // A text that looks like the placeholders of a message is shown as it is.
    void symbolShownAsGiven()
    {
        const prices::ImportResult result = import({"x.csv", "Date,Close|2026-12-03,1"}, "%1 %2");
        QVERIFY2(result.message.startsWith("Imported 1 day of %1 %2 from 1 file;"),
                 qPrintable(result.message));
    }

    // The day before X counts only within five calendar days: a history with a hole of years
    // gives the first day after the hole no change and no record.
    void forecasterNeverReachesAcrossAGap()
    {
        QStringList files;
        for (const char *name : {"^dji.csv", "^ixic.csv", "^gspc.csv"})
            files << name << "Date,Close|2020-10-29,9|2020-10-30,10|2025-03-03,20|2025-03-04,22";
        const prices::ImportResult result = import(files);
        QVERIFY2(result.ok, qPrintable(result.message));
        // Nor is the record after 30 October 2020 dated 2025.
        QCOMPARE(forecaster(), (QStringList{"2020-11-02 10.0 1.0 10.0 1.0 10.0 1.0 - - -",
                                            "2025-03-05 22.0 2.0 22.0 2.0 22.0 2.0 - - -"}));
    }

    // A file still being written is refused, as the table import refuses one.
    void growingFileIsRefused()
    {
        const QString path = write({"grow.csv", "Date,Close|"}).first();
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::Append));
            for (int i = 0; i < 30000; ++i)
                file.write(QDate(1950, 1, 1).addDays(i).toString(Qt::ISODate).toLatin1() +
                           ",1\r\n");
        }
        std::atomic_bool done{false};
        std::thread writer([&] {
            QFile file(path);
            if (!file.open(QIODevice::Append))
                return;
            for (int i = 30000; !done; ++i) {
                file.write(QDate(1950, 1, 1).addDays(i).toString(Qt::ISODate).toLatin1() + ",1");
                file.flush();
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                file.write("\r\n");
                file.flush();
            }
        });
        const prices::ImportResult result = prices::importFiles(m_db->path(), {path});
        done = true;
        writer.join();
        QVERIFY(!result.ok);
        QVERIFY2(result.message.contains("changed while it was read"), qPrintable(result.message));
        QCOMPARE(m_db->count(QStringLiteral("Prices")), 0);
    }

    // An endless line through a pipe: both imports stop at their bound, and memory stays low.
    void endlessLineThroughAPipe_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("says");
        QTest::addColumn<int>("mebibytes"); // the most the tool may take
        QTest::newRow("import-prices")
            << "(printf 'Date,Close\\n2026-12-03,'; yes 1 | tr -d '\\n') | \"$0\" import-prices "
               "\"$1\" /dev/stdin"
            << "line 2 is longer than 1 MiB" << 100;
        QTest::newRow("import-csv")
            << "(printf 'Analyst'\\''s Name\\n'; yes 1 | tr -d '\\n') | \"$0\" import-csv "
               "\"$1\" Analyst /dev/stdin"
            << "line 2 is longer than 64 MiB in field 1" << 200;
    }
    void endlessLineThroughAPipe()
    {
        QFETCH(QString, command);
        QFETCH(QString, says);
        QFETCH(int, mebibytes);
        QProcess shell;
        shell.start(QStringLiteral("sh"),
                    {QStringLiteral("-c"), command, test::databaseTool(), m_db->path()});
        QVERIFY(shell.waitForFinished(60000));
        const QString output = QString::fromUtf8(shell.readAllStandardError());
        QVERIFY2(output.contains(says) && output.size() < 600, qPrintable(output));
        QCOMPARE(shell.exitCode(), 1);
        rusage usage{};
        QCOMPARE(getrusage(RUSAGE_CHILDREN, &usage), 0);
        qInfo("largest child: %ld MiB", usage.ru_maxrss / 1024);
        // AddressSanitizer's shadow memory and its quarantine of freed blocks come on top.
#ifdef __SANITIZE_ADDRESS__
        mebibytes *= 4;
#endif
        QVERIFY2(usage.ru_maxrss / 1024 < mebibytes, qPrintable(QString::number(usage.ru_maxrss)));
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
        test::LocalSource source;
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

    // The tool, with --from: the days before it are left out.
    void fetchWithTheTool()
    {
        test::LocalSource source;
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
        // The 27th had a forecast: it follows its new inputs, as the forecaster computes it.
        QCOMPARE(result.summary.forecastsChanged, 1);
        QCOMPARE(forecaster(), (QStringList{
                                   "2026-11-27 105.0 -5.0 54.0 -1.0 12.0 0.7 1500.0 1200.0 "
                                   "200.333333333333",
                                   "2026-11-25 110.0 10.0 55.0 5.0 11.3 1.2 - - -",
                                   "2026-11-30 120.0 15.0 60.0 6.0 13.0 1.0 1100.0 1900.0 -",
                               }));
    }

    // Imported twice: the second replaces the first's days with themselves. The stocks get the
    // shares and average cost the trades give; BETA, not there before, gets a record.
    void tradesKeepTheStocks()
    {
        QVERIFY(m_db->insert(QStringLiteral("stocks"), {"Name of Stock", "Ticker Symbol"},
                             {"Acme Corp", "Acme"}));
        const QString stocks = QStringLiteral(
            "SELECT group_concat(\"Name of Stock\" || ' ' || \"Ticker Symbol\" || ' ' || "
            "\"Shares Owned\" || ' ' || \"Purchase Price\", '; ') FROM stocks");
        for (const qint64 replaced : {0, 7}) {
            const trades::ImportResult result =
                trades::importTradeFiles(m_db->path(), write({"t.csv", kTrades}));
            QVERIFY2(result.ok, qPrintable(result.message));
            QCOMPARE(result.replaced, replaced);
            QCOMPARE(m_db->count(QStringLiteral("Trades")), 7);
            QCOMPARE(m_db->scalar(stocks).toString(),
                     QStringLiteral("Acme Corp Acme 30.0 22.75; BETA BETA 0.0 0.0"));
        }
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT group_concat(quote(\"Shares\") || ' ' || "
                                             "quote(\"Price\") || ' ' || quote(\"Note\")) "
                                             "FROM Trades WHERE \"Action\" = 'Split'")),
                 QVariant(QStringLiteral("2.0 NULL 'two for one'")));
        // A change in the window keeps the stock too; a sale beyond the shares is refused.
        trades::StoredTrade sale{0, "ACME", QDate(2025, 10, 1), TradeAction::Sell, 10, 30, 0, {}};
        QVERIFY(!trades::addTrade(m_db->path(), &sale));
        QCOMPARE(m_db->scalar(stocks).toString().left(22),
                 QStringLiteral("Acme Corp Acme 20.0 22"));
        sale.shares = 31;
        const DbError refused = trades::changeTrade(m_db->path(), sale);
        QVERIFY2(refused.message.contains(QStringLiteral("ACME sells 31 shares on 2025-10-01, "
                                                         "when 30 are held")),
                 qPrintable(refused.message));
        QVERIFY(!trades::deleteTrade(m_db->path(), sale));
        QCOMPARE(m_db->scalar(stocks).toString().left(22),
                 QStringLiteral("Acme Corp Acme 30.0 22"));
    }

    void tradeRefusals_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("expected");
        const QString head = QStringLiteral("Date,Ticker,Action,Shares,Price,Fees|");
        QTest::newRow("no date") << head + "2025-01-02,X,Buy,1,2,|02/01/2025,X,Buy,1,2,"
                                 << "line 3, field \"Date\": \"02/01/2025\" is no date";
        QTest::newRow("no action") << head + "2025-01-02,X,Swap,1,2,"
                                   << "line 2, field \"Action\": \"Swap\" is no action";
        QTest::newRow("no number") << head + "2025-01-02,X,Buy,1,2,a"
                                   << "line 2, field \"Fees\": \"a\" is no number";
        QTest::newRow("a buy of nothing") << head + "2025-01-02,X,Buy,,2,"
                                          << "line 2, field \"Shares\": a buy needs";
        QTest::newRow("a dividend with shares") << head + "2025-01-02,X,Dividend,3,2,"
                                                << "line 2, field \"Shares\": a dividend has";
        QTest::newRow("a split with a price") << head + "2025-01-02,X,Split,2,2,"
                                              << "line 2, field \"Price\": a split has no";
        QTest::newRow("no symbol") << head + "2025-01-02,,Buy,1,2,"
                                   << "line 2, field \"Ticker\": the record names no stock";
        QTest::newRow("no price column") << "Date,Symbol,Action,Shares|2025-01-02,X,Buy,1"
                                         << "line 1, field \"Price\": the header has no";
        QTest::newRow("selling more than is held")
            << head + "2025-01-02,X,Buy,1,2,|2025-01-03,X,Sell,2,2,"
            << "line 3, field \"Shares\" and on: X sells 2 shares on 2025-01-03, when 1 are";
    }
    void tradeRefusals()
    {
        QFETCH(QString, content);
        QFETCH(QString, expected);
        const trades::ImportResult result = trades::importTradeFiles(
            m_db->path(), write({"good.csv", kTrades, "bad.csv", content}));
        QVERIFY(!result.ok);
        QVERIFY2(result.message.contains(QStringLiteral("bad.csv\", ") + expected),
                 qPrintable(result.message));
        QVERIFY(result.message.endsWith("Nothing was imported; the database is as it was."));
        QCOMPARE(m_db->count(QStringLiteral("Trades")), 0);
        QCOMPARE(m_db->count(QStringLiteral("stocks")), 0);
    }

    // The report's lines against the figures worked out by hand (see the formulas' test for
    // ACME's): BETA's rate is (1190 / 1010)^(365 / 57) - 1, and the portfolio's day by day
    // 400/405 x 1400/1410 x 2000/1905 x 2190/2000 x 1095/1000 x 795/825 x 720/780 x 750/720.
    void returnsReport_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("whole")
            << QStringList{}
            << QStringList{"ACME: 30 shares at average cost 22.75; realized 42.50; dividends "
                           "15.00; unrealized 67.50; money-weighted 19.02% a year; time-weighted "
                           "10.73%; S&P 500 10.00%",
                           "BETA: 0 shares at average cost 0.00; realized 180.00; dividends 0.00; "
                           "unrealized 0.00; money-weighted 185.82% a year; time-weighted 17.82%; "
                           "S&P 500 10.00%",
                           "Portfolio: value 750.00; realized 222.50; dividends 15.00; unrealized "
                           "67.50; money-weighted 43.31% a year; time-weighted 14.38%; S&P 500 "
                           "10.00%"};
        // 20 held at 55 on the first day; a sale of 5 for 270: (825 + 270) / 1100 - 1.
        QTest::newRow("from, after BETA was sold")
            << QStringList{"--from", "2025-06-02", "--to", "2025-06-02"}
            << QStringList{"ACME: 15 shares at average cost 45.50; realized 42.50; dividends "
                           "0.00; unrealized 142.50; money-weighted n/a; time-weighted -0.45%; "
                           "S&P 500 0.00%",
                           "BETA: 0 shares at average cost 0.00; realized 0.00; dividends 0.00; "
                           "unrealized 0.00; money-weighted n/a; time-weighted n/a; S&P 500 0.00%",
                           "Portfolio: value 825.00; realized 42.50; dividends 0.00; unrealized "
                           "142.50; money-weighted n/a; time-weighted -0.45%; S&P 500 0.00%"};
    }
    void returnsReport()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, lines);
        QVERIFY(prices::importFiles(m_db->path(), write({"p.csv", kTradePrices})).ok);
        QVERIFY(trades::importTradeFiles(m_db->path(), write({"t.csv", kTrades})).ok);
        const test::ToolRun run =
            test::runDatabaseTool(QStringList{"returns", m_db->path()} + options);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.output.trimmed().split(u'\n'), lines);
    }

    void returnsOfNoTrades()
    {
        const test::ToolRun run = test::runDatabaseTool({"returns", m_db->path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.output.contains(QStringLiteral("has no trades")), qPrintable(run.output));
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

VANTORA_CORE_TEST_MAIN(TstPrices)
#include "tst_prices.moc"
