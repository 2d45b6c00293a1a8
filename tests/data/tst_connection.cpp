// SPDX-License-Identifier: GPL-3.0-or-later
// The connection helpers every part of the storage layer shares: reading a table's columns, and a
// write transaction that is rolled back unless it is committed.

#include "data/store/connection.h"
#include "data/store/database.h"
#include "tests/support/coresupport.h"
#include "tests/support/testdb.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <sqlite3.h>

using namespace vantora;
using vantora::test::ExclusiveLock;
using vantora::test::TestDatabase;

class TestConnection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { connectionOptions() = {}; }

    void readTableColumns_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<int>("code"); // of the engine error, or 0 for none
        const QStringList analyst{"Analyst's Name", "Stock Picks", "Market Outlook", "Credibility",
                                  "Analyst's Name (folded)"};
        QTest::newRow("as spelt") << "Analyst"
                                  << "Analyst" << analyst << 0;
        QTest::newRow("in other letter case") << "ANALYST"
                                              << "Analyst" << analyst << 0;
        QTest::newRow("no such table") << "Analysts"
                                       << "" << QStringList() << 0;
        QTest::newRow("no database at all") << "Analyst"
                                            << "" << QStringList() << SQLITE_NOTADB;
    }
    void readTableColumns()
    {
        QFETCH(QString, asked);
        QFETCH(QString, table);
        QFETCH(QStringList, columns);
        QFETCH(int, code);
        TestDatabase db;
        if (code == SQLITE_NOTADB) {
            QFile file(db.path());
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(QByteArray("Name,Ticker\nAcme,ACME\n").repeated(60));
        }
        DbConnection connection;
        QVERIFY(!connection.open(db.path(), DbConnection::Mode::ReadOnly));
        const TableColumns found = vantora::readTableColumns(connection.db(), asked);
        QCOMPARE(found.table, table);
        QCOMPARE(found.columns, columns);
        QCOMPARE(found.error.isValid(), code != 0);
        if (code)
            QCOMPARE(sqlitePrimaryCode(found.error), code);
    }

    // Any local path opens, written as it stands: the address SQLite is given comes from Qt's
    // own URL functions.
    void anyLocalPathOpens_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("spaces") << "my stocks/cm 1.db";
        QTest::newRow("hash") << "#1/cm#1.db";
        QTest::newRow("percent") << "100%/cm%41.db";
        QTest::newRow("question mark") << "why?/cm?mode=ro.db";
        QTest::newRow("unicode") << "Zoë 日本/cm1.db";
        QTest::newRow("leading double slash") << "//cm1.db";
    }
    void anyLocalPathOpens()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        // "//x" names the same file as "/x"; the folder's path starts with "/".
        const QString path = name.startsWith(QLatin1String("//"))
                                 ? QLatin1Char('/') + dir.filePath(name.mid(2))
                                 : dir.filePath(name);
        const DbError notMade = createDatabase(path, false);
        QVERIFY2(!notMade, qPrintable(notMade.message));
        {
            DbConnection connection;
            const DbError failure = connection.open(path, DbConnection::Mode::ReadWrite);
            QVERIFY2(!failure, qPrintable(failure.message));
            QVERIFY(QSqlQuery(connection.db())
                        .exec(QStringLiteral("INSERT INTO Analyst DEFAULT VALUES")));
        }
        QVERIFY(checkDatabase(path).facts.contains(QStringLiteral("Analyst: 1 rows")));
        const QStringList created =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QCOMPARE(created.size(), 1); // nothing beside it under another name
    }

    // Committed rows stay; a transaction that leaves its scope uncommitted, or cannot begin while
    // another program writes, leaves the table as it was.
    void transaction_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<qint64>("rows");
        QTest::newRow("committed") << "commit" << qint64(1);
        QTest::newRow("left uncommitted") << "leave" << qint64(0);
        QTest::newRow("file in use") << "locked" << qint64(0);
    }
    void transaction()
    {
        QFETCH(QString, how);
        QFETCH(qint64, rows);
        TestDatabase db;
        connectionOptions().busyTimeoutMs = 50;
        const QString insert = QStringLiteral("INSERT INTO Analyst DEFAULT VALUES");
        {
            DbConnection connection;
            QVERIFY(!connection.open(db.path(), DbConnection::Mode::ReadWrite));
            Transaction transaction(connection.db());
            if (how == QLatin1String("locked")) {
                ExclusiveLock lock(db.path());
                QVERIFY(lock.isLocked());
                QVERIFY(!transaction.begin());
                QCOMPARE(sqlitePrimaryCode(transaction.error()), SQLITE_BUSY);
            } else {
                QVERIFY(transaction.begin());
                {
                    // The write lock is taken at the start, not at the first write.
                    DbConnection other;
                    QVERIFY(!other.open(db.path(), DbConnection::Mode::ReadWrite));
                    QVERIFY(!QSqlQuery(other.db()).exec(insert));
                }
                QVERIFY(QSqlQuery(connection.db()).exec(insert));
                if (how == QLatin1String("commit"))
                    QVERIFY2(transaction.commit(), qPrintable(transaction.error().text()));
            }
        }
        QCOMPARE(db.count(QStringLiteral("Analyst")), rows);
    }
};

VANTORA_CORE_TEST_MAIN(TestConnection)
#include "tst_connection.moc"
