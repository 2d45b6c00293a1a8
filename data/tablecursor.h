#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <map>
#include <memory>

namespace vantora {

// What went wrong in the database, with a message fit for the user (it names the file, the
// table, the field or the index concerned). Returned as a value; the cursor shows nothing.
struct DbError
{
    enum Kind {
        None,
        MissingFile,
        CannotOpen,
        NotADatabase,
        MissingTable,
        MissingField,
        MissingIndex,
        NoRecord,
        ReadOnly,
        Locked,
        RecordGone,
        Failed
    };
    Kind kind = None;
    QString message;

    explicit operator bool() const { return kind != None; }
};

// One connection of its own to the market database file. The file is never created here: a
// missing file is an error.
class DbConnection
{
public:
    DbConnection();
    ~DbConnection();
    Q_DISABLE_COPY_MOVE(DbConnection)

    enum class Mode { ReadWrite, ReadOnly, Create };
    DbError open(const QString &path, Mode mode, int busyTimeoutMs);
    void close();
    bool isOpen() const { return m_db.isOpen(); }
    QSqlDatabase &db() { return m_db; }
    QString path() const { return m_path; }

private:
    QString m_name;
    QString m_path;
    QSqlDatabase m_db;
};

// SQLite's primary result codes that the messages tell apart.
enum SqliteCode : int {
    SqliteBusy = 5,
    SqliteLocked = 6,
    SqliteReadOnly = 8,
    SqliteCorrupt = 11,
    SqliteCantOpen = 14,
    SqliteNotADb = 26,
};

// The primary result code (the low byte of the extended one) behind an engine error, or -1 when
// the error carries none.
int sqlitePrimaryCode(const QSqlError &error);

// How a file that is read whole (checked, backed up, exported) is opened: read-write when it may
// be written, so that a transaction a crash left unfinished is rolled back first; otherwise
// read-only.
DbConnection::Mode readWriteIfAllowed(const QString &path);

// A table-type record set over one table: one current row held in memory, stepping in stored
// order (rowid) or in the order of one index (key, then rowid), every step an indexed seek.
class TableCursor
{
public:
    struct Options
    {
        int busyTimeoutMs = 3000;
        bool readOnly = false; // open the file as a read-only file would be opened
    };
    // The options every new cursor starts from.
    static Options &defaults();

    TableCursor();
    ~TableCursor();
    Q_DISABLE_COPY_MOVE(TableCursor)

    DbError open(const QString &path, const QString &table);
    void close();
    bool isOpen() const { return m_connection.isOpen(); }
    QString path() const { return m_connection.path(); }
    QString table() const { return m_table; } // as the file spells it

    QStringList fields() const { return m_fields; }
    // The field's name as the file spells it, looked up without regard to case; empty if none.
    QString fieldName(QStringView name) const;
    DbError fieldError(const QString &field) const;

    // Selects an index by name, without regard to case; stepping follows it from now on.
    DbError setIndex(const QString &name);
    QString index() const { return m_index; }           // empty: stored order
    QString indexField() const { return m_indexField; } // the index's key field

    // Each move keeps the current row when there is nowhere to go; *moved says whether it moved.
    DbError moveFirst(bool *moved = nullptr);
    DbError moveLast(bool *moved = nullptr);
    DbError moveNext(bool *moved = nullptr);
    DbError movePrevious(bool *moved = nullptr);
    // Seeks the first row of the current index whose key equals the value. A match becomes the
    // current row; otherwise noMatch() is set and the current row stays.
    DbError seek(const QVariant &key);
    bool noMatch() const { return m_noMatch; }

    bool hasRecord() const { return m_hasRow; } // a stored row is current
    qint64 rowId() const { return m_rowId; }
    QVariant value(QStringView field) const;
    // Re-reads the current row from the file.
    DbError refresh();

    // A new row kept in memory until save(); the row that was current stays underneath.
    void addNew();
    void cancelNew();
    bool isNew() const { return m_new; }

    // Pending values for the current (or new) row, written by save() in one transaction.
    void setValue(const QString &field, const QVariant &value);
    bool hasPending() const { return !m_pending.isEmpty(); }
    void discardPending() { m_pending.clear(); }
    DbError save();

    // Deletes the current row; afterwards no row is current.
    DbError deleteCurrent();

    qint64 rowCount();

private:
    enum class Action { Open, Read, Write, Delete };
    DbError sqlError(const QSqlError &error, Action action) const;
    QSqlQuery *prepared(const QString &sql);
    // Runs a one-row query; *found says whether it gave a row, which then becomes current.
    DbError fetch(QSqlQuery *query, bool *found);
    DbError stepQuery(const QString &where, const QString &order, bool bindKey, bool bindRow,
                      bool *found);
    QString keyExpr() const;
    QString selectFrom() const;

    DbConnection m_connection;
    QString m_table;
    QStringList m_fields;
    QString m_index;
    QString m_indexField;
    QString m_collation;
    std::map<QString, std::unique_ptr<QSqlQuery>> m_queries; // prepared once per connection
    QSqlError m_prepareError;

    bool m_hasRow = false;
    qint64 m_rowId = 0;
    QVariantList m_values;
    bool m_new = false;
    bool m_noMatch = false;
    QHash<QString, QVariant> m_pending;
};

} // namespace vantora
