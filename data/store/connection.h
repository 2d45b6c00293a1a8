// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/store/dberror.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <QStringView>

struct sqlite3;

namespace vantora {

// How long a connection waits for another program's lock before it reports the file in use:
// short enough that a locked file is reported within two seconds of a click.
inline constexpr int kBusyTimeoutMs = 1000;

// What every new connection starts from. Tests lower the wait, and open the table cursor's file
// as a read-only file would be opened.
struct ConnectionOptions
{
    int busyTimeoutMs = kBusyTimeoutMs;
    bool readOnly = false; // the table cursor opens its file read-only
};
ConnectionOptions &connectionOptions();

// One connection of its own to a market database file. The file is never created unless asked
// for: a missing file is an error.
class DbConnection
{
public:
    DbConnection();
    ~DbConnection();
    Q_DISABLE_COPY_MOVE(DbConnection)

    enum class Mode { ReadWrite, ReadOnly, Create };
    DbError open(const QString &path, Mode mode);
    void close();
    bool isOpen() const { return m_db.isOpen(); }
    QSqlDatabase &db() { return m_db; }
    QString path() const { return m_path; }

private:
    QString m_name;
    QString m_path;
    QSqlDatabase m_db;
};

// The primary result code of SQLite (SQLITE_BUSY, SQLITE_CORRUPT...: the low byte of the
// extended one) behind an engine error, or -1 when the error carries none.
int sqlitePrimaryCode(const QSqlError &error);

// How a file that is read whole (checked, backed up, exported) is opened: read-write when it may
// be written, so that a transaction a crash left unfinished is rolled back first; otherwise
// read-only.
DbConnection::Mode readWriteIfAllowed(const QString &path);

// What keeps a write from the file, as a message puts it: the market database is read-only, or
// the folder that holds it is (SQLite writes its journal beside the file).
QString readOnlyText(const QString &path);

// The engine's own words about a failure; the driver's where the engine has none.
QString engineDetail(const QSqlError &error);
// An engine failure as every message puts it: "<what failed> (<the engine's words>)<end>".
QString engineMessage(const QString &what, const QSqlError &error, QStringView end = u".");

// How a value is bound so that SQLite stores it exactly as it is: a text whose first character
// is U+FEFF goes as its UTF-8 bytes cast to text, since SQLite drops a leading byte-order mark
// from the UTF-16 text the driver hands it. Use the placeholder in the statement and bind the
// bindable value in its place.
QString placeholderFor(const QVariant &value);
QVariant bindable(const QVariant &value);

// The schema version the file records (SQLite's user_version). A file that records none is of
// the first version, made before the version was recorded.
int schemaVersion(QSqlDatabase &db);

// The SQLite connection under Qt's, for what goes faster or only through SQLite's own calls;
// null when the connection is not open or not SQLite's.
sqlite3 *sqliteHandle(QSqlDatabase &db);

struct TableColumns
{
    QString table;       // as the file spells it; empty when the file has no such table
    QStringList columns; // as the file spells them, in the file's order
    QSqlError error;     // set when the file's schema could not be read at all
};
// The table of that name, found without regard to case, and its columns. A file that is no
// database fails here, on the first read of its schema.
TableColumns readTableColumns(QSqlDatabase &db, const QString &table);

// One write transaction. BEGIN IMMEDIATE takes the write lock at once (waiting as long as the
// busy timeout allows), so that no write fails half-way for a lock; a transaction that is not
// committed is rolled back when it goes out of scope. Its statements must go before it does.
class Transaction
{
public:
    explicit Transaction(QSqlDatabase &db);
    ~Transaction();
    Q_DISABLE_COPY_MOVE(Transaction)

    bool begin();
    bool commit(); // a failed commit leaves the transaction to be rolled back
    QSqlError error() const { return m_error; }

private:
    QSqlDatabase &m_db;
    bool m_active = false;
    QSqlError m_error;
};

} // namespace vantora
