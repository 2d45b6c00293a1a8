// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/store/connection.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <map>
#include <memory>

namespace vantora {

// A table-type record set over one table: one current row held in memory, stepping in stored
// order (rowid) or in the order of one index (key, then rowid), every step an indexed seek.
class TableCursor
{
public:
    TableCursor();
    ~TableCursor();
    Q_DISABLE_COPY_MOVE(TableCursor)

    // The first opening of a file in a run starts its check and backup (startOpeningCheck) and
    // opens the table meanwhile. A file known to be damaged, or empty, is an error and is not
    // opened at all; a backup that could not be made is a *notice for the user, and the table
    // opens all the same.
    DbError open(const QString &path, const QString &table, QString *notice = nullptr);
    void close();
    bool isOpen() const { return m_connection.isOpen(); }
    QString table() const { return m_table; } // as the file spells it
    QString path() const { return m_connection.path(); }

    // Nothing is written to a file before its check has passed: waits for the verdict (calling
    // whileWaiting now and then) and says why the file may not be written, if it may not.
    DbError checkedForWriting(const std::function<void()> &whileWaiting = {}) const;

    // The field's name as the file spells it, looked up without regard to case; empty if none.
    QString fieldName(QStringView name) const;
    DbError fieldError(const QString &field) const;

    // Selects an index by name, without regard to case; stepping follows it from now on.
    DbError setIndex(const QString &name);
    QString index() const { return m_index; }           // empty: stored order
    QString indexField() const { return m_indexField; } // the index's key field
    // The column of the index field's case-folded key, as the file spells it; empty when the
    // field (or the file) has none.
    QString foldedColumn() const { return m_foldedColumn; }

    // Each move keeps the current row when there is nowhere to go; *moved says whether it moved.
    DbError moveFirst(bool *moved = nullptr);
    DbError moveLast(bool *moved = nullptr);
    DbError moveNext(bool *moved = nullptr);
    DbError movePrevious(bool *moved = nullptr);
    // Seeks the first row of the current index whose key equals the value. A match becomes the
    // current row; otherwise noMatch() is set and the current row stays. A text key with a
    // folded column is compared case-folded (rows whose folded key is missing, with NOCASE);
    // missing folded keys are filled first where the file may be written.
    DbError seek(const QVariant &key);
    bool noMatch() const { return m_noMatch; }

    bool hasRecord() const { return m_hasRow; } // a stored row is current
    qint64 rowId() const { return m_rowId; }    // the current row's, while hasRecord()
    // Makes the row with this id current; none found sets noMatch() and keeps the current row.
    DbError moveToRow(qint64 rowId);
    QVariant value(QStringView field) const;

    // A new row kept in memory until save(); the row that was current stays underneath.
    void addNew();
    void cancelNew();
    bool isNew() const { return m_new; }

    // Pending values for the current (or new) row, written by save() in one transaction.
    void setValue(const QString &field, const QVariant &value);
    void discardPending() { m_pending.clear(); }

    // What another program did to the row on show since it was read.
    struct Conflict
    {
        enum Kind {
            None,
            Changed, // a watched field holds something else now
            Gone,    // the row was deleted
            Replaced // the row id holds another record: none of its key fields is as read
        };
        Kind kind = None;
        QVariantList stored; // the row as now stored, field by field (empty when gone)
    };
    enum class SaveCheck {
        Watched,  // the stored row must still hold what was read, in every watched field
        Overwrite // the user chose to write over whatever is stored now
    };
    // Writes the pending values in one transaction. With SaveCheck::Watched the transaction
    // first compares the stored row, in each of the watched fields, with what was read when it
    // came on show (as stored values: 12, 12.0 and "12" differ); on a difference it writes
    // nothing, and the error is a Conflict that conflict() describes.
    DbError save(const QStringList &watched = {}, SaveCheck check = SaveCheck::Watched);
    const Conflict &conflict() const { return m_conflict; }
    // Writes the row on show as a new row: every field as it was read, the pending values over
    // them. It becomes the current row.
    DbError saveAsNew();
    // Re-reads the current row from the file; a row that is gone leaves no row current.
    DbError refresh();
    // A field of the current row as read from the file, whatever is pending for it.
    QVariant storedValue(QStringView field) const { return value(field); }
    QStringList fields() const { return m_fields; }

    // Deletes the current row; afterwards no row is current.
    DbError deleteCurrent();

private:
    enum class Action { Open, Read, Write, Delete };
    DbError sqlError(const QSqlError &error, Action action) const;
    QString failedAction(Action action) const;
    QSqlQuery *prepared(const QString &sql);
    // Runs a one-row query; *found says whether it gave a row, which then becomes current.
    DbError fetch(QSqlQuery *query, bool *found);
    DbError stepQuery(const QString &where, const QString &order, bool bindKey, bool bindRow,
                      bool *found);
    QString keyExpr() const;
    QString selectFrom() const;
    // The stored row's state against what was read, inside the running write transaction.
    DbError checkStoredRow(const QStringList &watched);
    DbError write();
    void fillFoldedKeys();

    DbConnection m_connection;
    QString m_table;
    QStringList m_fields;
    QString m_index;
    QString m_indexField;
    QString m_collation;
    QString m_foldedColumn;
    std::map<QString, std::unique_ptr<QSqlQuery>> m_queries; // prepared once per connection
    QSqlError m_prepareError;

    bool m_hasRow = false;
    qint64 m_rowId = 0;
    QVariantList m_values;
    bool m_new = false;
    bool m_noMatch = false;
    QHash<QString, QVariant> m_pending;
    Conflict m_conflict;
};

} // namespace vantora
