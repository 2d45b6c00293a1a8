// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Backups of the market database: made with SQLite's online backup into a "backups" folder
// beside the file, named by the date and time, the newest ten kept; and putting one back.
namespace vantora {

inline constexpr int kBackupsKept = 10;

// The "backups" folder beside the database file.
QString backupFolder(const QString &databasePath);
// The backups of the database file, newest first.
QStringList backupsOf(const QString &databasePath);

// Copies the database, as one consistent snapshot, to
// backups/<name>-<yyyy-MM-dd>T<hhmmss>Z.db (UTC; "-2", "-3"... when one second holds several),
// then removes all but the newest ten. On failure nothing is left behind and *error says why.
bool backupDatabase(const QString &databasePath, QString *backupPath = nullptr,
                    QString *error = nullptr);

// Puts a backup back over the database file, after checking the backup. An existing file is
// overwritten through SQLite in one transaction, which SQLite refuses while another program is
// writing to it; a file too damaged for that is moved aside (<name>.damaged-<time>) and replaced.
bool restoreDatabase(const QString &backupPath, const QString &databasePath,
                     QString *message = nullptr);

// The check the program makes the first time in a run that it opens a database file: SQLite's
// quick check and the schema check, then a backup. A damaged file is left alone: not usable,
// with a message that names the newest backup and how to restore it. A file that could not be
// checked (missing, in use, no database) is usable as far as this goes: opening it reports why
// it fails, and the next opening checks again.
struct OpeningCheck
{
    bool usable = true;
    QString message; // to show the user, if not empty
};
OpeningCheck checkOnFirstOpen(const QString &databasePath);
// Forgets which files this run has checked (tests).
void forgetOpeningChecks();

} // namespace vantora
