// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace vantora {

// What tells that a database file has not changed, read from its metadata and its header alone:
// the file itself (device and inode), its size, its modification and status-change times to the
// nanosecond, and SQLite's file change counter. The status-change time moves with every write,
// even one whose author set the modification time back afterwards; the change counter with
// every transaction. A file in write-ahead-log mode, or with a journal or log beside it, may hold
// changes that are not in the file yet: its state is not valid, and matches no other.
struct FileState
{
    bool valid = false;
    qint64 device = 0;
    qint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    quint32 changeCounter = 0;
    int schemaVersion = 0; // as the header holds it (PRAGMA user_version)

    bool matches(const FileState &other) const;
    // One line of tab-separated numbers, and back; an unreadable line gives a state not valid.
    QByteArray toText() const;
    static FileState fromText(const QByteArray &text);
};

FileState fileStateOf(const QString &databasePath);

} // namespace vantora
