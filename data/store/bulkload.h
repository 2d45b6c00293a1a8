// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>

namespace vantora {

// Loads many rows into one table as SQLite loads them fastest, inside the caller's transaction:
// once the rows loaded outnumber those stored before, the table's indexes are set aside
// (dropped) and made again at the end, in one sorted pass each, instead of being kept in order
// row by row; while they are kept, the connection keeps a larger page cache. A rollback brings the
// indexes back as they were. Unique indexes refuse rows as they come, so they stay unless asked for
// (the caller then keeps the rows unique itself).
class BulkLoad
{
public:
    enum class Unique { Keep, SetAside };
    BulkLoad(QSqlDatabase &db, const QString &table, Unique unique = Unique::Keep);
    ~BulkLoad();
    Q_DISABLE_COPY_MOVE(BulkLoad)

    // Counts the rows stored and enlarges the page cache.
    QSqlError start();
    // After each row loaded: sets the indexes aside once the rows outnumber those stored.
    QSqlError rowLoaded()
    {
        return ++m_loaded > m_threshold && !m_aside ? setAside() : QSqlError();
    }
    bool indexesAside() const { return m_aside; }
    // The largest row id before the load: the rows after it are the load's.
    qint64 lastRowBefore() const { return m_lastRowBefore; }
    // The largest row id when the indexes were set aside: the rows after it went in without them.
    qint64 lastRowIndexed() const { return m_lastRowIndexed; }
    // Makes the indexes set aside again; the rows must fit a unique one by now.
    QSqlError finish();

    // Fewer rows than this are loaded into a table that holds some with the indexes kept:
    // making them again would cost more.
    static constexpr qint64 kLeastRows = 20000;

private:
    QSqlError setAside();

    QSqlDatabase &m_db;
    QString m_table;
    Unique m_unique;
    qint64 m_loaded = 0;
    qint64 m_threshold = kLeastRows;
    qint64 m_lastRowBefore = 0;
    qint64 m_lastRowIndexed = 0;
    bool m_aside = false;
    int m_cacheBefore = 0;
    QStringList m_statements; // the indexes' own CREATE INDEX statements
};

} // namespace vantora
