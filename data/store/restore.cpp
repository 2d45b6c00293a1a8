// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/restore.h"

#include "data/store/database.h"
#include "data/store/openingcheck.h"
#include "data/store/pagecopy.h"
#include "data/store/privatefiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace vantora {
namespace {

struct StoreTexts
{
    Q_DECLARE_TR_FUNCTIONS(Storage)
};

// Why the backup may not be put back over the file; nothing when it may.
QString refusalOf(const QString &backupPath, const QString &databasePath)
{
    if (!QFileInfo::exists(backupPath))
        return StoreTexts::tr("The backup \"%1\" does not exist.").arg(backupPath);
    if (QFileInfo::exists(databasePath) &&
        QFileInfo(backupPath).canonicalFilePath() == QFileInfo(databasePath).canonicalFilePath())
        return StoreTexts::tr("The backup and the database are the same file.");
    const CheckReport report = checkDatabase(backupPath);
    if (!report.ok)
        return StoreTexts::tr("The backup \"%1\" is not usable: %2")
            .arg(backupPath, report.problems.join(QLatin1Char(' ')));
    return {};
}

// The backup's pages written over the file through SQLite, in one transaction: SQLITE_OK or the
// error code, with *error saying why.
int overwrite(SqliteHandle &from, const QString &databasePath, QString *error)
{
    SqliteHandle to;
    const int rc = to.open(databasePath, SQLITE_OPEN_READWRITE);
    if (rc != SQLITE_OK) {
        *error = to.error();
        return rc;
    }
    return copyPages(from, to, error);
}

// A file too damaged for SQLite to write into is kept aside, never destroyed, and a copy of the
// backup takes its name. *aside is where the damaged file went.
DbError replaceDamagedFile(SqliteHandle &from, const QString &databasePath, QString *aside)
{
    *aside = databasePath + QStringLiteral(".damaged-") + stampNow();
    const QString partial = databasePath + QStringLiteral(".restoring");
    QFile::remove(partial);
    if (const DbError failure = copyToNewFile(from, partial))
        return failure;
    if (!renameNoReplace(databasePath, *aside)) {
        removeDatabaseFile(partial);
        return {DbError::Failed,
                StoreTexts::tr("\"%1\" could not be moved aside.").arg(databasePath)};
    }
    // A journal of the damaged file must not be played into the restored one.
    for (const char *suffix : {"-journal", "-wal", "-shm"}) {
        const QString journal = databasePath + QLatin1String(suffix);
        if (QFileInfo::exists(journal))
            renameNoReplace(journal, *aside + QLatin1String(suffix));
    }
    if (!renameNoReplace(partial, databasePath)) {
        renameNoReplace(*aside, databasePath);
        removeDatabaseFile(partial);
        return {DbError::Failed, StoreTexts::tr("\"%1\" could not be written.").arg(databasePath)};
    }
    return {};
}

} // namespace

DbError restoreDatabase(const QString &backupPath, const QString &databasePath, QString *done)
{
    auto say = [&](const QString &text, bool ok) -> DbError {
        if (!ok)
            return {DbError::Failed, text + StoreTexts::tr(" Nothing was restored.")};
        if (done)
            *done = text;
        forgetOpeningCheck(databasePath); // put right: the next opening checks it afresh
        return {};
    };
    if (const QString refusal = refusalOf(backupPath, databasePath); !refusal.isEmpty())
        return say(refusal, false);
    SqliteHandle from;
    if (from.open(backupPath, SQLITE_OPEN_READONLY) != SQLITE_OK)
        return say(StoreTexts::tr("The backup \"%1\" could not be opened (%2).")
                       .arg(backupPath, from.error()),
                   false);
    const QString restored =
        StoreTexts::tr("Restored \"%1\" from the backup \"%2\".").arg(databasePath, backupPath);

    if (!QFileInfo::exists(databasePath)) {
        if (const DbError failure = copyToNewFile(from, databasePath))
            return say(failure.message, false);
        return say(restored, true);
    }
    QString error;
    const int rc = overwrite(from, databasePath, &error);
    if (rc == SQLITE_OK)
        return say(restored, true);
    if (isBusy(rc))
        return say(StoreTexts::tr("\"%1\" is in use by another program (%2). Close the program "
                                  "and try again.")
                       .arg(databasePath, error),
                   false);
    const int primary = rc & 0xff;
    if (primary != SQLITE_CORRUPT && primary != SQLITE_NOTADB)
        return say(StoreTexts::tr("\"%1\" could not be written (%2).").arg(databasePath, error),
                   false);
    QString aside;
    if (const DbError failure = replaceDamagedFile(from, databasePath, &aside))
        return say(failure.message, false);
    return say(restored + StoreTexts::tr(" The damaged file was kept as \"%1\".").arg(aside), true);
}

} // namespace vantora
