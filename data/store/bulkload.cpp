// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/bulkload.h"

#include "data/store/schema.h"

#include <QSqlQuery>
#include <QVariant>
#include <algorithm>

namespace vantora {
namespace {

// The page cache of a load while the indexes are kept, in KiB: rows go into them all over,
// and their pages stay in memory. A fixed amount: memory does not grow with the file. Once the
// indexes are set aside, rows are only added at the table's end and the indexes are made in
// sorted passes: the connection's own small cache is faster then (the pages are written out
// as they fill, instead of first filling a large cache), and far smaller.
constexpr int kLoadCacheKiB = 96 * 1024;

} // namespace

BulkLoad::BulkLoad(QSqlDatabase &db, const QString &table, Unique unique)
    : m_db(db)
    , m_table(table)
    , m_unique(unique)
{
}

BulkLoad::~BulkLoad()
{
    if (m_cacheBefore != 0 && m_db.isOpen())
        QSqlQuery(m_db).exec(QStringLiteral("PRAGMA cache_size = %1").arg(m_cacheBefore));
}

QSqlError BulkLoad::start()
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("PRAGMA cache_size")) || !query.next())
        return query.lastError();
    m_cacheBefore = query.value(0).toInt();
    if (!query.exec(QStringLiteral("PRAGMA cache_size = -%1").arg(kLoadCacheKiB)))
        return query.lastError();
    if (!query.exec(QStringLiteral("SELECT count(*), coalesce(max(rowid), 0) FROM %1")
                        .arg(schema::quoted(m_table))) ||
        !query.next())
        return query.lastError();
    // Into an empty table the rows go without the indexes from the first: making them once
    // costs no more than keeping them.
    const qint64 stored = query.value(0).toLongLong();
    m_lastRowBefore = query.value(1).toLongLong();
    m_threshold = stored == 0 ? 0 : std::max(kLeastRows, stored);
    return {};
}

QSqlError BulkLoad::setAside()
{
    QSqlQuery query(m_db);
    // Indexes that SQLite made itself (for UNIQUE and PRIMARY KEY) have no statement and stay.
    if (!query.prepare(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' "
                                      "AND tbl_name = ? COLLATE NOCASE AND sql IS NOT NULL")))
        return query.lastError();
    query.addBindValue(m_table);
    if (!query.exec())
        return query.lastError();
    QStringList names;
    while (query.next()) {
        const QString statement = query.value(1).toString();
        const bool unique =
            statement.trimmed().startsWith(QLatin1String("CREATE UNIQUE"), Qt::CaseInsensitive);
        if (unique && m_unique == Unique::Keep)
            continue;
        names << query.value(0).toString();
        m_statements << statement;
    }
    if (!query.exec(QStringLiteral("SELECT coalesce(max(rowid), 0) FROM %1")
                        .arg(schema::quoted(m_table))) ||
        !query.next())
        return query.lastError();
    m_lastRowIndexed = query.value(0).toLongLong();
    query.finish();
    for (const QString &name : std::as_const(names))
        if (!query.exec(QStringLiteral("DROP INDEX %1").arg(schema::quoted(name))))
            return query.lastError();
    if (!query.exec(QStringLiteral("PRAGMA cache_size = %1").arg(m_cacheBefore)))
        return query.lastError();
    m_aside = true;
    return {};
}

QSqlError BulkLoad::finish()
{
    if (!m_aside)
        return {};
    QSqlQuery query(m_db);
    for (const QString &statement : std::as_const(m_statements))
        if (!query.exec(statement))
            return query.lastError();
    m_statements.clear();
    m_aside = false;
    return {};
}

} // namespace vantora
