// SPDX-License-Identifier: GPL-3.0-or-later
// Market data in: the table of daily prices, and files of an older schema brought up to date.
#include "tests/support/testdb.h"
#include "tests/support/testsupport.h"

#include "data/backup.h"
#include "data/database.h"
#include "data/schema.h"

using namespace vantora;

class TstPrices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { forgetOpeningChecks(); }

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

        QVERIFY(checkOnFirstOpen(db.path()).message.isEmpty());
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
