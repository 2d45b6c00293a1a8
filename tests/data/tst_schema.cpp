// SPDX-License-Identifier: GPL-3.0-or-later
// The database file itself: the schema as created, value conversions, the sample market, the
// check, and the vantora-db tool.

#include "data/store/database.h"
#include "data/store/schema.h"
#include "tests/support/coresupport.h"
#include "tests/support/testdb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

using namespace vantora;
using vantora::test::TestDatabase;

class TestSchema : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Field names exactly as the screens use them, in the file, in order; then the case-folded
    // keys that Find seeks.
    void tablesHaveEveryFieldByItsExactName_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("stocks") << "stocks"
                                << QStringList{"Name of Stock",
                                               "Ticker Symbol",
                                               "Stock Exchange",
                                               "Current Price",
                                               "Purchase Price",
                                               "Shares Owned",
                                               "Last Years Earnings",
                                               "This Years Earnings",
                                               "Next Years Earnings",
                                               "52 Wk Hi",
                                               "52 Wk Lo",
                                               "Analyst's Comments",
                                               "AnalystRating",
                                               "Safety Rating",
                                               "Growth",
                                               "Market Cap",
                                               "Overall Rating",
                                               "Buy\\Target Price",
                                               "Money",
                                               "Predicted Price",
                                               "Advice",
                                               "Status",
                                               "Name of Stock (folded)",
                                               "Ticker Symbol (folded)"};
        QTest::newRow("Analyst") << "Analyst"
                                 << QStringList{"Analyst's Name", "Stock Picks", "Market Outlook",
                                                "Credibility", "Analyst's Name (folded)"};
        QTest::newRow("Forecaster") << "Forecaster"
                                    << QStringList{"Date",
                                                   "Dow Yesterday",
                                                   "NasdaQ Yesterday",
                                                   "SP 500 Yesterday",
                                                   "Advances",
                                                   "Declines",
                                                   "DD",
                                                   "Dn",
                                                   "Ds",
                                                   "DF",
                                                   "DL",
                                                   "NL",
                                                   "SL",
                                                   "NF",
                                                   "SF"};
    }
    void tablesHaveEveryFieldByItsExactName()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, fields);
        TestDatabase db;
        QVERIFY2(db.isValid(), qPrintable(db.error()));
        QStringList inFile;
        for (const QVariant &v :
             db.column(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {table}))
            inFile << v.toString();
        QCOMPARE(inFile, fields);
        QCOMPARE(db.scalar(QStringLiteral(
                               "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?"),
                           {table})
                     .toString(),
                 table);
    }

    void indexesCompareAsTheScreensNeed_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("index");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("collation");
        QTest::newRow("name of stock") << "stocks"
                                       << "Name of Stock"
                                       << "Name of Stock"
                                       << "NOCASE";
        QTest::newRow("ticker symbol") << "stocks"
                                       << "Ticker Symbol"
                                       << "Ticker Symbol"
                                       << "NOCASE";
        QTest::newRow("ticker_symbol") << "stocks"
                                       << "Ticker_Symbol"
                                       << "Ticker Symbol"
                                       << "NOCASE";
        QTest::newRow("analyst's name") << "Analyst"
                                        << "Analyst's Name"
                                        << "Analyst's Name"
                                        << "NOCASE";
        QTest::newRow("date") << "Forecaster"
                              << "Date"
                              << "Date"
                              << "BINARY";
    }
    void indexesCompareAsTheScreensNeed()
    {
        QFETCH(QString, table);
        QFETCH(QString, index);
        QFETCH(QString, field);
        QFETCH(QString, collation);
        TestDatabase db;
        QCOMPARE(
            db.scalar(QStringLiteral(
                          "SELECT tbl_name FROM sqlite_master WHERE type = 'index' AND name = ?"),
                      {index})
                .toString(),
            table);
        QCOMPARE(
            db.scalar(QStringLiteral("SELECT name FROM pragma_index_info(?)"), {index}).toString(),
            field);
        QCOMPARE(db.scalar(QStringLiteral("SELECT coll FROM pragma_index_xinfo(?) WHERE key = 1"),
                           {index})
                     .toString(),
                 collation);
    }

    void storedValues_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("stored");
        const int text = int(schema::FieldKind::Text), number = int(schema::FieldKind::Number),
                  date = int(schema::FieldKind::Date);
        QTest::newRow("text kept")
            << text << " Mixed Case " << QVariant(QStringLiteral(" Mixed Case "));
        QTest::newRow("text that reads as a number stays text")
            << text << "12.5" << QVariant(QStringLiteral("12.5"));
        QTest::newRow("empty text is the empty text") << text << "" << QVariant(QStringLiteral(""));
        QTest::newRow("number") << number << "12.5" << QVariant(12.5);
        QTest::newRow("big whole number")
            << number << "123456789012345" << QVariant(123456789012345.0);
        QTest::newRow("number too long to show back")
            << number << "1234567890123456" << QVariant(QStringLiteral("1234567890123456"));
        QTest::newRow("small number") << number << "0.0001" << QVariant(0.0001);
        QTest::newRow("empty number is null")
            << number << "" << QVariant(QMetaType::fromType<double>());
        QTest::newRow("date iso") << date << "2026-12-07" << QVariant(QStringLiteral("2026-12-07"));
        QTest::newRow("date with blanks")
            << date << " 2026-12-07 " << QVariant(QStringLiteral("2026-12-07"));
        QTest::newRow("date not valid")
            << date << "2026-02-30" << QVariant(QStringLiteral("2026-02-30"));
        QTest::newRow("empty date is null")
            << date << "" << QVariant(QMetaType::fromType<QString>());
    }
    void storedValues()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QVariant, stored);
        const QVariant value = schema::storedValue(schema::FieldKind(kind), text);
        QCOMPARE(value.isNull(), stored.isNull());
        QCOMPARE(value.typeId(), stored.typeId());
        if (!stored.isNull())
            QCOMPARE(value, stored);
        if (!value.isNull() && kind != int(schema::FieldKind::Date))
            QCOMPARE(schema::shownText(value), text);
    }

    void readDate_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QLocale de(QLocale::German, QLocale::Germany);
        QTest::newRow("iso anywhere") << de << "2026-12-07" << QDate(2026, 12, 7);
        QTest::newRow("us short") << us << "12/7/26" << QDate(2026, 12, 7);
        QTest::newRow("us four-digit year") << us << "12/07/2026" << QDate(2026, 12, 7);
        QTest::newRow("us two-digit year 49") << us << "1/2/49" << QDate(2049, 1, 2);
        QTest::newRow("us two-digit year 50") << us << "1/2/50" << QDate(1950, 1, 2);
        QTest::newRow("german short") << de << "07.12.26" << QDate(2026, 12, 7);
        QTest::newRow("german four-digit year") << de << "07.12.2026" << QDate(2026, 12, 7);
        QTest::newRow("us form in german locale") << de << "12/7/26" << QDate();
        QTest::newRow("iso without leading zero") << us << "2025-3-3" << QDate(2025, 3, 3);
        QTest::newRow("iso without dashes") << de << "20250303" << QDate(2025, 3, 3);
        QTest::newRow("iso, no such day") << us << "2025-2-30" << QDate();
        QTest::newRow("us, no leading zeros") << us << "3/3/2025" << QDate(2025, 3, 3);
        QTest::newRow("german, no leading zeros") << de << "3.3.2025" << QDate(2025, 3, 3);
        QTest::newRow("german, short year") << de << "3.3.25" << QDate(2025, 3, 3);
        QTest::newRow("eight digits, no such day") << us << "20251340" << QDate();
        QTest::newRow("words") << us << "tomorrow" << QDate();
        QTest::newRow("empty") << us << "" << QDate();
    }
    void readDate()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(QDate, date);
        const std::optional<QDate> read = schema::readDate(text, locale);
        QCOMPARE(read.value_or(QDate()), date);
    }

    void createRefusesToOverwrite()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mine.db"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("precious");
        }
        const DbError failure = createDatabase(path, true);
        QVERIFY(failure);
        QVERIFY2(failure.message.contains(path), qPrintable(failure.message));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("precious"));
    }

    void createMakesMissingFolders()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a/b/cm1.db"));
        QVERIFY(!createDatabase(path, false));
        QVERIFY(checkDatabase(path).ok);
    }

    void sampleMarketIsComplete()
    {
        TestDatabase db(TestDatabase::Sample);
        QVERIFY2(db.isValid(), qPrintable(db.error()));
        QVERIFY(db.count(QStringLiteral("stocks")) >= 24);
        QCOMPARE(db.count(QStringLiteral("Analyst")), 12);
        QVERIFY(db.count(QStringLiteral("Forecaster")) >= 15);
        // Every field of every row is filled.
        for (const schema::Table &table : schema::tables())
            for (const schema::Field &field : table.fields)
                QVERIFY2(
                    db.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 IS NULL OR %2 = ''")
                                  .arg(schema::quoted(table.name), schema::quoted(field.name)))
                            .toInt() == 0,
                    qPrintable(table.name + QLatin1Char('.') + field.name));
        // Keys that Find searches are unique, so every sample record can be found.
        for (const auto &[table, field] :
             {std::pair{"stocks", "Name of Stock"}, std::pair{"stocks", "Ticker Symbol"},
              std::pair{"Analyst", "Analyst's Name"}, std::pair{"Forecaster", "Date"}}) {
            const QString sql =
                QStringLiteral("SELECT count(DISTINCT %1 COLLATE NOCASE) = count(*) FROM %2")
                    .arg(schema::quoted(QString::fromLatin1(field)),
                         schema::quoted(QString::fromLatin1(table)));
            QVERIFY2(db.scalar(sql).toBool(), field);
        }
        // Trading days: ISO dates, weekdays only.
        for (const QVariant &v :
             db.fieldValues(QStringLiteral("Forecaster"), QStringLiteral("Date"))) {
            const QDate day = QDate::fromString(v.toString(), QStringLiteral("yyyy-MM-dd"));
            QVERIFY2(day.isValid() && day.dayOfWeek() <= 5, qPrintable(v.toString()));
        }
        // Numbers are numbers, and prices make sense.
        QCOMPARE(db
                     .scalar(QStringLiteral(
                         "SELECT count(*) FROM stocks WHERE typeof(\"Current Price\") <> 'real' "
                         "OR \"52 Wk Lo\" > \"Current Price\" OR \"52 Wk Hi\" < \"Current Price\""))
                     .toInt(),
                 0);
        QCOMPARE(db.scalar(QStringLiteral(
                               "SELECT count(*) FROM Forecaster WHERE Advances + Declines < 2000 "
                               "OR \"Dow Yesterday\" < 10000"))
                     .toInt(),
                 0);
    }

    void check_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("problem");
        QTest::newRow("intact") << ""
                                << "";
        QTest::newRow("index gone") << "DROP INDEX Ticker_Symbol"
                                    << "The table \"stocks\" has no index \"Ticker_Symbol\".";
        QTest::newRow("table gone") << "DROP TABLE Forecaster"
                                    << "The table \"Forecaster\" is missing.";
        QTest::newRow("field gone") << "ALTER TABLE Forecaster DROP COLUMN NF"
                                    << "The table \"Forecaster\" has no field \"NF\".";
        QTest::newRow("index on another field")
            << "DROP INDEX \"Ticker_Symbol\"; CREATE INDEX \"Ticker_Symbol\" ON stocks(\"Name of "
               "Stock\")"
            << "The index \"Ticker_Symbol\" is not on the field \"Ticker Symbol\".";
        QTest::newRow("folded key's index gone")
            << "DROP INDEX \"Ticker Symbol (folded)\""
            << "The table \"stocks\" has no index \"Ticker Symbol (folded)\" on the fields "
               "\"Ticker Symbol (folded)\", \"Ticker Symbol\".";
        QTest::newRow("folded key's trigger gone")
            << "DROP TRIGGER \"Analyst's Name (folded) on change\""
            << "The table \"Analyst\" has no trigger \"Analyst's Name (folded) on change\".";
    }
    void check()
    {
        QFETCH(QString, damage);
        QFETCH(QString, problem);
        TestDatabase db(TestDatabase::Sample);
        for (const QString &statement : damage.split(QLatin1String("; "), Qt::SkipEmptyParts))
            QVERIFY(db.exec(statement));
        const CheckReport report = checkDatabase(db.path());
        QCOMPARE(report.ok, problem.isEmpty());
        QCOMPARE(report.problems, problem.isEmpty() ? QStringList{} : QStringList{problem});
    }

    void checkRejectsFilesThatAreNoDatabase_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("text") << QByteArray("not a database at all\n").repeated(100);
    }
    void checkRejectsFilesThatAreNoDatabase()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.db"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const CheckReport report = checkDatabase(path);
        QVERIFY(!report.ok);
        QVERIFY(!report.problems.isEmpty());
        QCOMPARE(QFileInfo(path).size(), qint64(bytes.size())); // untouched
        QVERIFY(!checkDatabase(dir.filePath(QStringLiteral("none.db"))).ok);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("none.db"))));
    }

    // A file another program holds locked is busy, not unusable.
    void checkOfALockedFileSaysBusy()
    {
        if (!QFileInfo::exists(test::databaseTool()))
            QSKIP("vantora-db is not built");
        TestDatabase db(TestDatabase::Sample);
        test::ExclusiveLock lock(db.path());
        QVERIFY(lock.isLocked());
        const test::ToolRun run = test::runDatabaseTool({QStringLiteral("check"), db.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.output.contains(QStringLiteral("%1 is busy").arg(db.path())) &&
                     run.output.contains(QStringLiteral("in use by another program")) &&
                     !run.output.contains(QStringLiteral("NOT a usable")),
                 qPrintable(run.output));
    }

    // The tool as a user runs it: exit codes and what it says.
    void tool_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        QTest::newRow("create sample")
            << QStringList{"create", "@new", "--sample"} << 0 << "Created";
        QTest::newRow("create over a file")
            << QStringList{"create", "@existing"} << 1 << "already exists";
        QTest::newRow("check good")
            << QStringList{"check", "@existing"} << 0 << "is a usable market database";
        QTest::newRow("check missing") << QStringList{"check", "@new"} << 1 << "does not exist";
        QTest::newRow("no command") << QStringList{} << 2 << "usage";
        QTest::newRow("unknown command")
            << QStringList{"drop", "@existing"} << 2 << "unknown command drop";
        QTest::newRow("create without path")
            << QStringList{"create", "--sample"} << 2 << "create needs a PATH";
        QTest::newRow("unknown option")
            << QStringList{"create", "@new", "--force"} << 2 << "unknown option --force";
        QTest::newRow("option without its value")
            << QStringList{"import-prices", "@existing", "--ticker"} << 2
            << "--ticker needs a SYMBOL";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "vantora-db 1.";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "vantora-db fetch-prices DB";
        // The program itself: Qt's own options are its options too.
        QTest::newRow("program version")
            << QStringList{"@vantora", "--version"} << 0 << "vantora 1.";
        QTest::newRow("program with a style")
            << QStringList{"@vantora",  "-style", "Fusion", "--database",
                           "@existing", "--open", "Nowhere"}
            << 2 << "no screen named 'Nowhere'";
        QTest::newRow("program's help with Qt's")
            << QStringList{"@vantora", "--help-all"} << 0 << "-platform";
        QTest::newRow("program, wrong option")
            << QStringList{"@vantora", "--bogus"} << 2 << "Unknown option 'bogus'";
    }
    void tool()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        if (!QFileInfo::exists(test::databaseTool()))
            QSKIP("vantora-db is not built");
        TestDatabase db(TestDatabase::Sample);
        const QString fresh = db.folder() + QStringLiteral("/fresh.db");
        for (QString &arg : args)
            arg.replace(QLatin1String("@new"), fresh)
                .replace(QLatin1String("@existing"), db.path());
        const bool program = args.value(0) == QLatin1String("@vantora");
        const test::ToolRun run = program ? test::runProgram(QStringLiteral("vantora"), args.mid(1))
                                          : test::runDatabaseTool(args);
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.output.contains(says), qPrintable(run.output));
        if (args.value(0) == QLatin1String("create") && exitCode == 0)
            QVERIFY(checkDatabase(fresh).ok);
    }
};

VANTORA_CORE_TEST_MAIN(TestSchema)
#include "tst_schema.moc"
