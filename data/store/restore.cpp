// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/restore.h"

#include "data/store/database.h"
#include "data/store/openingcheck.h"
#include "data/store/pagecopy.h"
#include "data/store/privatefiles.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace vantora {

DbError restoreDatabase(const QString &backupPath, const QString &databasePath, QString *done)
{
    auto say = [&](const QString &text, bool ok) -> DbError {
        if (!ok)
            return {DbError::Failed, text};
        if (done)
            *done = text;
        forgetOpeningCheck(databasePath); // put right: the next opening checks it afresh
        return {};
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

    SqliteHandle from;
    if (from.open(backupPath, SQLITE_OPEN_READONLY) != SQLITE_OK)
        return say(QStringLiteral("The backup \"%1\" could not be opened (%2).")
                           .arg(backupPath, from.error()) +
                       nothing,
                   false);
    const QString restored =
        QStringLiteral("Restored \"%1\" from the backup \"%2\".").arg(databasePath, backupPath);

    QString error;
    if (!QFileInfo::exists(databasePath)) {
        if (const DbError failure = copyToNewFile(from, databasePath))
            return say(failure.message + nothing, false);
        return say(restored, true);
    }

    int rc = SQLITE_OK;
    {
        SqliteHandle to;
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
    if (const DbError failure = copyToNewFile(from, partial))
        return say(failure.message + nothing, false);
    if (!renameNoReplace(databasePath, aside)) {
        removeDatabaseFile(partial);
        return say(QStringLiteral("\"%1\" could not be moved aside.").arg(databasePath) + nothing,
                   false);
    }
    // A journal of the damaged file must not be played into the restored one.
    for (const char *suffix : {"-journal", "-wal", "-shm"}) {
        const QString journal = databasePath + QLatin1String(suffix);
        if (QFileInfo::exists(journal))
            renameNoReplace(journal, aside + QLatin1String(suffix));
    }
    if (!renameNoReplace(partial, databasePath)) {
        renameNoReplace(aside, databasePath);
        removeDatabaseFile(partial);
        return say(QStringLiteral("\"%1\" could not be written.").arg(databasePath) + nothing,
                   false);
    }
    return say(restored + QStringLiteral(" The damaged file was kept as \"%1\".").arg(aside), true);
}

} // namespace vantora
