// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/backup.h"

#include "data/connection.h"
#include "data/database.h"
#include "data/migration.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <sqlite3.h>

namespace vantora {
namespace {

// One connection of the SQLite library itself: Qt's driver offers no online backup.
struct Handle
{
    sqlite3 *db = nullptr;
    Handle() = default;
    ~Handle() { close(); }
    Q_DISABLE_COPY_MOVE(Handle)

    int open(const QString &path, int flags)
    {
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
        if (db) {
            sqlite3_extended_result_codes(db, 1);
            sqlite3_busy_timeout(db, connectionOptions().busyTimeoutMs);
        }
        return rc;
    }
    void close()
    {
        if (db)
            sqlite3_close_v2(db);
        db = nullptr;
    }
    QString error() const
    {
        return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
    }
};

bool isBusy(int rc)
{
    return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
}

// Copies every page of one database into another, as one consistent snapshot, through SQLite's
// online backup; the destination is written in one transaction. A source that another program
// is writing to is waited for a while. Returns SQLITE_OK or the error code.
int copyPages(Handle &from, Handle &to, QString *detail)
{
    sqlite3_backup *backup = sqlite3_backup_init(to.db, "main", from.db, "main");
    if (!backup) {
        *detail = to.error();
        return sqlite3_extended_errcode(to.db);
    }
    QElapsedTimer waited;
    waited.start();
    int rc = SQLITE_OK;
    for (;;) {
        rc = sqlite3_backup_step(backup, -1);
        if (isBusy(rc) && waited.elapsed() < connectionOptions().busyTimeoutMs) {
            sqlite3_sleep(50);
            continue;
        }
        break;
    }
    const int finished = sqlite3_backup_finish(backup);
    if (rc == SQLITE_DONE)
        rc = finished;
    if (rc != SQLITE_OK) {
        *detail = to.error();
        if (detail->isEmpty() || *detail == QLatin1String("not an error"))
            *detail = QString::fromUtf8(sqlite3_errstr(rc));
    }
    return rc;
}

QString stampNow()
{
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-ddTHHmmss")) +
           QLatin1Char('Z');
}

void removeDatabaseFile(const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

// Copies a database into a new file beside `target` and moves it to `target` only when it is
// complete, so that no half-written file ever carries the name. `target` must not exist.
bool copyToNewFile(Handle &from, const QString &target, QString *error)
{
    const QFileInfo info(target);
    const QString temporary = info.absolutePath() + QStringLiteral("/.%1-%2.partial")
                                                        .arg(info.fileName())
                                                        .arg(QCoreApplication::applicationPid());
    removeDatabaseFile(temporary);
    {
        Handle to;
        if (to.open(temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) != SQLITE_OK) {
            *error = QStringLiteral("\"%1\" could not be created (%2).").arg(temporary, to.error());
            to.close();
            removeDatabaseFile(temporary);
            return false;
        }
        QString detail;
        if (copyPages(from, to, &detail) != SQLITE_OK) {
            *error = detail;
            to.close();
            removeDatabaseFile(temporary);
            return false;
        }
    }
    if (!QFile::rename(temporary, target)) {
        *error = QStringLiteral("\"%1\" could not be written.").arg(target);
        removeDatabaseFile(temporary);
        return false;
    }
    return true;
}

struct BackupName
{
    QString path;
    QString stamp;
    int number = 1;
};

QList<BackupName> listBackups(const QString &databasePath)
{
    const QString stem = QFileInfo(databasePath).completeBaseName();
    static const QString kPattern =
        QStringLiteral("^%1-(\\d{4}-\\d\\d-\\d\\dT\\d{6}Z)(?:-(\\d+))?\\.db$");
    const QRegularExpression pattern(kPattern.arg(QRegularExpression::escape(stem)));
    QList<BackupName> found;
    const QDir folder(backupFolder(databasePath));
    for (const QFileInfo &entry : folder.entryInfoList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch match = pattern.match(entry.fileName());
        if (!match.hasMatch())
            continue;
        BackupName name{entry.absoluteFilePath(), match.captured(1), 1};
        if (match.hasCaptured(2))
            name.number = match.captured(2).toInt();
        found << name;
    }
    std::sort(found.begin(), found.end(), [](const BackupName &a, const BackupName &b) {
        return a.stamp != b.stamp ? a.stamp > b.stamp : a.number > b.number;
    });
    return found;
}

QSet<QString> &checkedFiles()
{
    static QSet<QString> files;
    return files;
}

QString quotedPath(const QString &path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

QString damagedMessage(const QString &path, const QString &problem)
{
    QString shortProblem = problem;
    const QString unread = QStringLiteral("\"%1\" could not be read: ").arg(path);
    if (shortProblem.startsWith(unread))
        shortProblem = shortProblem.mid(unread.size());
    shortProblem = shortProblem.remove(QStringLiteral("*** in database main ***")).simplified();
    if (shortProblem.size() > 300)
        shortProblem = shortProblem.left(300) + QStringLiteral("...");
    QString text = QStringLiteral("The market database \"%1\" is damaged (%2).\n\nIt has been left "
                                  "exactly as it is, and no backup was made of it. The record "
                                  "screens show no records until a backup is put back.")
                       .arg(path, shortProblem);
    const QStringList backups = backupsOf(path);
    if (backups.isEmpty()) {
        text += QStringLiteral("\n\nThere is no backup of it in \"%1\".").arg(backupFolder(path));
    } else {
        const QString newest = backups.first();
        const QString when =
            QLocale().toString(QFileInfo(newest).lastModified(), QLocale::ShortFormat);
        text += QStringLiteral("\n\nThe newest backup is \"%1\" (made %2). To put it back, close "
                               "the program and run:\nvantora-db restore %3 %4")
                    .arg(newest, when, quotedPath(newest), quotedPath(path));
    }
    return text;
}

} // namespace

QString backupFolder(const QString &databasePath)
{
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("backups"));
}

QStringList backupsOf(const QString &databasePath)
{
    QStringList paths;
    for (const BackupName &name : listBackups(databasePath))
        paths << name.path;
    return paths;
}

bool backupDatabase(const QString &databasePath, QString *backupPath, QString *error)
{
    QString problem;
    auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (!QFileInfo::exists(databasePath))
        return fail(QStringLiteral("\"%1\" does not exist.").arg(databasePath));
    const QString folder = backupFolder(databasePath);
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("the folder \"%1\" could not be created").arg(folder));

    Handle from;
    // Read-write when allowed, so that a transaction left unfinished by a crash is rolled back
    // before the pages are copied.
    const int flags = readWriteIfAllowed(databasePath) == DbConnection::Mode::ReadWrite
                          ? SQLITE_OPEN_READWRITE
                          : SQLITE_OPEN_READONLY;
    if (from.open(databasePath, flags) != SQLITE_OK)
        return fail(
            QStringLiteral("\"%1\" could not be opened (%2)").arg(databasePath, from.error()));

    const QString stem = QFileInfo(databasePath).completeBaseName();
    const QString stamp = stampNow();
    const QString temporary = QStringLiteral("%1/.%2-%3-%4.partial")
                                  .arg(folder, stem, stamp)
                                  .arg(QCoreApplication::applicationPid());
    removeDatabaseFile(temporary);
    {
        Handle to;
        QString detail;
        int rc = to.open(temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (rc != SQLITE_OK)
            detail = to.error();
        else
            rc = copyPages(from, to, &detail);
        if (rc != SQLITE_OK) {
            to.close();
            removeDatabaseFile(temporary);
            return fail(QStringLiteral("the copy into \"%1\" failed (%2)").arg(folder, detail));
        }
    }
    from.close();

    // Unique even within one second: a name already taken gets the next number.
    QString target;
    for (int number = 1; number < 1000; ++number) {
        const QString candidate =
            number == 1 ? QStringLiteral("%1/%2-%3.db").arg(folder, stem, stamp)
                        : QStringLiteral("%1/%2-%3-%4.db").arg(folder, stem, stamp).arg(number);
        if (QFileInfo::exists(candidate))
            continue;
        if (QFile::rename(temporary, candidate)) {
            target = candidate;
            break;
        }
        if (!QFileInfo::exists(candidate)) {
            removeDatabaseFile(temporary);
            return fail(QStringLiteral("\"%1\" could not be written").arg(candidate));
        }
    }
    if (target.isEmpty()) {
        removeDatabaseFile(temporary);
        return fail(QStringLiteral("no free name for a backup in \"%1\"").arg(folder));
    }

    const QList<BackupName> all = listBackups(databasePath);
    for (qsizetype i = kBackupsKept; i < all.size(); ++i)
        QFile::remove(all[i].path);
    if (backupPath)
        *backupPath = target;
    return true;
}

bool restoreDatabase(const QString &backupPath, const QString &databasePath, QString *message)
{
    auto say = [&](const QString &text, bool ok) {
        if (message)
            *message = text;
        return ok;
    };
    const QString nothing = QStringLiteral(" Nothing was restored.");
    if (!QFileInfo::exists(backupPath))
        return say(QStringLiteral("The backup \"%1\" does not exist.").arg(backupPath) + nothing,
                   false);
    if (QFileInfo::exists(databasePath) &&
        QFileInfo(backupPath).canonicalFilePath() == QFileInfo(databasePath).canonicalFilePath())
        return say(QStringLiteral("The backup and the database are the same file.") + nothing,
                   false);
    const CheckReport report = checkDatabase(backupPath);
    if (!report.ok)
        return say(QStringLiteral("The backup \"%1\" is not usable: %2")
                           .arg(backupPath, report.problems.join(QLatin1Char(' '))) +
                       nothing,
                   false);

    Handle from;
    if (from.open(backupPath, SQLITE_OPEN_READONLY) != SQLITE_OK)
        return say(QStringLiteral("The backup \"%1\" could not be opened (%2).")
                           .arg(backupPath, from.error()) +
                       nothing,
                   false);
    const QString restored =
        QStringLiteral("Restored \"%1\" from the backup \"%2\".").arg(databasePath, backupPath);

    QString error;
    if (!QFileInfo::exists(databasePath)) {
        if (!copyToNewFile(from, databasePath, &error))
            return say(error + nothing, false);
        return say(restored, true);
    }

    int rc = SQLITE_OK;
    {
        Handle to;
        rc = to.open(databasePath, SQLITE_OPEN_READWRITE);
        if (rc == SQLITE_OK)
            rc = copyPages(from, to, &error);
        else
            error = to.error();
    }
    if (rc == SQLITE_OK)
        return say(restored, true);
    if (isBusy(rc))
        return say(QStringLiteral("\"%1\" is in use by another program (%2). Close the program "
                                  "and try again.")
                           .arg(databasePath, error) +
                       nothing,
                   false);
    const int primary = rc & 0xff;
    if (primary != SQLITE_CORRUPT && primary != SQLITE_NOTADB)
        return say(QStringLiteral("\"%1\" could not be written (%2).").arg(databasePath, error) +
                       nothing,
                   false);

    // Too damaged for SQLite to write into: the damaged file is kept aside, never destroyed.
    const QString aside = databasePath + QStringLiteral(".damaged-") + stampNow();
    const QString partial = databasePath + QStringLiteral(".restoring");
    QFile::remove(partial);
    if (!copyToNewFile(from, partial, &error))
        return say(error + nothing, false);
    if (!QFile::rename(databasePath, aside)) {
        removeDatabaseFile(partial);
        return say(QStringLiteral("\"%1\" could not be moved aside.").arg(databasePath) + nothing,
                   false);
    }
    // A journal of the damaged file must not be played into the restored one.
    for (const char *suffix : {"-journal", "-wal", "-shm"}) {
        const QString journal = databasePath + QLatin1String(suffix);
        if (QFileInfo::exists(journal))
            QFile::rename(journal, aside + QLatin1String(suffix));
    }
    if (!QFile::rename(partial, databasePath)) {
        QFile::rename(aside, databasePath);
        removeDatabaseFile(partial);
        return say(QStringLiteral("\"%1\" could not be written.").arg(databasePath) + nothing,
                   false);
    }
    return say(restored + QStringLiteral(" The damaged file was kept as \"%1\".").arg(aside), true);
}

OpeningCheck checkOnFirstOpen(const QString &databasePath)
{
    const QString key = QFileInfo(databasePath).absoluteFilePath();
    if (checkedFiles().contains(key) || !QFileInfo::exists(databasePath))
        return {};
    const CheckReport report = checkDatabase(databasePath, CheckDepth::Quick);
    switch (report.verdict) {
    case CheckReport::Unreadable:
        return {};
    case CheckReport::NotADatabase:
        // A file that was backed up before was a database: now it is damaged. Any other file
        // is reported by the opening itself.
        if (backupsOf(databasePath).isEmpty())
            return {};
        return {false, damagedMessage(databasePath, report.problems.value(0))};
    case CheckReport::Damaged:
        return {false, damagedMessage(databasePath, report.problems.value(0))};
    case CheckReport::SchemaProblems:
        // An incomplete file is not backed up: ten runs would push out every complete backup.
        // The screens name what is missing when they need it.
        checkedFiles().insert(key);
        return {};
    case CheckReport::Usable:
        break;
    }
    checkedFiles().insert(key);
    QString error;
    if (!backupDatabase(databasePath, nullptr, &error))
        return {true, QStringLiteral("No backup of the market database \"%1\" could be made: %2."
                                     "\n\nYour data is not affected; the program goes on without "
                                     "a new backup.")
                          .arg(databasePath, error)};
    // Only with a backup in hand does a file of an older version get what this one adds.
    if (QFileInfo(databasePath).isWritable())
        if (const DbError failure = upgradeSchema(databasePath))
            return {true, failure.message};
    return {};
}

void forgetOpeningChecks()
{
    checkedFiles().clear();
}

} // namespace vantora
