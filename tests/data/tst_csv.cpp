// SPDX-License-Identifier: GPL-3.0-or-later
// The tables as CSV files: a round trip of the sample market, how values are quoted and read
// back, and every file that import refuses, with the database left exactly as it was.

#include "data/exchange/csv.h"
#include "data/store/connection.h"
#include "data/store/database.h"
#include "data/store/schema.h"
#include "tests/support/coresupport.h"
#include "tests/support/testdb.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <atomic>
#include <thread>

using namespace vantora;
using vantora::test::ExclusiveLock;
using vantora::test::fileContents;
using vantora::test::TestDatabase;

namespace {

const QString kAnalyst = QStringLiteral("Analyst");
const QStringList kAnalystFields = {"Analyst's Name", "Stock Picks", "Market Outlook",
                                    "Credibility"};
const QVariant kNull = QVariant(QMetaType::fromType<QString>());

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray checksum(TestDatabase &db)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const schema::Table &table : schema::tables())
        hash.addData(db.rows(table.name).join(QLatin1Char('\n')).toUtf8());
    return hash.result().toHex();
}

QVariantList analystRow(TestDatabase &db, int index)
{
    QVariantList values;
    for (const QString &field : kAnalystFields)
        values << db.fieldValues(kAnalyst, field).value(index);
    return values;
}

} // namespace

class TestCsv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { connectionOptions() = {}; }
    void cleanup() { connectionOptions() = {}; }

    void roundTripOfTheSampleMarket_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("header");
        QTest::newRow("stocks")
            << "stocks" << 36
            << "Name of Stock,Ticker Symbol,Stock Exchange,Current Price,Purchase Price,Shares "
               "Owned,Last Years Earnings,This Years Earnings,Next Years Earnings,52 Wk Hi,52 Wk "
               "Lo,Analyst's Comments,AnalystRating,Safety Rating,Growth,Market Cap,Overall "
               "Rating,Buy\\Target Price,Money,Predicted Price,Advice,Status";
        QTest::newRow("Analyst") << "Analyst" << 12
                                 << "Analyst's Name,Stock Picks,Market Outlook,Credibility";
        QTest::newRow("Forecaster") << "Forecaster" << 20
                                    << "Date,Dow Yesterday,NasdaQ Yesterday,SP 500 "
                                       "Yesterday,Advances,Declines,DD,Dn,Ds,DF,DL,NL,SL,NF,SF";
    }
    void roundTripOfTheSampleMarket()
    {
        QFETCH(QString, table);
        QFETCH(int, count);
        QFETCH(QString, header);
        TestDatabase sample(TestDatabase::Sample);
        // Leaves a text in a number field and a null in a text field, as the screens can.
        QVERIFY(sample.exec(QStringLiteral("UPDATE stocks SET \"Current Price\" = '1.50', "
                                           "Status = NULL WHERE rowid = 2")));
        TestDatabase fresh;
        const QString file = sample.folder() + QStringLiteral("/out.csv");

        const csv::Result exported = csv::exportTable(sample.path(), table, file);
        QVERIFY2(exported.ok, qPrintable(exported.message));
        QCOMPARE(exported.rows, count);
        QVERIFY(exported.warnings.isEmpty());
        QCOMPARE(fileContents(file).left(fileContents(file).indexOf("\r\n")), header.toUtf8());

        const csv::Result imported = csv::importTable(fresh.path(), table, file);
        QVERIFY2(imported.ok, qPrintable(imported.message));
        QCOMPARE(imported.rows, count);
        QCOMPARE(fresh.rows(table), sample.rows(table));
        QCOMPARE(fresh.column(QStringLiteral("SELECT rowid FROM %1").arg(schema::quoted(table))),
                 sample.column(QStringLiteral("SELECT rowid FROM %1").arg(schema::quoted(table))));
    }

    // How a value is written, and that it comes back as it was.
    void valuesAreQuotedAndComeBack_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("plain") << QVariant("Tech, banks") << QByteArray("\"Tech, banks\"");
        QTest::newRow("no quoting needed") << QVariant("Tech") << QByteArray("Tech");
        QTest::newRow("quotes doubled")
            << QVariant("say \"buy\" now") << QByteArray("\"say \"\"buy\"\" now\"");
        QTest::newRow("only a quote") << QVariant("\"") << QByteArray("\"\"\"\"");
        QTest::newRow("CRLF inside") << QVariant("one\r\ntwo") << QByteArray("\"one\r\ntwo\"");
        QTest::newRow("LF inside") << QVariant("one\ntwo") << QByteArray("\"one\ntwo\"");
        QTest::newRow("CR inside") << QVariant("one\rtwo") << QByteArray("\"one\rtwo\"");
        QTest::newRow("spaces at the ends") << QVariant(" up ") << QByteArray("\" up \"");
        QTest::newRow("empty text") << QVariant("") << QByteArray("\"\"");
        QTest::newRow("null") << kNull << QByteArray("");
        QTest::newRow("backslash and apostrophe")
            << QVariant("Buy\\Target's") << QByteArray("Buy\\Target's");
        QTest::newRow("UTF-8") << QVariant(QStringLiteral("Zoë Ångström 日本 📈"))
                               << QStringLiteral("Zoë Ångström 日本 📈").toUtf8();
    }
    void valuesAreQuotedAndComeBack()
    {
        QFETCH(QVariant, value);
        QFETCH(QByteArray, written);
        TestDatabase db;
        QVERIFY(db.insert(kAnalyst, kAnalystFields, {"first", value, kNull, "high"}));
        const QString file = db.folder() + QStringLiteral("/a.csv");
        QVERIFY(csv::exportTable(db.path(), kAnalyst, file).ok);
        QCOMPARE(fileContents(file),
                 "Analyst's Name,Stock Picks,Market Outlook,Credibility\r\nfirst," + written +
                     ",,high\r\n");

        TestDatabase fresh;
        const csv::Result result = csv::importTable(fresh.path(), kAnalyst, file);
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(fresh.rows(kAnalyst), db.rows(kAnalyst));
    }

    // Files written by hand or by other programs.
    void filesAreRead_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QVariantList>("first");
        QTest::addColumn<int>("count");
        const QVariantList ab{"A", "B", kNull, kNull};
        QTest::newRow("LF") << QByteArray("Analyst's Name,Stock Picks\nA,B\nC,D\n") << ab << 2;
        QTest::newRow("CRLF") << QByteArray("Analyst's Name,Stock Picks\r\nA,B\r\nC,D\r\n") << ab
                              << 2;
        QTest::newRow("CR") << QByteArray("Analyst's Name,Stock Picks\rA,B\rC,D\r") << ab << 2;
        QTest::newRow("no line break at the end")
            << QByteArray("Analyst's Name,Stock Picks\nA,B\nC,D") << ab << 2;
        QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF"
                                                       "Analyst's Name,Stock Picks\nA,B\n")
                                         << ab << 1;
        QTest::newRow("blank lines skipped")
            << QByteArray("\nAnalyst's Name,Stock Picks\n\nA,B\r\n\r\nC,D\n\n") << ab << 2;
        QTest::newRow("some fields, another order, other case")
            << QByteArray("credibility,ANALYST'S NAME\nlow,A\n")
            << QVariantList{"A", kNull, kNull, "low"} << 1;
        QTest::newRow("header only") << QByteArray("Analyst's Name\r\n") << QVariantList{} << 0;
        QTest::newRow("quoted comma, quote and line breaks")
            << QByteArray("Analyst's Name,Stock Picks\n\"Cole, \"\"Mary\"\"\",\"a\r\nb\nc\"\n")
            << QVariantList{"Cole, \"Mary\"", "a\r\nb\nc", kNull, kNull} << 1;
        QTest::newRow("quote inside an unquoted value")
            << QByteArray("Analyst's Name,Stock Picks\nA,5\" disks\n")
            << QVariantList{"A", "5\" disks", kNull, kNull} << 1;
        QTest::newRow("nothing is null, \"\" is the empty text")
            << QByteArray("Analyst's Name,Stock Picks,Credibility\n,\"\",\n")
            << QVariantList{kNull, "", kNull, kNull} << 1;
        QTest::newRow("spaces are kept") << QByteArray("Analyst's Name,Stock Picks\n A , B\n")
                                         << QVariantList{" A ", " B", kNull, kNull} << 1;
        QTest::newRow("UTF-8")
            << QStringLiteral("Analyst's Name,Stock Picks\nZoë,日本 📈\n").toUtf8()
            << QVariantList{QStringLiteral("Zoë"), QStringLiteral("日本 📈"), kNull, kNull} << 1;
        // The file is read in pieces of 256 KiB: a character, a CRLF and a quoted value that
        // cross from one piece to the next.
        for (int shift = 0; shift < 4; ++shift) {
            QByteArray file = "Analyst's Name,Stock Picks\r\n\"";
            file += QByteArray(256 * 1024 - file.size() - 1 - shift, 'a') + "\",日本📈\r\n";
            QTest::newRow(qPrintable(QStringLiteral("across two pieces, %1").arg(shift)))
                << file + "B,C\r\n"
                << QVariantList{QString(256 * 1024 - 30 - shift, QLatin1Char('a')),
                                QStringLiteral("日本📈"), kNull, kNull}
                << 2;
        }
    }
    void filesAreRead()
    {
        QFETCH(QByteArray, file);
        QFETCH(QVariantList, first);
        QFETCH(int, count);
        TestDatabase db;
        QVERIFY(db.insert(kAnalyst, kAnalystFields, {"already", "there", "up", "high"}));
        const QString path = db.folder() + QStringLiteral("/in.csv");
        writeFile(path, file);
        const csv::Result result = csv::importTable(db.path(), kAnalyst, path);
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(result.rows, count);
        QCOMPARE(db.count(kAnalyst), count + 1); // appended
        if (count == 0)
            return;
        const QVariantList stored = analystRow(db, 1);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(stored[i].isNull(), first[i].isNull());
            QCOMPARE(stored[i].toString(), first[i].toString());
        }
    }

    // Numbers and dates follow the rules of a bound box: a number is stored as a number only
    // when it shows back exactly as written.
    void numbersAndDates_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("stored");
        QTest::newRow("whole number") << "DD"
                                      << "12"
                                      << "integer"
                                      << "12";
        QTest::newRow("whole number as a double") << "DD"
                                                  << "12.0"
                                                  << "real"
                                                  << "12.0";
        QTest::newRow("17 digits") << "DD"
                                   << "0.30000000000000004"
                                   << "real"
                                   << "3.00000000000000044408e-01";
        QTest::newRow("decimal") << "DD"
                                 << "-3.25"
                                 << "real"
                                 << "-3.25";
        QTest::newRow("trailing zero kept as typed") << "DD"
                                                     << "1.50"
                                                     << "text"
                                                     << "'1.50'";
        QTest::newRow("exponent kept as typed") << "DD"
                                                << "1e3"
                                                << "text"
                                                << "'1e3'";
        QTest::newRow("thousands separator kept") << "DD"
                                                  << "1,000"
                                                  << "text"
                                                  << "'1,000'";
        QTest::newRow("empty number is null") << "DD"
                                              << ""
                                              << "null"
                                              << "NULL";
        QTest::newRow("ISO date") << "Date"
                                  << "2026-12-07"
                                  << "text"
                                  << "'2026-12-07'";
    }
    void numbersAndDates()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, type);
        QFETCH(QString, stored);
        TestDatabase db;
        const QString path = db.folder() + QStringLiteral("/f.csv");
        const QString other =
            field == QLatin1String("Date") ? QStringLiteral("DD") : QStringLiteral("Date");
        const QString otherValue =
            other == QLatin1String("Date") ? QStringLiteral("2026-01-05") : QStringLiteral("1");
        const QString quotedText =
            text.contains(QLatin1Char(',')) ? QLatin1Char('"') + text + QLatin1Char('"') : text;
        writeFile(
            path,
            QStringLiteral("%1,%2\n%3,%4\n").arg(field, other, quotedText, otherValue).toUtf8());
        const csv::Result result = csv::importTable(db.path(), QStringLiteral("Forecaster"), path);
        QVERIFY2(result.ok, qPrintable(result.message));
        const QString column = schema::quoted(field);
        QCOMPARE(
            db.scalar(QStringLiteral("SELECT typeof(%1) FROM Forecaster").arg(column)).toString(),
            type);
        QCOMPARE(
            db.scalar(QStringLiteral("SELECT quote(%1) FROM Forecaster").arg(column)).toString(),
            stored);
    }

    // A bad file is refused with the line and the field named, and nothing reaches the database.
    void badFilesAreRefused_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("says");
        const QByteArray names = "Analyst's Name,Stock Picks\n";
        QTest::newRow("unknown column")
            << "Analyst" << QByteArray("Analyst's Name,Rating,Credibility\nA,B,C\n")
            << QStringList{"line 1, field \"Rating\"", "not a field of the table \"Analyst\"",
                           "\"Stock Picks\""};
        QTest::newRow("a Date that is no date")
            << "Forecaster" << QByteArray("DD,Date\n1,2026-01-05\n2,2026-02-30\n")
            << QStringList{"line 3, field \"Date\"", "\"2026-02-30\" is no date"};
        QTest::newRow("a Date in words")
            << "Forecaster" << QByteArray("Date\nnext Monday\n")
            << QStringList{"line 2, field \"Date\"", "\"next Monday\" is no date"};
        QTest::newRow("too few fields")
            << "Analyst" << names + "A,B\nC\n"
            << QStringList{"line 3:", "has 1 field, but the header names 2",
                           "the field \"Stock Picks\" is missing"};
        QTest::newRow("too many fields")
            << "Analyst" << names + "A,B,C\n"
            << QStringList{"line 2:", "has 3 fields, but the header names 2",
                           "field 3 has no name"};
        QTest::newRow("unterminated quote")
            << "Analyst" << names + "A,B\nC,\"never closed\nD,E\n"
            << QStringList{"line 3, field \"Stock Picks\"", "no closing quote"};
        QTest::newRow("text after a closing quote")
            << "Analyst" << names + "\"A\"x,B\n"
            << QStringList{"line 2, field \"Analyst's Name\"", "text follows the closing quote"};
        QTest::newRow("lines counted inside quotes")
            << "Analyst" << names + "\"three\nline\nname\",B\nonly one\n"
            << QStringList{"line 5:", "has 1 field"};
        QTest::newRow("field named twice")
            << "Analyst" << QByteArray("Stock Picks,Analyst's Name,stock picks\nA,B,C\n")
            << QStringList{"line 1, field \"stock picks\"", "named twice"};
        QTest::newRow("header without a name")
            << "Analyst" << QByteArray("Analyst's Name,,Credibility\nA,B,C\n")
            << QStringList{"line 1, field 2", "no field name"};
        QTest::newRow("empty file") << "Analyst" << QByteArray("\r\n\r\n")
                                    << QStringList{"is empty", "first line must name the fields"};
        QTest::newRow("not UTF-8") << "Analyst" << names + "A,B\nC,caf\xE9\n"
                                   << QStringList{"line 3", "not UTF-8 text"};
        QTest::newRow("binary file") << "Analyst" << QByteArray("PK\x03\x04\x00\x00", 6)
                                     << QStringList{"line 1", "no text file"};
        // Plain text is checked eight bytes at a time: the wrong byte anywhere among them.
        for (int at = 0; at < 9; ++at) {
            QByteArray text = names + "Analyst,picks\n" + QByteArray(at, 'x');
            QTest::newRow(qPrintable(QStringLiteral("NUL byte after %1 plain ones").arg(at)))
                << "Analyst" << text + QByteArray(1, '\0') + "yz,picks\n"
                << QStringList{"line 3", "no text file"};
            QTest::newRow(qPrintable(QStringLiteral("byte 0xFF after %1 plain ones").arg(at)))
                << "Analyst" << text + "\xFFyz,picks\n"
                << QStringList{"line 3", "byte 0xff"};
        }
        QTest::newRow("unknown table")
            << "Analysts" << names + "A,B\n"
            << QStringList{"no table \"Analysts\"", "stocks, Analyst, Forecaster"};
        QByteArray late = names;
        for (int i = 0; i < 300; ++i)
            late += QByteArray("Analyst ") + QByteArray::number(i) + ",picks\n";
        late += "late,\"bad\"quote\n";
        QTest::newRow("bad record after 300 good ones")
            << "Analyst" << late
            << QStringList{"line 302, field \"Stock Picks\"", "text follows the closing quote"};
        // Past the rows stored the indexes are set aside; the refusal brings them back.
        QByteArray longer = names;
        for (int i = 0; i < 30000; ++i)
            longer += QByteArray("Analyst ") + QByteArray::number(i) + ",picks\n";
        QTest::newRow("bad record after the indexes were set aside")
            << "Analyst" << longer + "late\n"
            << QStringList{"line 30002", "the record has 1 field, but the header names 2"};
        // A CRLF split between the first piece read and the next counts once.
        QByteArray split = names + "A," + QByteArray(256 * 1024 - 1 - names.size() - 2, 'x');
        QTest::newRow("not UTF-8 after a CRLF across two pieces")
            << "Analyst" << split + "\r\nC,caf\xE9\n"
            << QStringList{"line 3", "not UTF-8 text"};
    }
    void badFilesAreRefused()
    {
        QFETCH(QString, table);
        QFETCH(QByteArray, file);
        QFETCH(QStringList, says);
        TestDatabase db(TestDatabase::Sample);
        const QString path = db.folder() + QStringLiteral("/bad.csv");
        writeFile(path, file);
        const QByteArray before = checksum(db);
        const QByteArray bytes = fileContents(db.path());

        const csv::Result result = csv::importTable(db.path(), table, path);
        QVERIFY(!result.ok);
        for (const QString &part : says)
            QVERIFY2(result.message.contains(part), qPrintable(result.message));
        QVERIFY2(result.message.contains(QStringLiteral("Nothing was imported")),
                 qPrintable(result.message));
        QCOMPARE(checksum(db), before);
        QCOMPARE(fileContents(db.path()), bytes);
    }

    // A file of more rows than the table holds is loaded with the indexes set aside: they are
    // all there afterwards, with the folded keys of every row, old and new.
    void largeFilesKeepTheIndexesAndFoldedKeys_data()
    {
        QTest::addColumn<int>("rows");
        QTest::newRow("fewer than set the indexes aside") << 50;
        QTest::newRow("enough to set them aside") << 30000;
    }
    void largeFilesKeepTheIndexesAndFoldedKeys()
    {
        QFETCH(int, rows);
        TestDatabase db(TestDatabase::Sample);
        // A row another program wrote, its folded key still to be filled.
        QVERIFY(db.exec(QStringLiteral("INSERT INTO stocks (\"Name of Stock\") VALUES ('ÆON')")));
        QByteArray file = "Ticker Symbol,Name of Stock,Current Price\n";
        for (int i = 0; i < rows; ++i)
            file += "T" + QByteArray::number(i) + ",Straße Nr " + QByteArray::number(i) + ",1.5\n";
        const QString path = db.folder() + QStringLiteral("/stocks.csv");
        writeFile(path, file);
        const qint64 before = db.scalar(QStringLiteral("SELECT count(*) FROM stocks")).toLongLong();

        const csv::Result result = csv::importTable(db.path(), QStringLiteral("stocks"), path);
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM stocks")).toLongLong(),
                 before + rows);
        const CheckReport report = checkDatabase(db.path());
        QVERIFY2(report.ok, qPrintable(report.problems.join('\n')));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = "
                                          "'index' AND tbl_name = 'stocks'"))
                     .toInt(),
                 5);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM stocks WHERE \"Name of Stock\" "
                                          "IS NOT NULL AND \"Name of Stock (folded)\" IS NULL"))
                     .toInt(),
                 0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT \"Name of Stock (folded)\" FROM stocks WHERE "
                                          "\"Ticker Symbol\" = 'T7'"))
                     .toString(),
                 QStringLiteral("strasse nr 7"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT \"Current Price\" FROM stocks WHERE "
                                          "\"Ticker Symbol\" = 'T7'"))
                     .typeId(),
                 QMetaType::Double);
    }

    // Another program writing to the file: refused as a whole, never half done.
    void importIntoABusyDatabaseChangesNothing()
    {
        TestDatabase db(TestDatabase::Sample);
        connectionOptions().busyTimeoutMs = 50;
        const QString path = db.folder() + QStringLiteral("/in.csv");
        writeFile(path, "Analyst's Name\nA\nB\n");
        const QByteArray before = checksum(db);
        {
            ExclusiveLock lock(db.path());
            QVERIFY(lock.isLocked());
            const csv::Result result = csv::importTable(db.path(), kAnalyst, path);
            QVERIFY(!result.ok);
            QVERIFY2(result.message.contains(QStringLiteral("in use by another program")),
                     qPrintable(result.message));
        }
        QCOMPARE(checksum(db), before);
        QVERIFY(csv::importTable(db.path(), kAnalyst, path).ok); // once it is free
        QCOMPARE(db.count(kAnalyst), 14);
    }

    // Devices that never end and hold no text are refused at once.
    void bytesThatAreNoTextAreRefusedAtOnce_data()
    {
        QTest::addColumn<QString>("device");
        QTest::newRow("NUL bytes") << "/dev/zero";
        QTest::newRow("random bytes") << "/dev/urandom";
    }
    void bytesThatAreNoTextAreRefusedAtOnce()
    {
        QFETCH(QString, device);
        TestDatabase db(TestDatabase::Sample);
        const QByteArray before = checksum(db);
        QElapsedTimer clock;
        clock.start();
        const csv::Result result = csv::importTable(db.path(), kAnalyst, device);
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!result.ok);
        QVERIFY2(result.message.contains(QStringLiteral("\"%1\", line").arg(device)) &&
                     result.message.contains(QStringLiteral("Nothing was imported")),
                 qPrintable(result.message));
        QCOMPARE(checksum(db), before);
    }

    // A file still being written when it is read: refused, and nothing of it is stored.
    void fileThatChangesWhileReadIsRefused()
    {
        TestDatabase db;
        const QString path = db.folder() + QStringLiteral("/growing.csv");
        QByteArray rows = "Analyst's Name,Stock Picks\n";
        for (int i = 0; i < 40000; ++i)
            rows += "Analyst " + QByteArray::number(i) + ",picks of the day\n";
        writeFile(path, rows);
        std::atomic_bool done{false};
        std::thread writer([&] {
            QFile file(path);
            file.open(QIODevice::Append);
            while (!done) {
                // Now and then the last line stops half-way, as a writer's does.
                file.write("late,cut of");
                file.flush();
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                file.write("f\n");
                file.flush();
            }
        });
        const csv::Result result = csv::importTable(db.path(), kAnalyst, path);
        done = true;
        writer.join();
        QVERIFY(!result.ok);
        QVERIFY2(result.message.contains(QStringLiteral("changed while it was read")),
                 qPrintable(result.message));
        QCOMPARE(db.count(kAnalyst), 0);
    }

    // An import stores a number exactly as a bound box would store the same text, and a whole
    // number as an integer.
    void numbersAreStoredAsTheScreensStoreThem()
    {
        QStringList texts{"0",
                          "-0",
                          "7",
                          "-12",
                          "0.1",
                          "0.0001",
                          "0.00001",
                          "-0.5",
                          "1.50",
                          "007",
                          "12.",
                          ".5",
                          "1e3",
                          "+5",
                          "1,000",
                          "10.25",
                          "100000000000000",
                          "999999999999999",
                          "1000000000000000",
                          "123456789012345",
                          "12345678901234.5",
                          "1234567890123456",
                          "0.000123456789012",
                          "٣",
                          "99999999999999.9"};
        QRandomGenerator random(7);
        for (int i = 0; i < 3000; ++i)
            texts << QString::number(random.bounded(2000000) - 1000000) +
                         (i % 3 ? QStringLiteral(".") + QString::number(random.bounded(100000))
                                : QString());
        TestDatabase db;
        const QString path = db.folder() + QStringLiteral("/numbers.csv");
        QByteArray file = "DD\n";
        for (const QString &text : texts)
            file += csv::field(text).toUtf8() + '\n';
        writeFile(path, file);
        const csv::Result result = csv::importTable(db.path(), QStringLiteral("Forecaster"), path);
        QVERIFY2(result.ok, qPrintable(result.message));
        const QVariantList stored =
            db.fieldValues(QStringLiteral("Forecaster"), QStringLiteral("DD"));
        QCOMPARE(stored.size(), texts.size());
        for (qsizetype i = 0; i < texts.size(); ++i) {
            static const QRegularExpression whole(QStringLiteral("^(0|-?[1-9][0-9]*)$"));
            const QVariant typed = whole.match(texts[i]).hasMatch()
                                       ? QVariant(texts[i].toLongLong())
                                       : schema::storedValue(schema::FieldKind::Number, texts[i]);
            QVERIFY2(
                stored[i].typeId() == typed.typeId() && stored[i] == typed,
                qPrintable(texts[i] + QStringLiteral(" is stored as ") + stored[i].toString()));
        }
    }

    // Export then import gives every number back with its value and its type.
    void awkwardNumbersComeBackExactly_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::newRow("0.1 + 0.2") << QVariant(0.1 + 0.2);
        QTest::newRow("1/3") << QVariant(1.0 / 3);
        QTest::newRow("42 as an integer") << QVariant(qlonglong(42));
        QTest::newRow("42 as a double") << QVariant(42.0);
        QTest::newRow("17 digits, an integer") << QVariant(qlonglong(12345678901234567));
        QTest::newRow("beyond 2^53, an integer") << QVariant(qlonglong(9007199254740993));
        QTest::newRow("the largest integer") << QVariant(std::numeric_limits<qlonglong>::max());
        QTest::newRow("1e300") << QVariant(1e300);
        QTest::newRow("the smallest double") << QVariant(5e-324);
        QTest::newRow("a text in a number field") << QVariant(QStringLiteral("1.50"));
    }
    void awkwardNumbersComeBackExactly()
    {
        QFETCH(QVariant, value);
        TestDatabase db;
        QVERIFY(db.insert(QStringLiteral("Forecaster"), {"Date", "DD"}, {"2026-01-05", value}));
        const QString path = db.folder() + QStringLiteral("/n.csv");
        const csv::Result exported =
            csv::exportTable(db.path(), QStringLiteral("Forecaster"), path);
        QVERIFY2(exported.ok, qPrintable(exported.message));
        TestDatabase fresh;
        const csv::Result imported =
            csv::importTable(fresh.path(), QStringLiteral("Forecaster"), path);
        QVERIFY2(imported.ok, qPrintable(imported.message));
        const QString sql = QStringLiteral("SELECT typeof(DD) || ' ' || quote(DD) FROM Forecaster");
        QCOMPARE(fresh.scalar(sql), db.scalar(sql));
    }

    // Bytes another program stored: no file that would import nothing, but a refusal naming them.
    void exportRefusesABlob()
    {
        TestDatabase db;
        QVERIFY(db.insert(kAnalyst, kAnalystFields, {"A", "x", "y", "z"}));
        QVERIFY(
            db.insert(kAnalyst, kAnalystFields, {"B", QByteArray("\x00\xff\x01", 3), "y", "z"}));
        const QString path = db.folder() + QStringLiteral("/blob.csv");
        const csv::Result result = csv::exportTable(db.path(), kAnalyst, path);
        QVERIFY(!result.ok);
        QVERIFY2(result.message.contains(
                     "The field \"Stock Picks\" of row 2 of the table \"Analyst\" holds bytes"),
                 qPrintable(result.message));
        QVERIFY(!QFile::exists(path));
    }

    void exportNeverOverwrites()
    {
        TestDatabase db(TestDatabase::Sample);
        const QString path = db.folder() + QStringLiteral("/mine.csv");
        writeFile(path, "my own notes\n");
        const csv::Result result = csv::exportTable(db.path(), kAnalyst, path);
        QVERIFY(!result.ok);
        QVERIFY2(result.message.contains(QStringLiteral("already exists")),
                 qPrintable(result.message));
        QCOMPARE(fileContents(path), QByteArray("my own notes\n"));
    }

    // A day the screen stored as typed text: exported, with a warning that import will refuse
    // the file, and import does refuse it.
    void exportWarnsOfADateThatIsNoDate()
    {
        TestDatabase db;
        QVERIFY(db.insert(QStringLiteral("Forecaster"), {"Date", "DD"}, {"2026-01-05", 1.0}));
        QVERIFY(db.insert(QStringLiteral("Forecaster"), {"Date", "DD"}, {"Boxing Day", 2.0}));
        const QString path = db.folder() + QStringLiteral("/days.csv");
        const csv::Result result = csv::exportTable(db.path(), QStringLiteral("Forecaster"), path);
        QVERIFY(result.ok);
        QCOMPARE(result.warnings.size(), 1);
        QVERIFY2(result.warnings[0].contains(QStringLiteral("line 3")) &&
                     result.warnings[0].contains(QStringLiteral("\"Boxing Day\" is no date")),
                 qPrintable(result.warnings[0]));
        TestDatabase fresh;
        QVERIFY(!csv::importTable(fresh.path(), QStringLiteral("Forecaster"), path).ok);
        QCOMPARE(fresh.count(QStringLiteral("Forecaster")), 0);
    }

    // The tool as a user runs it.
    void tool_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        QTest::newRow("export") << QStringList{"export-csv", "@db", "stocks", "@out"} << 0
                                << "Exported 36 rows of the table \"stocks\"";
        QTest::newRow("import") << QStringList{"import-csv", "@db", "analyst", "@good"} << 0
                                << "Imported 2 rows into the table \"Analyst\"";
        QTest::newRow("import refused") << QStringList{"import-csv", "@db", "Analyst", "@bad"} << 1
                                        << "line 3: the record has 1 field, but the header names 2";
        QTest::newRow("export without a file")
            << QStringList{"export-csv", "@db", "stocks"} << 2 << "export-csv needs DB TABLE FILE";
        QTest::newRow("import of a missing file")
            << QStringList{"import-csv", "@db", "Analyst", "@none"} << 1 << "could not be read";
    }
    void tool()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        if (!QFileInfo::exists(test::databaseTool()))
            QSKIP("vantora-db is not built");
        TestDatabase db(TestDatabase::Sample);
        writeFile(db.folder() + QStringLiteral("/good.csv"),
                  "Analyst's Name,Credibility\nA,B\nC,D\n");
        writeFile(db.folder() + QStringLiteral("/bad.csv"), "Analyst's Name,Credibility\nA,B\nC\n");
        for (QString &arg : args)
            arg.replace(QLatin1String("@db"), db.path())
                .replace(QLatin1Char('@'), db.folder() + QLatin1Char('/'))
                .replace(QRegularExpression(QStringLiteral("/(out|good|bad|none)$")),
                         QStringLiteral("/\\1.csv"));
        const QByteArray before = checksum(db);
        const test::ToolRun run = test::runDatabaseTool(args);
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.output.contains(says), qPrintable(run.output));
        if (exitCode != 0 || args[0] == QLatin1String("export-csv"))
            QCOMPARE(checksum(db), before);
    }
};

VANTORA_CORE_TEST_MAIN(TestCsv)
#include "tst_csv.moc"
