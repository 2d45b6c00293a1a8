#include "data/tablecursor.h"

#include "data/schema.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlRecord>

namespace vantora {
namespace {

QString detailOf(const QSqlError &error)
{
    QString text = error.driverText();
    if (text.isEmpty())
        text = error.databaseText();
    else if (!error.databaseText().isEmpty() && error.databaseText() != text)
        text = error.databaseText();
    return text;
}

// A path as an SQLite URI, so that the file can be opened without being created.
QString uriFor(const QString &path, DbConnection::Mode mode)
{
    QString escaped = path;
    escaped.replace(QLatin1Char('%'), QLatin1String("%25"));
    escaped.replace(QLatin1Char('?'), QLatin1String("%3f"));
    escaped.replace(QLatin1Char('#'), QLatin1String("%23"));
    const char *flags = mode == DbConnection::Mode::ReadOnly ? "ro"
                        : mode == DbConnection::Mode::Create ? "rwc"
                                                             : "rw";
    return QStringLiteral("file:%1?mode=%2").arg(escaped, QLatin1String(flags));
}

QString commandPath(const QString &path)
{
    return path.contains(QLatin1Char(' ')) ? QLatin1Char('"') + path + QLatin1Char('"') : path;
}

DbError missingFile(const QString &path)
{
    return {DbError::MissingFile,
            QStringLiteral("The market database file \"%1\" does not exist.\n\n"
                           "Create it with the command:\nvantora-db create %2 --sample")
                .arg(path, commandPath(path))};
}

} // namespace

int sqlitePrimaryCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
}

DbConnection::Mode readWriteIfAllowed(const QString &path)
{
    return QFileInfo(path).isWritable() ? DbConnection::Mode::ReadWrite
                                        : DbConnection::Mode::ReadOnly;
}

// ---------------------------------------------------------------------------------------------

DbConnection::DbConnection()
{
    static QAtomicInt counter;
    m_name = QStringLiteral("vantora-db-%1").arg(counter.fetchAndAddRelaxed(1));
}

DbConnection::~DbConnection()
{
    close();
}

DbError DbConnection::open(const QString &path, Mode mode, int busyTimeoutMs)
{
    close();
    m_path = path;
    const QFileInfo info(path);
    if (mode != Mode::Create && !info.exists())
        return missingFile(path);
    if (info.isDir())
        return {DbError::CannotOpen,
                QStringLiteral("\"%1\" is a folder, not a market database file.").arg(path)};

    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(uriFor(path, mode));
    m_db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    if (!m_db.open()) {
        const QSqlError error = m_db.lastError();
        close();
        m_path = path;
        if (sqlitePrimaryCode(error) == SqliteCantOpen && !QFileInfo::exists(path))
            return missingFile(path);
        return {DbError::CannotOpen,
                QStringLiteral("The market database file \"%1\" could not be opened (%2).")
                    .arg(path, detailOf(error))};
    }
    // Not persistent in the file: every connection asks for it again. Durability over speed.
    QSqlQuery pragma(m_db);
    pragma.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    return {};
}

void DbConnection::close()
{
    if (m_db.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
}

// ---------------------------------------------------------------------------------------------

TableCursor::Options &TableCursor::defaults()
{
    static Options options;
    return options;
}

TableCursor::TableCursor() = default;

TableCursor::~TableCursor()
{
    close();
}

void TableCursor::close()
{
    m_queries.clear(); // the statements must go before their connection
    m_connection.close();
    m_fields.clear();
    m_index.clear();
    m_indexField.clear();
    m_hasRow = false;
    m_new = false;
    m_noMatch = false;
    m_values.clear();
    m_pending.clear();
}

DbError TableCursor::open(const QString &path, const QString &table)
{
    close();
    const Options options = defaults();
    if (DbError error = m_connection.open(
            path, options.readOnly ? DbConnection::Mode::ReadOnly : DbConnection::Mode::ReadWrite,
            options.busyTimeoutMs)) {
        return error;
    }

    QSqlQuery query(m_connection.db());
    // A file that is no database fails here, on the first read of its schema.
    const bool prepared = query.prepare(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
    if (prepared)
        query.addBindValue(table);
    if (!prepared || !query.exec()) {
        const DbError error = sqlError(query.lastError(), Action::Open);
        query = QSqlQuery();
        close();
        return error;
    }
    if (!query.next()) {
        query = QSqlQuery();
        close();
        return {DbError::MissingTable,
                QStringLiteral("The market database \"%1\" has no table \"%2\".").arg(path, table)};
    }
    m_table = query.value(0).toString();

    query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(schema::quoted(m_table)));
    while (query.next())
        m_fields << query.value(1).toString();
    query = QSqlQuery();
    if (m_fields.isEmpty()) {
        close();
        return {DbError::MissingTable,
                QStringLiteral("The table \"%2\" of the market database \"%1\" could not be read.")
                    .arg(path, table)};
    }
    return {};
}

QString TableCursor::fieldName(QStringView name) const
{
    for (const QString &field : m_fields)
        if (field.compare(name, Qt::CaseInsensitive) == 0)
            return field;
    return {};
}

DbError TableCursor::fieldError(const QString &field) const
{
    return {DbError::MissingField,
            QStringLiteral("The table \"%2\" of the market database \"%1\" has no field \"%3\".")
                .arg(path(), m_table, field)};
}

DbError TableCursor::sqlError(const QSqlError &error, Action action) const
{
    const QString detail = detailOf(error);
    switch (sqlitePrimaryCode(error)) {
    case SqliteNotADb:
        return {
            DbError::NotADatabase,
            QStringLiteral("The file \"%1\" is not a market database (%2).\n\n"
                           "Create a new one with the command:\nvantora-db create PATH --sample")
                .arg(path(), detail)};
    case SqliteBusy:
    case SqliteLocked: {
        const QString what =
            action == Action::Write ? QStringLiteral("Your changes could not be saved")
            : action == Action::Delete
                ? QStringLiteral("The record could not be deleted")
                : QStringLiteral("The table \"%1\" could not be read").arg(m_table);
        return {DbError::Locked,
                QStringLiteral("%1: the market database \"%2\" is in use by another program "
                               "(%3). Please try again in a moment.")
                    .arg(what, path(), detail)};
    }
    case SqliteReadOnly: {
        const QString what = action == Action::Delete
                                 ? QStringLiteral("The record could not be deleted")
                                 : QStringLiteral("Your changes could not be saved");
        return {DbError::ReadOnly,
                QStringLiteral("%1: the market database \"%2\" is read-only (%3).")
                    .arg(what, path(), detail)};
    }
    default:
        break;
    }
    const QString what =
        action == Action::Open
            ? QStringLiteral("The market database \"%1\" could not be opened").arg(path())
        : action == Action::Write
            ? QStringLiteral("Your changes to the table \"%1\" could not be saved").arg(m_table)
        : action == Action::Delete
            ? QStringLiteral("The record of the table \"%1\" could not be deleted").arg(m_table)
            : QStringLiteral("The table \"%1\" could not be read").arg(m_table);
    return {DbError::Failed, QStringLiteral("%1 (%2).").arg(what, detail)};
}

QSqlQuery *TableCursor::prepared(const QString &sql)
{
    std::unique_ptr<QSqlQuery> &cached = m_queries[sql];
    if (!cached) {
        auto query = std::make_unique<QSqlQuery>(m_connection.db());
        query->setForwardOnly(true);
        if (!query->prepare(sql)) {
            m_prepareError = query->lastError();
            m_queries.erase(sql);
            return nullptr;
        }
        cached = std::move(query);
    }
    return cached.get();
}

QString TableCursor::selectFrom() const
{
    QStringList columns;
    for (const QString &field : m_fields)
        columns << schema::quoted(field);
    return QStringLiteral("SELECT rowid, %1 FROM %2 ")
        .arg(columns.join(QLatin1String(", ")), schema::quoted(m_table));
}

QString TableCursor::keyExpr() const
{
    // Compared under the index's own collation, so that the index serves every seek.
    return QStringLiteral("%1 COLLATE %2").arg(schema::quoted(m_indexField), m_collation);
}

DbError TableCursor::fetch(QSqlQuery *query, bool *found)
{
    *found = false;
    if (!query->exec()) {
        const DbError error = sqlError(query->lastError(), Action::Read);
        query->finish();
        return error;
    }
    if (query->next()) {
        *found = true;
        m_rowId = query->value(0).toLongLong();
        m_values.resize(m_fields.size());
        for (qsizetype i = 0; i < m_fields.size(); ++i)
            m_values[i] = query->value(int(i + 1));
        m_hasRow = true;
    } else if (query->lastError().isValid()) {
        const DbError error = sqlError(query->lastError(), Action::Read);
        query->finish();
        return error;
    }
    // Releases the read lock at once: another program may want to write.
    query->finish();
    return {};
}

DbError TableCursor::setIndex(const QString &name)
{
    QSqlQuery query(m_connection.db());
    if (!query.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND "
                                      "tbl_name = ? AND name = ? COLLATE NOCASE")))
        return sqlError(query.lastError(), Action::Read);
    query.addBindValue(m_table);
    query.addBindValue(name);
    if (!query.exec())
        return sqlError(query.lastError(), Action::Read);
    if (!query.next())
        return {
            DbError::MissingIndex,
            QStringLiteral("The table \"%2\" of the market database \"%1\" has no index \"%3\".")
                .arg(path(), m_table, name)};
    const QString index = query.value(0).toString();

    query.exec(QStringLiteral("PRAGMA index_xinfo(%1)").arg(schema::quoted(index)));
    QString field;
    QString collation;
    while (query.next()) {
        if (query.value(5).toInt() == 1) { // the first key column
            field = query.value(2).toString();
            collation = query.value(4).toString();
            break;
        }
    }
    query.finish();
    if (field.isEmpty())
        return {DbError::MissingIndex,
                QStringLiteral("The index \"%3\" of the table \"%2\" in the market database \"%1\" "
                               "is not on a field.")
                    .arg(path(), m_table, index)};
    m_index = index;
    m_indexField = field;
    m_collation = collation.isEmpty() ? QStringLiteral("BINARY") : collation;
    return {};
}

DbError TableCursor::moveFirst(bool *moved)
{
    const QString order = m_index.isEmpty()
                              ? QStringLiteral("ORDER BY rowid LIMIT 1")
                              : QStringLiteral("ORDER BY %1, rowid LIMIT 1").arg(keyExpr());
    bool found = false;
    const DbError error = stepQuery(QString(), order, false, false, &found);
    if (moved)
        *moved = found;
    return error;
}

DbError TableCursor::moveLast(bool *moved)
{
    const QString order =
        m_index.isEmpty() ? QStringLiteral("ORDER BY rowid DESC LIMIT 1")
                          : QStringLiteral("ORDER BY %1 DESC, rowid DESC LIMIT 1").arg(keyExpr());
    bool found = false;
    const DbError error = stepQuery(QString(), order, false, false, &found);
    if (moved)
        *moved = found;
    return error;
}

DbError TableCursor::stepQuery(const QString &where, const QString &order, bool bindKey,
                               bool bindRow, bool *found)
{
    QSqlQuery *query = prepared(selectFrom() + where + order);
    if (!query)
        return sqlError(m_prepareError, Action::Read);
    int at = 0;
    if (bindKey)
        query->bindValue(at++, m_values.value(m_fields.indexOf(m_indexField)));
    if (bindRow)
        query->bindValue(at++, m_rowId);
    return fetch(query, found);
}

DbError TableCursor::moveNext(bool *moved)
{
    if (moved)
        *moved = false;
    if (!m_hasRow)
        return moveFirst(moved);
    bool found = false;
    DbError error;
    const QString byRowId = QStringLiteral("ORDER BY rowid LIMIT 1");
    if (m_index.isEmpty()) {
        error = stepQuery(QStringLiteral("WHERE rowid > ? "), byRowId, false, true, &found);
    } else {
        const QString key = keyExpr();
        const QString ascending = QStringLiteral("ORDER BY %1, rowid LIMIT 1").arg(key);
        // Rows without a key come first in the index, in stored order among themselves.
        if (m_values.value(m_fields.indexOf(m_indexField)).isNull()) {
            error = stepQuery(QStringLiteral("WHERE %1 IS NULL AND rowid > ? ").arg(key), byRowId,
                              false, true, &found);
            if (!error && !found)
                error = stepQuery(QStringLiteral("WHERE %1 IS NOT NULL ").arg(key), ascending,
                                  false, false, &found);
        } else {
            // Equal keys first (by rowid), then the next greater key: two seeks, however many
            // rows share a key.
            error = stepQuery(QStringLiteral("WHERE %1 = ? AND rowid > ? ").arg(key), byRowId, true,
                              true, &found);
            if (!error && !found)
                error = stepQuery(QStringLiteral("WHERE %1 > ? ").arg(key), ascending, true, false,
                                  &found);
        }
    }
    if (moved)
        *moved = found;
    return error;
}

DbError TableCursor::movePrevious(bool *moved)
{
    if (moved)
        *moved = false;
    if (!m_hasRow)
        return moveLast(moved);
    bool found = false;
    DbError error;
    const QString byRowIdDown = QStringLiteral("ORDER BY rowid DESC LIMIT 1");
    if (m_index.isEmpty()) {
        error = stepQuery(QStringLiteral("WHERE rowid < ? "), byRowIdDown, false, true, &found);
    } else {
        const QString key = keyExpr();
        const QString descending = QStringLiteral("ORDER BY %1 DESC, rowid DESC LIMIT 1").arg(key);
        if (m_values.value(m_fields.indexOf(m_indexField)).isNull()) {
            error = stepQuery(QStringLiteral("WHERE %1 IS NULL AND rowid < ? ").arg(key),
                              byRowIdDown, false, true, &found);
        } else {
            error = stepQuery(QStringLiteral("WHERE %1 = ? AND rowid < ? ").arg(key), byRowIdDown,
                              true, true, &found);
            if (!error && !found)
                error = stepQuery(QStringLiteral("WHERE %1 < ? ").arg(key), descending, true, false,
                                  &found);
            if (!error && !found)
                error = stepQuery(QStringLiteral("WHERE %1 IS NULL ").arg(key), byRowIdDown, false,
                                  false, &found);
        }
    }
    if (moved)
        *moved = found;
    return error;
}

DbError TableCursor::seek(const QVariant &key)
{
    m_noMatch = true;
    QString sql;
    if (m_index.isEmpty()) {
        sql = selectFrom() + QStringLiteral("WHERE rowid = ? LIMIT 1");
    } else {
        sql =
            selectFrom() + QStringLiteral("WHERE %1 = ? ORDER BY %1, rowid LIMIT 1").arg(keyExpr());
    }
    QSqlQuery *query = prepared(sql);
    if (!query)
        return sqlError(m_prepareError, Action::Read);
    query->bindValue(0, key);
    bool found = false;
    const DbError error = fetch(query, &found);
    m_noMatch = !found;
    return error;
}

QVariant TableCursor::value(QStringView field) const
{
    if (!m_hasRow)
        return {};
    for (qsizetype i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].compare(field, Qt::CaseInsensitive) == 0)
            return m_values.value(i);
    return {};
}

DbError TableCursor::refresh()
{
    if (!m_hasRow)
        return {};
    QSqlQuery *query = prepared(selectFrom() + QStringLiteral("WHERE rowid = ?"));
    if (!query)
        return sqlError(m_prepareError, Action::Read);
    query->bindValue(0, m_rowId);
    bool found = false;
    if (DbError error = fetch(query, &found))
        return error;
    if (!found)
        m_hasRow = false;
    return {};
}

void TableCursor::addNew()
{
    m_new = true;
    m_pending.clear();
}

void TableCursor::cancelNew()
{
    m_new = false;
    m_pending.clear();
}

void TableCursor::setValue(const QString &field, const QVariant &value)
{
    const QString name = fieldName(field);
    m_pending.insert(name.isEmpty() ? field : name, value);
}

DbError TableCursor::save()
{
    if (m_pending.isEmpty() && !m_new)
        return {};
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it)
        if (fieldName(it.key()).isEmpty())
            return fieldError(it.key());
    if (!m_new && !m_hasRow)
        return {DbError::NoRecord,
                QStringLiteral("Your changes could not be saved: no record of the table \"%1\" is "
                               "on show.")
                    .arg(m_table)};

    QStringList names = m_pending.keys();
    names.sort();
    QSqlDatabase &db = m_connection.db();
    QSqlQuery begin(db);
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return sqlError(begin.lastError(), Action::Write);

    QSqlQuery write(db);
    bool prepared = false;
    if (m_new) {
        QStringList columns, marks;
        for (const QString &name : names) {
            columns << schema::quoted(name);
            marks << QStringLiteral("?");
        }
        prepared = write.prepare(
            names.isEmpty()
                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(schema::quoted(m_table))
                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(schema::quoted(m_table), columns.join(QLatin1String(", ")),
                           marks.join(QLatin1String(", "))));
    } else {
        QStringList sets;
        for (const QString &name : names)
            sets << schema::quoted(name) + QStringLiteral(" = ?");
        prepared = write.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                     .arg(schema::quoted(m_table), sets.join(QLatin1String(", "))));
    }
    for (const QString &name : names)
        write.addBindValue(m_pending.value(name));
    if (!m_new)
        write.addBindValue(m_rowId);

    auto rollback = [&db] {
        QSqlQuery undo(db);
        undo.exec(QStringLiteral("ROLLBACK"));
    };
    if (!prepared || !write.exec()) {
        const DbError error = sqlError(write.lastError(), Action::Write);
        write = QSqlQuery();
        rollback();
        return error;
    }
    if (!m_new && write.numRowsAffected() != 1) {
        write = QSqlQuery();
        rollback();
        return {DbError::RecordGone,
                QStringLiteral("Your changes could not be saved: the record of the table \"%1\" "
                               "was deleted by another program.")
                    .arg(m_table)};
    }
    const qint64 newRowId = m_new ? write.lastInsertId().toLongLong() : m_rowId;
    write = QSqlQuery();
    QSqlQuery commit(db);
    if (!commit.exec(QStringLiteral("COMMIT"))) {
        const DbError error = sqlError(commit.lastError(), Action::Write);
        rollback();
        return error;
    }

    m_pending.clear();
    m_new = false;
    m_rowId = newRowId;
    m_hasRow = true;
    return refresh();
}

DbError TableCursor::deleteCurrent()
{
    if (!m_hasRow)
        return {DbError::NoRecord,
                QStringLiteral("There is no record to delete: the table \"%1\" is empty.")
                    .arg(m_table)};
    QSqlQuery query(m_connection.db());
    if (!query.prepare(
            QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(schema::quoted(m_table))))
        return sqlError(query.lastError(), Action::Delete);
    query.addBindValue(m_rowId);
    if (!query.exec())
        return sqlError(query.lastError(), Action::Delete);
    m_hasRow = false;
    m_pending.clear();
    return {};
}

qint64 TableCursor::rowCount()
{
    QSqlQuery query(m_connection.db());
    if (!query.exec(QStringLiteral("SELECT count(*) FROM %1").arg(schema::quoted(m_table))) ||
        !query.next())
        return -1;
    return query.value(0).toLongLong();
}

} // namespace vantora
