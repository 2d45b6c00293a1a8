// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/store/dberror.h"

#include <QString>
#include <QtGlobal>
#include <atomic>

struct sqlite3;

// What the backups and the restore share: a connection of the SQLite library itself (Qt's driver
// offers no online backup), the page copy through SQLite's online backup, and new files that
// carry their name only when they are complete.
namespace vantora {

// One connection of the SQLite library itself.
struct SqliteHandle
{
    sqlite3 *db = nullptr;
    SqliteHandle() = default;
    ~SqliteHandle() { close(); }
    Q_DISABLE_COPY_MOVE(SqliteHandle)

    int open(const QString &path, int flags);
    // A new file of our own: created private beforehand, opened only if no link took its place,
    // and written without a journal (a failed copy is thrown away whole).
    int openNew(const QString &path);
    void close();
    QString error() const;
};

// SQLITE_BUSY or SQLITE_LOCKED, extended codes included.
bool isBusy(int rc);

// A backup copies this many pages at a time and lets go of the file in between, so that a
// write of another connection waits for one step at most.
inline constexpr int kPagesPerStep = 1024;

// Copies every page of one database into another, as one consistent snapshot, through SQLite's
// online backup: all at once (pagesPerStep -1), or in steps. A source that another program is
// writing to is waited for a while. Returns SQLITE_OK or the error code.
int copyPages(SqliteHandle &from, SqliteHandle &to, QString *detail, int pagesPerStep = -1,
              const std::atomic_bool *stop = nullptr);

// The time now in UTC as backup names and files kept aside carry it: 2026-12-07T101500Z.
QString stampNow();
// The file and the journal beside it.
void removeDatabaseFile(const QString &path);
// A name beside `target` that nobody can guess in advance.
QString temporaryBeside(const QString &target, const QString &suffix);
// Copies a database into a new private file beside `target` and moves it to `target` only when
// it is complete, so that no half-written file ever carries the name. Nothing may be at
// `target`, not even a link.
DbError copyToNewFile(SqliteHandle &from, const QString &target);

} // namespace vantora
