// SPDX-License-Identifier: GPL-3.0-or-later
// Backups at the first opening of a run, each verified on the copy, the ten made last kept; a
// damaged file left alone and reported with the newest good backup; private files, never
// written through a link; and putting a backup back.

#include "app/registry.h"
#include "app/screen.h"
#include "common/config.h"
#include "data/binding/datacontrol.h"
#include "data/store/backup.h"
#include "data/store/connection.h"
#include "data/store/database.h"
#include "data/store/openingcheck.h"
#include "data/store/restore.h"
#include "data/store/schema.h"
#include "data/store/tablecursor.h"
#include "tests/support/testdb.h"
#include "tests/support/testsupport.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <sys/stat.h>

using namespace vantora;
using vantora::test::ExclusiveLock;
using vantora::test::ScriptedDialogs;
using vantora::test::TestDatabase;

namespace {

const QString kName = QStringLiteral("Analyst's Name");

// Every row of every table of a file, each value as SQLite quotes it.
QStringList rowsOf(const QString &path)
{
    QStringList rows;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("rows-of"));
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(db);
            for (const schema::Table &table : schema::tables()) {
                QStringList columns;
                for (const schema::Field &field : table.fields)
                    columns << QStringLiteral("quote(%1)").arg(schema::quoted(field.name));
                query.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                               .arg(columns.join(QLatin1String(" || '|' || ")),
                                    schema::quoted(table.name)));
                while (query.next())
                    rows << table.name + QLatin1Char(':') + query.value(0).toString();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("rows-of"));
    return rows;
}

// Overwrites bytes of a file where it stands.
void damage(const QString &path, qint64 offset, int count)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(offset));
    file.write(QByteArray(count, char(0xA5)));
}

// The start of the page in the middle of the file.
qint64 middlePage(const QString &path)
{
    const qint64 pages = QFileInfo(path).size() / 4096;
    return (pages / 2) * 4096;
}

QStringList folderListing(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// Changes one letter of a ticker symbol in the index "Ticker Symbol": every page stays sound,
// so SQLite's quick check passes, but the index no longer matches its table.
void damageIndexOnly(TestDatabase &db)
{
    const qint64 root =
        db.scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'Ticker Symbol'"))
            .toLongLong();
    const qint64 pageSize = db.scalar(QStringLiteral("PRAGMA page_size")).toLongLong();
    const QByteArray ticker =
        db.scalar(QStringLiteral("SELECT \"Ticker Symbol\" FROM stocks LIMIT 1")).toByteArray();
    const qint64 at =
        test::fileContents(db.path()).mid((root - 1) * pageSize, pageSize).indexOf(ticker);
    QVERIFY(at > 0);
    QFile file(db.path());
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek((root - 1) * pageSize + at));
    file.write(ticker.startsWith('Q') ? "R" : "Q");
    file.close();
    QVERIFY(checkDatabase(db.path(), CheckDepth::Quick).ok);
    QVERIFY(!checkDatabase(db.path(), CheckDepth::Full).ok);
}

// A record binding over Analyst, as a record screen has one.
struct AnalystBox
{
    QWidget window;
    QLineEdit *name = new QLineEdit(&window);
    DataControl *data = new DataControl(&window);
    AnalystBox() { data->bind(name, kName); }
};

// One run of the program that opens the file: its first opening, and what it reports.
QStringList runOpening()
{
    forgetOpeningChecks();
    ScriptedDialogs dialogs;
    {
        AnalystBox s;
        s.data->open(QStringLiteral("Analyst"));
        test::finishOpeningChecks();
    }
    return dialogs.messages();
}

mode_t modeOf(const QString &path)
{
    struct stat info
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// An old backup of cm1.db, named by the given day of that year.
QString oldBackup(const QString &folder, int day, int year = 2020)
{
    const QString path = folder + QStringLiteral("/cm1-%1-01-%2T120000Z.db")
                                      .arg(QString::number(year),
                                           QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0')));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("old");
    return path;
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        connectionOptions() = {};
        forgetOpeningChecks();
    }
    void cleanup()
    {
        connectionOptions() = {};
        if (Screen *form = ScreenRegistry::existing(QStringLiteral("Form14")))
            if (form->isLoaded())
                form->unload();
        test::flushDeletes();
    }

    void firstOpeningOfARunMakesOneBackup()
    {
        TestDatabase db(TestDatabase::Sample);
        ScriptedDialogs dialogs;
        {
            AnalystBox s;
            QVERIFY(s.data->open(QStringLiteral("Analyst")));
            QVERIFY(s.data->close());
        }
        test::finishOpeningChecks();
        QStringList backups = backupsOf(db.path());
        QCOMPARE(backups.size(), 1);
        QCOMPARE(QFileInfo(backups[0]).absolutePath(), db.folder() + QStringLiteral("/backups"));
        QVERIFY2(QRegularExpression(QStringLiteral("^cm1-\\d{4}-\\d\\d-\\d\\dT\\d{6}Z\\.db$"))
                     .match(QFileInfo(backups[0]).fileName())
                     .hasMatch(),
                 qPrintable(backups[0]));
        QCOMPARE(rowsOf(backups[0]), rowsOf(db.path()));
        QVERIFY(checkDatabase(backups[0]).ok);

        // Later openings in the same run make none; an edit saved now is not in it.
        const QStringList before = rowsOf(db.path());
        {
            AnalystBox s;
            QVERIFY(s.data->open(QStringLiteral("Analyst")));
            s.name->setText(QStringLiteral("Renamed"));
            QVERIFY(s.data->close());
        }
        QCOMPARE(backupsOf(db.path()).size(), 1);

        // The next run backs up the edited file.
        forgetOpeningChecks();
        {
            AnalystBox s;
            QVERIFY(s.data->open(QStringLiteral("Analyst")));
        }
        test::finishOpeningChecks();
        backups = backupsOf(db.path());
        QCOMPARE(backups.size(), 2);
        QCOMPARE(rowsOf(backups[1]), before);
        QCOMPARE(rowsOf(backups[0]), rowsOf(db.path()));
        QVERIFY(rowsOf(backups[0]).join(QLatin1Char('\n')).contains(QStringLiteral("'Renamed'")));
        QVERIFY(dialogs.messages().isEmpty());
    }

    // Backups made before the order was kept come after the new one, newest name first; a name
    // dated in the future does not push the new backup out.
    void newestTenAreKept_data()
    {
        QTest::addColumn<int>("existing");
        QTest::addColumn<int>("year");
        QTest::newRow("none yet") << 0 << 2020;
        QTest::newRow("nine: the tenth is added") << 9 << 2020;
        QTest::newRow("ten: the eleventh removes the oldest") << 10 << 2020;
        QTest::newRow("fourteen: the five oldest go") << 14 << 2020;
        QTest::newRow("ten named in the future: the new one stays") << 10 << 2047;
    }
    void newestTenAreKept()
    {
        QFETCH(int, existing);
        QFETCH(int, year);
        TestDatabase db(TestDatabase::Sample);
        const QString folder = backupFolder(db.path());
        QVERIFY(QDir().mkpath(folder));
        QStringList old;
        for (int day = 1; day <= existing; ++day)
            old.prepend(oldBackup(folder, day, year)); // newest first
        // Files that are no backups of this database stay.
        const QStringList others{QStringLiteral("other-2020-01-01T120000Z.db"),
                                 QStringLiteral("notes.txt"), QStringLiteral("cm1-mine.db")};
        for (const QString &name : others) {
            QFile file(folder + QLatin1Char('/') + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }

        QString made;
        const DbError failure = backupDatabase(db.path(), &made);
        QVERIFY2(!failure, qPrintable(failure.message));
        const QStringList kept = backupsOf(db.path());
        QCOMPARE(kept.size(), qMin(existing + 1, kBackupsKept));
        QCOMPARE(kept.first(), made);
        QCOMPARE(kept.mid(1), old.mid(0, kBackupsKept - 1));
        for (const QString &gone : old.mid(kBackupsKept - 1))
            QVERIFY2(!QFileInfo::exists(gone), qPrintable(gone));
        for (const QString &name : others)
            QVERIFY2(QFileInfo::exists(folder + QLatin1Char('/') + name), qPrintable(name));
    }

    // Eleven backups within a second or two: every name is unique, ten are kept and the first
    // one made is the one that goes.
    void elevenBackupsInARow()
    {
        TestDatabase db(TestDatabase::Sample);
        QStringList made;
        for (int i = 0; i < 11; ++i) {
            QString path;
            QVERIFY(!backupDatabase(db.path(), &path));
            QVERIFY(!made.contains(path));
            made.prepend(path);
        }
        QCOMPARE(backupsOf(db.path()), made.mid(0, 10));
        QVERIFY(!QFileInfo::exists(made.last()));
        // Nothing half-written left: the ten, the index of their order and the lock.
        QStringList listing = folderListing(backupFolder(db.path()));
        QCOMPARE(listing.size(), 12);
        QVERIFY(listing.contains(QStringLiteral("cm1.index")));
        QVERIFY(listing.contains(QStringLiteral(".cm1.lock")));
    }

    // The order is the order in which the backups were made, whatever the clock said then.
    void orderIsTheOrderMade()
    {
        TestDatabase db(TestDatabase::Sample);
        QString first, second;
        QVERIFY(!backupDatabase(db.path(), &first));
        // The clock ran ahead once: the first backup bears a name far in the future.
        const QString future =
            backupFolder(db.path()) + QStringLiteral("/cm1-2047-01-01T120000Z.db");
        QVERIFY(QFile::rename(first, future));
        QString index = QString::fromUtf8(
            test::fileContents(backupFolder(db.path()) + QStringLiteral("/cm1.index")));
        index.replace(QFileInfo(first).fileName(), QFileInfo(future).fileName());
        {
            QFile file(backupFolder(db.path()) + QStringLiteral("/cm1.index"));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(index.toUtf8());
        }
        QVERIFY(!backupDatabase(db.path(), &second));
        QCOMPARE(backupsOf(db.path()), (QStringList{second, future}));
        QCOMPARE(newestGoodBackup(db.path()), second);
    }

    // A file whose index is damaged passes the quick check at opening; the copy fails the full
    // check, so the file is reported with the newest good backup, and however many runs follow,
    // the good backups stay.
    void indexOnlyDamageKeepsTheGoodBackups()
    {
        TestDatabase db(TestDatabase::Sample);
        QVERIFY(runOpening().isEmpty());
        QVERIFY(runOpening().isEmpty());
        const QStringList good = backupsOf(db.path());
        QCOMPARE(good.size(), 2);
        damageIndexOnly(db);
        const QByteArray damaged = test::fileContents(db.path());
        for (int run = 0; run < 11; ++run) {
            const QStringList said = runOpening();
            QCOMPARE(said.size(), 1);
            QVERIFY2(
                said[0].contains(QStringLiteral("fails SQLite's full integrity check")) &&
                    said[0].contains(QStringLiteral("the database itself holds damage")) &&
                    said[0].contains(
                        QStringLiteral("The newest good backup is \"%1\"").arg(good[0])) &&
                    said[0].contains(
                        QStringLiteral("vantora-db restore \"%1\" \"%2\"").arg(good[0], db.path())),
                qPrintable(said[0]));
        }
        QCOMPARE(backupsOf(db.path()), good);
        QCOMPARE(test::fileContents(db.path()), damaged);
        QVERIFY(checkDatabase(good[0]).ok);
    }

    // What a backup killed half-way left behind goes at the next backup.
    void interruptedBackupsAreCleanedUp()
    {
        TestDatabase db(TestDatabase::Sample);
        const QString folder = backupFolder(db.path());
        QVERIFY(QDir().mkpath(folder));
        const QStringList leftovers{".cm1-2026-01-05T093000Z-4242-0badf00d.partial",
                                    ".cm1-2026-01-05T093000Z-4242-0badf00d.partial-journal",
                                    ".cm1.index-4242-0badf00d.new"};
        for (const QString &name : leftovers) {
            QFile file(folder + QLatin1Char('/') + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(64 * 1024, 'x'));
        }
        QFile other(folder + QStringLiteral("/.other-2026-01-05T093000Z-4242-0badf00d.partial"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.close();
        QString made;
        QVERIFY(!backupDatabase(db.path(), &made));
        const QStringList listing = folderListing(folder);
        for (const QString &name : leftovers)
            QVERIFY2(!listing.contains(name), qPrintable(name));
        QVERIFY(listing.contains(QFileInfo(other).fileName())); // another database's
        QVERIFY(listing.contains(QFileInfo(made).fileName()));
    }

    // A link planted at the names the next backups would take is never written through.
    void plantedLinkIsNotFollowed()
    {
        TestDatabase db(TestDatabase::Sample);
        const QString folder = backupFolder(db.path());
        QVERIFY(QDir().mkpath(folder) && QDir().mkpath(db.folder() + QStringLiteral("/elsewhere")));
        QStringList links;
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (int second = 0; second < 5; ++second) {
            const QString stamp = now.addSecs(second).toString(QStringLiteral("yyyy-MM-ddTHHmmss"));
            const QString link = QStringLiteral("%1/cm1-%2Z.db").arg(folder, stamp);
            QVERIFY(QFile::link(db.folder() + QStringLiteral("/elsewhere/copy-%1.db").arg(second),
                                link));
            links << link;
        }
        QString made;
        QVERIFY(!backupDatabase(db.path(), &made));
        QVERIFY2(!links.contains(made), qPrintable(made));
        QVERIFY(QDir(db.folder() + QStringLiteral("/elsewhere")).isEmpty());
        for (const QString &link : links)
            QVERIFY(QFileInfo(link).isSymLink() && !QFileInfo::exists(link));
        QCOMPARE(backupsOf(db.path()), QStringList{made});
    }

    // The folders and files that the program and the tool create are their owner's only.
    void everythingCreatedIsPrivate_data()
    {
        QTest::addColumn<int>("umask");
        QTest::newRow("usual umask") << 022;
        QTest::newRow("strict umask") << 077;
    }
    void everythingCreatedIsPrivate()
    {
        QFETCH(int, umask);
        if (!QFileInfo::exists(test::databaseTool()))
            QSKIP("vantora-db is not built");
        const mode_t before = ::umask(mode_t(umask));
        const auto restore = qScopeGuard([before] { ::umask(before); });
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("new/folder/cm1.db"));
        QCOMPARE(test::runDatabaseTool({QStringLiteral("create"), path, QStringLiteral("--sample")})
                     .exitCode,
                 0);
        config::setDatabasePath(path);
        const auto forget = qScopeGuard([] { config::setDatabasePath(QString()); });
        QVERIFY(runOpening().isEmpty());
        const QString csvFile = dir.filePath(QStringLiteral("new/folder/analysts.csv"));
        QCOMPARE(test::runDatabaseTool(
                     {QStringLiteral("export-csv"), path, QStringLiteral("Analyst"), csvFile})
                     .exitCode,
                 0);
        const QString restored = dir.filePath(QStringLiteral("new/folder/restored.db"));
        QVERIFY(!restoreDatabase(backupsOf(path).value(0), restored));

        QStringList created{dir.filePath(QStringLiteral("new")),
                            QFileInfo(path).path(),
                            backupFolder(path),
                            path,
                            csvFile,
                            restored};
        for (const QString &name : folderListing(backupFolder(path)))
            created << backupFolder(path) + QLatin1Char('/') + name;
        QCOMPARE(created.size(), 9); // the backup, its index and the lock
        for (const QString &file : created) {
            const mode_t expected = QFileInfo(file).isDir() ? 0700 : 0600;
            QVERIFY2(
                modeOf(file) == (expected & ~mode_t(umask)),
                qPrintable(QStringLiteral("%1: %2").arg(file, QString::number(modeOf(file), 8))));
        }
    }

    // A damaged or emptied file: reported once per opening with the newest good backup and the
    // command that puts it back, left exactly as it is, not backed up, and the screen stays
    // usable without it.
    void damagedFileIsLeftAlone_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("backedUpBefore");
        QTest::addColumn<QString>("says");
        const QString damaged = QStringLiteral("is damaged");
        QTest::newRow("page in the middle") << "middle" << true << damaged;
        QTest::newRow("last page") << "last" << true << damaged;
        QTest::newRow("file header") << "header" << true << damaged;
        QTest::newRow("page in the middle, no backup yet") << "middle" << false << damaged;
        QTest::newRow("no bytes left") << "empty" << true << "is an empty file";
        QTest::newRow("no bytes left, no backup yet") << "empty" << false << "is an empty file";
    }
    void damagedFileIsLeftAlone()
    {
        QFETCH(QString, where);
        QFETCH(bool, backedUpBefore);
        QFETCH(QString, says);
        TestDatabase db(TestDatabase::Sample);
        ScriptedDialogs dialogs;
        Screen *form = ScreenRegistry::get(QStringLiteral("Form14"));
        auto box = [form](const char *name) {
            return form->window()->findChild<QLineEdit *>(QString::fromLatin1(name));
        };
        auto click = [form](const char *name) {
            QTest::mouseClick(
                form->window()->findChild<QAbstractButton *>(QString::fromLatin1(name)),
                Qt::LeftButton);
        };
        if (backedUpBefore) {
            form->show();
            QCOMPARE(box("Text1")->text(), QStringLiteral("Northwind Logistics Corp"));
            QVERIFY(form->unload());
            test::finishOpeningChecks();
            QCOMPARE(backupsOf(db.path()).size(), 1);
        }
        const QString newest = backupsOf(db.path()).value(0);
        const qint64 size = QFileInfo(db.path()).size();
        if (where == QLatin1String("header"))
            damage(db.path(), 0, 100);
        else if (where == QLatin1String("empty"))
            QVERIFY(QFile::resize(db.path(), 0));
        else
            damage(db.path(), where == QLatin1String("last") ? size - 4096 : middlePage(db.path()),
                   64);
        const QByteArray damaged = test::fileContents(db.path());
        const QStringList listing = folderListing(backupFolder(db.path()));

        forgetOpeningChecks(); // the program starts again
        form->show();
        QVERIFY(form->isLoaded());
        test::finishOpeningChecks();
        QCOMPARE(dialogs.messages().size(), 1);
        const QString message = dialogs.messages().at(0);
        QVERIFY2(message.contains(QStringLiteral("\"%1\" %2").arg(db.path(), says)),
                 qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("left exactly as it is")), qPrintable(message));
        if (backedUpBefore)
            QVERIFY2(
                message.contains(QStringLiteral("The newest good backup is \"%1\"").arg(newest)) &&
                    message.contains(
                        QStringLiteral("vantora-db restore \"%1\" \"%2\"").arg(newest, db.path())),
                qPrintable(message));
        else
            QVERIFY2(message.contains(QStringLiteral("There is no backup")), qPrintable(message));
        QCOMPARE(box("Text1")->text(), QString());
        QCOMPARE(box("Text8")->text(), QString());

        // Still usable: the commands say the same again, a calculation runs, and typing into the
        // boxes never reaches the file.
        dialogs.clear();
        click("Next");
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY(dialogs.messages().at(0).contains(says));
        box("Text8")->setText(QStringLiteral("40"));
        click("Option1");
        click("Command1");
        click("Previous");
        QVERIFY(form->unload());
        QCOMPARE(test::fileContents(db.path()), damaged);
        QCOMPARE(folderListing(backupFolder(db.path())), listing);

        if (!backedUpBefore)
            return;
        // Putting the newest backup back makes the file usable again in the same run.
        const DbError failure = restoreDatabase(newest, db.path());
        QVERIFY2(!failure, qPrintable(failure.message));
        dialogs.clear();
        form->show();
        QVERIFY(dialogs.messages().isEmpty());
        QCOMPARE(box("Text1")->text(), QStringLiteral("Northwind Logistics Corp"));
        QCOMPARE(rowsOf(db.path()), rowsOf(newest));
    }

    // A backup that cannot be written is said once; the data is there to work with all the same.
    void backupThatCannotBeMadeIsReported()
    {
        TestDatabase db(TestDatabase::Sample);
        {
            QFile blocker(db.folder() + QStringLiteral("/backups"));
            QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder would be
        }
        ScriptedDialogs dialogs;
        AnalystBox s;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        test::finishOpeningChecks();
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY2(dialogs.messages().at(0).startsWith(
                     QStringLiteral("No backup of the market database \"%1\" could be made")
                         .arg(db.path())),
                 qPrintable(dialogs.messages().at(0)));
        QVERIFY(!s.name->text().isEmpty());
        AnalystBox again;
        QVERIFY(again.data->open(QStringLiteral("Analyst")));
        QCOMPARE(dialogs.messages().size(), 1);
    }

    // Opening a table starts the check of the file itself: once it has found damage the file is
    // never opened again; a backup that cannot be made is a notice, and the table opens all the
    // same.
    void cursorOpeningChecksTheFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<int>("backups");
        QTest::newRow("sound") << "sound"
                               << ""
                               << "" << 1;
        QTest::newRow("damaged") << "damaged"
                                 << "is damaged"
                                 << "" << 0;
        QTest::newRow("no backup possible") << "blocked"
                                            << ""
                                            << "No backup of the market database" << 0;
    }
    void cursorOpeningChecksTheFile()
    {
        QFETCH(QString, file);
        QFETCH(QString, error);
        QFETCH(QString, notice);
        QFETCH(int, backups);
        TestDatabase db(TestDatabase::Sample);
        if (file == QLatin1String("damaged"))
            damage(db.path(), middlePage(db.path()), 64);
        if (file == QLatin1String("blocked")) {
            QFile blocker(backupFolder(db.path()));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        const QByteArray before = test::fileContents(db.path());
        {
            TableCursor first;
            QVERIFY(!first.open(db.path(), QStringLiteral("Analyst")));
            QVERIFY(!first.checkedForWriting() == error.isEmpty());
        }
        waitForOpeningChecks();
        for (int opening = 1; opening < 3; ++opening) {
            TableCursor cursor;
            QString said;
            const DbError failure = cursor.open(db.path(), QStringLiteral("Analyst"), &said);
            QVERIFY2(error.isEmpty() ? !failure : failure.message.contains(error),
                     qPrintable(failure.message));
            QCOMPARE(cursor.isOpen(), error.isEmpty());
            // Said once, when the backup has failed; a damaged file is reported every time.
            const QString expected = opening == 1 ? notice : QString();
            QVERIFY2(expected.isEmpty() ? said.isEmpty() : said.contains(expected),
                     qPrintable(said));
        }
        QCOMPARE(backupsOf(db.path()).size(), backups);
        if (file == QLatin1String("damaged"))
            QCOMPARE(test::fileContents(db.path()), before);
    }

    void restore_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("says");
        QTest::newRow("over a database with later edits") << "edited" << true << "Restored";
        QTest::newRow("where the file is missing") << "missing" << true << "Restored";
        QTest::newRow("over a damaged page") << "damaged page" << true << "Restored";
        QTest::newRow("over a damaged header: kept aside")
            << "damaged header" << true << "The damaged file was kept as";
        QTest::newRow("a damaged backup is refused")
            << "damaged backup" << false << "is not usable";
        QTest::newRow("a missing backup is refused")
            << "missing backup" << false << "does not exist";
        QTest::newRow("a database in use is refused")
            << "in use" << false << "is in use by another program";
        QTest::newRow("the same file is refused") << "same" << false << "the same file";
    }
    void restore()
    {
        QFETCH(QString, target);
        QFETCH(bool, ok);
        QFETCH(QString, says);
        TestDatabase db(TestDatabase::Sample);
        connectionOptions().busyTimeoutMs = 50;
        QString backup;
        QVERIFY(!backupDatabase(db.path(), &backup));
        const QStringList backedUp = rowsOf(backup);
        QVERIFY(db.exec(QStringLiteral("UPDATE Analyst SET \"Stock Picks\" = 'later'")));
        QVERIFY(db.exec(QStringLiteral("DELETE FROM stocks WHERE rowid > 3")));

        if (target == QLatin1String("missing"))
            QVERIFY(QFile::remove(db.path()));
        else if (target == QLatin1String("damaged page"))
            damage(db.path(), middlePage(db.path()), 64);
        else if (target == QLatin1String("damaged header"))
            damage(db.path(), 0, 100);
        else if (target == QLatin1String("damaged backup"))
            damage(backup, middlePage(backup), 64);
        else if (target == QLatin1String("missing backup"))
            QVERIFY(QFile::remove(backup));
        const QByteArray before = test::fileContents(db.path());
        const QString from = target == QLatin1String("same") ? db.path() : backup;

        QString said;
        bool restored = false;
        {
            std::unique_ptr<ExclusiveLock> lock;
            if (target == QLatin1String("in use")) {
                lock = std::make_unique<ExclusiveLock>(db.path());
                QVERIFY(lock->isLocked());
            }
            const DbError failure = restoreDatabase(from, db.path(), &said);
            restored = !failure;
            if (failure)
                said = failure.message;
        }
        QVERIFY2(said.contains(says), qPrintable(said));
        QCOMPARE(restored, ok);
        if (!ok) {
            QVERIFY2(said.contains(QStringLiteral("Nothing was restored")), qPrintable(said));
            QCOMPARE(test::fileContents(db.path()), before);
            return;
        }
        QCOMPARE(rowsOf(db.path()), backedUp);
        QVERIFY(checkDatabase(db.path()).ok);
        const QStringList aside =
            QDir(db.folder()).entryList({QStringLiteral("cm1.db.damaged-*")}, QDir::Files);
        if (target == QLatin1String("damaged header")) {
            QCOMPARE(aside.size(), 1);
            QCOMPARE(test::fileContents(db.folder() + QLatin1Char('/') + aside[0]), before);
        } else {
            QVERIFY(aside.isEmpty());
        }
    }

    // A screen that has the file open sees the restored records at its next step.
    void restoreWhileAScreenHasTheFileOpen()
    {
        TestDatabase db(TestDatabase::Sample);
        ScriptedDialogs dialogs;
        AnalystBox s;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        const QString first = s.name->text();
        test::finishOpeningChecks();
        const QString backup = backupsOf(db.path()).value(0);
        QVERIFY(db.exec(QStringLiteral("UPDATE Analyst SET \"Analyst's Name\" = 'gone'")));
        const DbError failure = restoreDatabase(backup, db.path());
        QVERIFY2(!failure, qPrintable(failure.message));
        s.data->moveLast();
        s.data->moveFirst();
        QCOMPARE(s.name->text(), first);
        QVERIFY(dialogs.messages().isEmpty());
    }

    void tool_data()
    {
        QTest::addColumn<QString>("backup");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        QTest::newRow("restore") << "@backup" << 0 << "Restored";
        QTest::newRow("not a backup") << "@db.csv" << 1 << "is not usable";
    }
    void tool()
    {
        QFETCH(QString, backup);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        if (!QFileInfo::exists(test::databaseTool()))
            QSKIP("vantora-db is not built");
        TestDatabase db(TestDatabase::Sample);
        QString made;
        QVERIFY(!backupDatabase(db.path(), &made));
        QVERIFY(db.exec(QStringLiteral("DELETE FROM Analyst")));
        {
            QFile csv(db.folder() + QStringLiteral("/db.csv"));
            QVERIFY(csv.open(QIODevice::WriteOnly));
            csv.write("Analyst's Name\nA\n");
        }
        backup.replace(QLatin1String("@backup"), made)
            .replace(QLatin1Char('@'), db.folder() + QLatin1Char('/'));
        const test::ToolRun run =
            test::runDatabaseTool({QStringLiteral("restore"), backup, db.path()});
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.output.contains(says), qPrintable(run.output));
        QCOMPARE(db.count(QStringLiteral("Analyst")), exitCode == 0 ? 12 : 0);
    }
};

VANTORA_TEST_MAIN(TestBackup)
#include "tst_backup.moc"
