// SPDX-License-Identifier: GPL-3.0-or-later
// Find ignores case for every letter Unicode gives a case to, whoever wrote the row, in a file
// that the sqlite3 shell and other SQLite tools read and write as it is.
#include "data/exchange/csv.h"
#include "data/store/backup.h"
#include "data/store/casefold.h"
#include "data/store/database.h"
#include "data/store/openingcheck.h"
#include "data/store/schema.h"
#include "data/store/tablecursor.h"
#include "tests/support/coresupport.h"
#include "tests/support/testdb.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

using namespace vantora;

namespace {

const QString kAnalyst = QStringLiteral("Analyst");
// A text key and the column that holds it case-folded.
const QString kName = QStringLiteral("Analyst's Name");
const QString kFolded = QStringLiteral("Analyst's Name (folded)");
// A name with letters beyond A to Z, as stored.
const QString kStored = QStringLiteral("Émile Zoë Ångström");

// Runs the sqlite3 shell on the file; empty when it did not run.
QString sqliteShell(const QString &path, const QString &sql)
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty())
        return {};
    QProcess process;
    process.start(shell, {path, sql});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())
        .trimmed();
}

// Seeks the key on the analysts' name index; the name of the row found, or empty.
QString find(const QString &path, const QString &key)
{
    TableCursor cursor;
    if (cursor.open(path, kAnalyst) || cursor.setIndex(kName) || cursor.seek(key))
        return QStringLiteral("(error)");
    return cursor.noMatch() ? QString() : cursor.value(kName).toString();
}

} // namespace

class TstFoldedKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        forgetOpeningChecks();
        connectionOptions() = {};
    }
    void cleanup() { connectionOptions() = {}; }

    void foundWhoeverWroteTheRow_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("otherCase"); // the text Find is given
        QTest::addColumn<bool>("found");
        const QString upper = QStringLiteral("ÉMILE ZOË ÅNGSTRÖM");
        QTest::newRow("saved by the program") << "program" << false << upper << true;
        QTest::newRow("renamed by the program") << "program rename" << false << upper << true;
        QTest::newRow("imported from a CSV file") << "csv" << false << upper << true;
        QTest::newRow("inserted by another program") << "insert" << false << upper << true;
        QTest::newRow("renamed by another program") << "rename" << false << upper << true;
        QTest::newRow("renamed in the sqlite3 shell") << "shell" << false << upper << true;
        // A file that cannot be written keeps what another program left: NOCASE for that row.
        QTest::newRow("read-only, A to Z in other case")
            << "insert" << true << QStringLiteral("ÉMILE zOë ÅNGSTRöM") << true;
        QTest::newRow("read-only, accents in other case") << "insert" << true << upper << false;
    }
    void foundWhoeverWroteTheRow()
    {
        QFETCH(QString, writer);
        QFETCH(bool, readOnly);
        QFETCH(QString, otherCase);
        QFETCH(bool, found);
        test::TestDatabase db;
        QVERIFY(db.isValid());
        if (writer.startsWith(QLatin1String("program"))) {
            TableCursor cursor;
            QVERIFY(!cursor.open(db.path(), kAnalyst));
            cursor.addNew();
            cursor.setValue(kName,
                            writer == QLatin1String("program") ? kStored : QStringLiteral("Ørjan"));
            QVERIFY(!cursor.save());
            if (writer != QLatin1String("program")) {
                cursor.setValue(kName, kStored);
                QVERIFY(!cursor.save());
            }
        } else if (writer == QLatin1String("csv")) {
            const QString file = db.folder() + QStringLiteral("/analysts.csv");
            QFile csv(file);
            QVERIFY(csv.open(QIODevice::WriteOnly));
            csv.write(("Analyst's Name\r\n" + kStored + "\r\n").toUtf8());
            csv.close();
            QVERIFY(csv::importTable(db.path(), kAnalyst, file).ok);
        } else if (writer == QLatin1String("insert")) {
            QVERIFY(db.insert(kAnalyst, {kName}, {kStored}));
        } else {
            QVERIFY(db.insert(kAnalyst, {kName}, {QStringLiteral("Ørjan")}));
            QCOMPARE(find(db.path(), QStringLiteral("ØRJAN")), QStringLiteral("Ørjan"));
            // The shell waits for no lock: the backup that the opening started must be done.
            waitForOpeningChecks();
            const QString update =
                QStringLiteral("UPDATE Analyst SET \"Analyst's Name\" = '%1'").arg(kStored);
            if (writer == QLatin1String("shell")) {
                if (QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty())
                    QSKIP("no sqlite3 shell");
                QCOMPARE(sqliteShell(db.path(), update), QString());
            } else {
                QVERIFY(db.exec(update));
            }
            // The trigger has emptied the folded key that no longer fits.
            QVERIFY(db.scalar(QStringLiteral("SELECT \"%1\" FROM Analyst").arg(kFolded)).isNull());
        }
        connectionOptions().readOnly = readOnly;

        QCOMPARE(find(db.path(), kStored), kStored);
        QCOMPARE(find(db.path(), otherCase), found ? kStored : QString());
        QCOMPARE(db.scalar(QStringLiteral("SELECT \"%1\" FROM Analyst").arg(kFolded)).toString(),
                 readOnly ? QString() : kStored.toCaseFolded());
        QVERIFY(checkDatabase(db.path()).ok);
        if (!QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty())
            QCOMPARE(sqliteShell(db.path(), QStringLiteral("PRAGMA integrity_check")),
                     QStringLiteral("ok"));
    }

    // A file made before the folded keys is usable as it is, and gets them, filled, at its first
    // opening once its backup is made.
    void olderFileGetsTheFoldedKeysAfterItsBackup()
    {
        test::TestDatabase db(test::TestDatabase::Sample);
        QVERIFY(db.insert(kAnalyst, {kName}, {kStored}));
        for (const schema::Table &table : schema::tables())
            for (const schema::FoldedKey &key : table.foldedKeys)
                for (const QString &statement :
                     {QStringLiteral("DROP TRIGGER \"%1\"").arg(key.trigger),
                      QStringLiteral("DROP INDEX \"%1\"").arg(key.column),
                      QStringLiteral("ALTER TABLE %1 DROP COLUMN \"%2\"")
                          .arg(table.name, key.column)})
                    QVERIFY(db.exec(statement));
        QVERIFY(db.exec(QStringLiteral("PRAGMA user_version = 2")));
        const CheckReport before = checkDatabase(db.path());
        QVERIFY2(before.ok, qPrintable(before.problems.join('\n')));
        QVERIFY(before.facts.contains(QStringLiteral("Analyst: case-folded keys added at the next "
                                                     "opening")));

        QCOMPARE(db.openAsAtFirstOpening(), QString());
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA user_version")).toInt(), schema::kSchemaVersion);
        const CheckReport after = checkDatabase(db.path());
        QVERIFY2(after.ok, qPrintable(after.problems.join('\n')));
        QCOMPARE(after.facts.filter(QStringLiteral("case-folded")), QStringList());
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM stocks WHERE \"Ticker Symbol "
                                          "(folded)\" IS NOT lower(\"Ticker Symbol\")"))
                     .toInt(),
                 0);
        QCOMPARE(find(db.path(), QStringLiteral("émile ZOË ångström")), kStored);
        const QStringList backups = backupsOf(db.path());
        QCOMPARE(backups.size(), 1);
        QVERIFY(
            !checkDatabase(backups.first()).facts.filter(QStringLiteral("case-folded")).isEmpty());
    }

    // Keys folded by another Unicode version than the program's are folded again at the first
    // opening, after the backup; the file records the version it now holds.
    void keysOfAnotherUnicodeVersionFoldedAgain_data()
    {
        QTest::addColumn<QString>("recorded"); // "-": no record at all
        QTest::addColumn<bool>("foldedAgain");
        QTest::newRow("an older version") << "6.0" << true;
        QTest::newRow("no version recorded") << "-" << true;
        QTest::newRow("this version") << caseFoldingVersion() << false;
    }
    void keysOfAnotherUnicodeVersionFoldedAgain()
    {
        QFETCH(QString, recorded);
        QFETCH(bool, foldedAgain);
        test::TestDatabase db(test::TestDatabase::Sample);
        QVERIFY(db.insert(kAnalyst, {kName}, {kStored}));
        QCOMPARE(db.scalar(QStringLiteral("SELECT \"Unicode Version\" FROM \"Case Folding\""))
                     .toString(),
                 caseFoldingVersion());
        // What an older folding may have made of the keys.
        QVERIFY(db.exec(QStringLiteral("UPDATE Analyst SET \"%1\" = 'stale'").arg(kFolded)));
        QVERIFY(db.exec(QStringLiteral("UPDATE stocks SET \"Ticker Symbol (folded)\" = 'stale'")));
        QVERIFY(recorded == QLatin1String("-")
                    ? db.exec(QStringLiteral("DROP TABLE \"Case Folding\""))
                    : db.exec(QStringLiteral("UPDATE \"Case Folding\" SET \"Unicode Version\" = "
                                             "'%1'")
                                  .arg(recorded)));
        QCOMPARE(checkDatabase(db.path()).foldedKeysOutdated, foldedAgain);

        QCOMPARE(db.openAsAtFirstOpening(), QString());
        waitForOpeningChecks();
        const int stale =
            db.scalar(QStringLiteral("SELECT count(*) FROM stocks WHERE \"Ticker Symbol "
                                     "(folded)\" = 'stale'"))
                .toInt();
        QCOMPARE(stale == 0, foldedAgain);
        QCOMPARE(db.scalar(QStringLiteral("SELECT \"%1\" FROM Analyst WHERE \"%2\" = '%3'")
                               .arg(kFolded, kName, kStored))
                     .toString(),
                 foldedAgain ? kStored.toCaseFolded() : QStringLiteral("stale"));
        if (foldedAgain)
            QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM stocks WHERE \"Ticker Symbol "
                                              "(folded)\" IS NOT lower(\"Ticker Symbol\")"))
                         .toInt(),
                     0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT \"Unicode Version\" FROM \"Case Folding\""))
                     .toString(),
                 caseFoldingVersion());
        QVERIFY(!checkDatabase(db.path()).foldedKeysOutdated);
        // The backup holds the file as it was before.
        const QStringList backups = backupsOf(db.path());
        QCOMPARE(backups.size(), 1);
        QCOMPARE(checkDatabase(backups.first()).foldedKeysOutdated, foldedAgain);
    }
};

VANTORA_CORE_TEST_MAIN(TstFoldedKeys)
#include "tst_foldedkeys.moc"
