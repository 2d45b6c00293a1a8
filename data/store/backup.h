// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/store/dberror.h"

#include <QString>
#include <QStringList>
#include <atomic>

// Backups of the market database: made with SQLite's online backup into a "backups" folder
// beside the file, each copy checked with SQLite's full integrity check before it counts, the
// ten made last kept.
namespace vantora {

inline constexpr int kBackupsKept = 10;
// How many backups of a file are kept: the program's setting (Options, "Backups kept"), else
// kBackupsKept.
int backupsKept();
inline QString backupsKeptKey()
{
    return QStringLiteral("Options/Backups kept");
}

// The "backups" folder beside the database file.
QString backupFolder(const QString &databasePath);
// The backups of the database file, the one made last first. The order in which they were made
// is kept in <name>.index in the folder; backups made before there was an index come after
// those, newest name first.
QStringList backupsOf(const QString &databasePath);
// The backup made last that passes SQLite's full integrity check and has the whole schema (what
// restore accepts); empty if none does. A backup checked before and unchanged since is not
// checked again.
QString newestGoodBackup(const QString &databasePath);

// Copies the database, as one consistent snapshot, to a private file
// backups/<name>-<yyyy-MM-dd>T<hhmmss>Z.db (UTC; "-2", "-3"... when a name is taken), once the
// copy has passed the full integrity check; then removes all but the ten made last (never the
// one just made). Files left by an interrupted backup are removed first. On failure nothing is
// left behind and the error says why (in a clause); a Damaged one tells that the copy failed the
// integrity check, so that the database itself holds damage.
DbError backupDatabase(const QString &databasePath, QString *backupPath = nullptr);

// What a backup came to, for the opening check: a damaged copy tells that the database itself
// holds damage; a backup skipped because another run is making one is no failure.
struct BackupOutcome
{
    enum Kind { Made, Failed, Damaged, Skipped } kind = Failed;
    QString path;    // the backup made
    QString problem; // why none was
};
// backupDatabase's work, given up when *stop turns true.
BackupOutcome makeBackup(const QString &databasePath, const std::atomic_bool *stop);

// What the program tells of a file that is empty: the newest good backup and how to put it
// back.
QString emptyFileMessage(const QString &databasePath);

// The newest good backup and the command that puts it back; `otherwise` when there is none.
QString restoreAdvice(const QString &path, const QString &otherwise = {});

} // namespace vantora
