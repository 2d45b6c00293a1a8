// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/tablecursor.h"

#include "data/store/backup.h"
#include "data/store/database.h"
#include "data/store/foldedkeys.h"
#include "data/store/openingcheck.h"
#include "data/store/schema.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <sqlite3.h>

namespace vantora {
namespace {

struct StoreTexts
{
    Q_DECLARE_TR_FUNCTIONS(Storage)
};

} // namespace

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
    m_foldedColumn.clear();
    m_hasRow = false;
    m_new = false;
    m_noMatch = false;
    m_values.clear();
    m_pending.clear();
}

DbError TableCursor::open(const QString &path, const QString &table, QString *notice)
{
    close();
    // The name asked for, until the file's own spelling is known.
    m_table = table;
    startOpeningCheck(path);
    // A damaged file is left exactly as it is: it is not even opened.
    const OpeningCheck check = openingCheck(path);
    if (check.state == OpeningCheck::Damaged)
        return {DbError::Damaged, check.message};
    if (notice)
        *notice = takeOpeningNotice(path);

    if (DbError error =
            m_connection.open(path, connectionOptions().readOnly ? DbConnection::Mode::ReadOnly
                                                                 : DbConnection::Mode::ReadWrite)) {
        return error;
    }
    const TableColumns found = readTableColumns(m_connection.db(), table);
    if (found.error.isValid()) {
        const DbError error = sqlError(found.error, Action::Open);
        close();
        return error;
    }
    if (found.table.isEmpty()) {
        const bool empty = holdsNoTables(m_connection.db());
        close();
        if (empty)
            return {DbError::Empty, emptyFileMessage(path)};
        return {DbError::MissingTable,
                StoreTexts::tr("The market database \"%1\" has no table \"%2\".").arg(path, table)};
    }
    m_table = found.table;
    m_fields = found.columns;
    if (m_fields.isEmpty()) {
        close();
        return {DbError::MissingTable,
                StoreTexts::tr("The table \"%2\" of the market database \"%1\" could not be read.")
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
            StoreTexts::tr("The table \"%2\" of the market database \"%1\" has no field \"%3\".")
                .arg(m_connection.path(), m_table, field)};
}

DbError TableCursor::checkedForWriting(const std::function<void()> &whileWaiting) const
{
    const OpeningCheck check = awaitOpeningCheck(m_connection.path(), whileWaiting);
    if (check.state == OpeningCheck::Damaged)
        return {DbError::Damaged, check.message};
    if (check.state == OpeningCheck::Busy)
        return sqlError(QSqlError(QString(), QStringLiteral("database is locked"),
                                  QSqlError::StatementError, QString::number(SQLITE_BUSY)),
                        Action::Write);
    return {};
}

// What could not be done, naming the table.
QString TableCursor::failedAction(Action action) const
{
    switch (action) {
    case Action::Write:
        return StoreTexts::tr("Your changes could not be saved in the table \"%1\"").arg(m_table);
    case Action::Delete:
        return StoreTexts::tr("The record could not be deleted from the table \"%1\"").arg(m_table);
    case Action::Open:
    case Action::Read:
        break;
    }
    return StoreTexts::tr("The table \"%1\" could not be read").arg(m_table);
}

DbError TableCursor::sqlError(const QSqlError &error, Action action) const
{
    const QString path = m_connection.path();
    int code = sqlitePrimaryCode(error);
    // Without a writable folder SQLite cannot create its journal, and says it cannot open.
    if (code == SQLITE_CANTOPEN && (action == Action::Write || action == Action::Delete) &&
        !QFileInfo(QFileInfo(path).absolutePath()).isWritable())
        code = SQLITE_READONLY;
    if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB) {
        // The file's check says what is wrong with it, and which backup puts it right.
        const OpeningCheck check = awaitOpeningCheck(path);
        if (check.state == OpeningCheck::Damaged)
            return {DbError::Damaged, check.message};
    }
    switch (code) {
    case SQLITE_NOTADB:
        return {DbError::NotADatabase,
                engineMessage(StoreTexts::tr("The file \"%1\" is not a market database").arg(path),
                              error,
                              StoreTexts::tr(
                                  ".\n\nCreate a new one with the command:\nvantora-db create PATH "
                                  "--sample"))};
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return {DbError::Locked,
                engineMessage(StoreTexts::tr("%1: the market database \"%2\" is in use by another "
                                             "program")
                                  .arg(failedAction(action), path),
                              error, StoreTexts::tr(". Please try again in a moment."))};
    case SQLITE_READONLY:
        return {DbError::ReadOnly,
                engineMessage(
                    QStringLiteral("%1: %2").arg(
                        failedAction(action == Action::Delete ? Action::Delete : Action::Write),
                        readOnlyText(path)),
                    error)};
    default:
        break;
    }
    const QString what =
        action == Action::Open
            ? StoreTexts::tr("The market database \"%1\" could not be opened").arg(path)
        : action == Action::Write
            ? StoreTexts::tr("Your changes to the table \"%1\" could not be saved").arg(m_table)
        : action == Action::Delete
            ? StoreTexts::tr("The record of the table \"%1\" could not be deleted").arg(m_table)
            : StoreTexts::tr("The table \"%1\" could not be read").arg(m_table);
    return {DbError::Failed, engineMessage(what, error)};
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
            StoreTexts::tr("The table \"%2\" of the market database \"%1\" has no index \"%3\".")
                .arg(m_connection.path(), m_table, name)};
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
                StoreTexts::tr("The index \"%3\" of the table \"%2\" in the market database \"%1\" "
                               "is not on a field.")
                    .arg(m_connection.path(), m_table, index)};
    m_index = index;
    m_indexField = field;
    m_collation = collation.isEmpty() ? QStringLiteral("BINARY") : collation;
    const schema::FoldedKey *folded = schema::findFoldedKey(m_table, m_indexField);
    m_foldedColumn = folded ? fieldName(folded->column) : QString();
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

void TableCursor::fillFoldedKeys()
{
    QSqlQuery *empty = prepared(QStringLiteral("SELECT 1 FROM %1 WHERE %2 IS NULL AND %3 IS NOT "
                                               "NULL LIMIT 1")
                                    .arg(schema::quoted(m_table), schema::quoted(m_foldedColumn),
                                         schema::quoted(m_indexField)));
    if (!empty || !empty->exec())
        return;
    const bool any = empty->next();
    empty->finish();
    if (!any)
        return;
    // Rows another program wrote: a file that cannot be written now is sought with NOCASE for
    // them, and filled another time.
    Transaction transaction(m_connection.db());
    if (transaction.begin() && !vantora::fillFoldedKeys(m_connection.db(), m_table).isValid())
        transaction.commit();
}

DbError TableCursor::seek(const QVariant &key)
{
    m_noMatch = true;
    const bool folded =
        !m_index.isEmpty() && !m_foldedColumn.isEmpty() && key.typeId() == QMetaType::QString;
    QVariantList values{key};
    QString sql;
    if (m_index.isEmpty()) {
        sql = selectFrom() + QStringLiteral("WHERE rowid = ? LIMIT 1");
    } else if (folded) {
        fillFoldedKeys();
        const QString foldedKey = schema::foldedText(key.toString());
        values = {foldedKey, key};
        sql = selectFrom() + QStringLiteral("WHERE %1 = %2 OR (%1 IS NULL AND %3 = %4) ORDER BY "
                                            "%3, rowid LIMIT 1")
                                 .arg(schema::quoted(m_foldedColumn), placeholderFor(foldedKey),
                                      keyExpr(), placeholderFor(key));
    } else {
        sql = selectFrom() + QStringLiteral("WHERE %1 = %2 ORDER BY %1, rowid LIMIT 1")
                                 .arg(keyExpr(), placeholderFor(key));
    }
    QSqlQuery *query = prepared(sql);
    if (!query)
        return sqlError(m_prepareError, Action::Read);
    for (qsizetype i = 0; i < values.size(); ++i)
        query->bindValue(int(i), bindable(values[i]));
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

DbError TableCursor::moveToRow(qint64 rowId)
{
    QSqlQuery *query = prepared(selectFrom() + QStringLiteral("WHERE rowid = ?"));
    if (!query)
        return sqlError(m_prepareError, Action::Read);
    query->bindValue(0, rowId);
    bool found = false;
    const DbError error = fetch(query, &found);
    m_noMatch = !error && !found;
    return error;
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

namespace {

// Equal as stored values: the same type and the same value, null only with null.
bool sameStored(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    return a.typeId() == b.typeId() && a == b;
}

} // namespace

DbError TableCursor::checkStoredRow(const QStringList &watched)
{
    m_conflict = {};
    QSqlQuery *query = prepared(selectFrom() + QStringLiteral("WHERE rowid = ?"));
    if (!query)
        return sqlError(m_prepareError, Action::Write);
    query->bindValue(0, m_rowId);
    if (!query->exec())
        return sqlError(query->lastError(), Action::Write);
    QVariantList stored;
    if (query->next())
        for (qsizetype i = 0; i < m_fields.size(); ++i)
            stored << query->value(int(i + 1));
    const QSqlError readError = query->lastError();
    query->finish();
    if (readError.isValid())
        return sqlError(readError, Action::Write);

    if (stored.isEmpty()) {
        m_conflict.kind = Conflict::Gone;
    } else {
        bool changed = false;
        for (const QString &field : watched) {
            const qsizetype i = m_fields.indexOf(fieldName(field));
            if (i >= 0 && !sameStored(stored[i], m_values.value(i)))
                changed = true;
        }
        if (!changed)
            return {};
        // A row whose every key field holds something else is another record under this id.
        bool sameRecord = false, anyKey = false;
        if (const schema::Table *table = schema::findTable(m_table))
            for (const schema::Index &index : table->indexes) {
                const qsizetype i = m_fields.indexOf(fieldName(index.field));
                if (i < 0)
                    continue;
                anyKey = true;
                if (sameStored(stored[i], m_values.value(i)))
                    sameRecord = true;
            }
        m_conflict.kind = anyKey && !sameRecord ? Conflict::Replaced : Conflict::Changed;
        m_conflict.stored = stored;
    }
    return {DbError::Conflict,
            StoreTexts::tr("The record of the table \"%1\" was changed by another program.")
                .arg(m_table)};
}

DbError TableCursor::save(const QStringList &watched, SaveCheck check)
{
    if (m_pending.isEmpty() && !m_new)
        return {};
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it)
        if (fieldName(it.key()).isEmpty())
            return fieldError(it.key());
    if (!m_new && !m_hasRow)
        return {DbError::NoRecord,
                StoreTexts::tr("Your changes could not be saved: no record of the table \"%1\" is "
                               "on show.")
                    .arg(m_table)};

    Transaction transaction(m_connection.db());
    if (!transaction.begin())
        return sqlError(transaction.error(), Action::Write);
    if (!m_new && check == SaveCheck::Watched)
        if (DbError error = checkStoredRow(watched))
            return error;
    // A changed key has its folded key emptied by the trigger, a new row has none yet; other
    // saves leave the folded keys as they are (Find fills what other programs emptied).
    bool keyChanged = m_new;
    for (auto it = m_pending.cbegin(); !keyChanged && it != m_pending.cend(); ++it)
        keyChanged = schema::findFoldedKey(m_table, it.key()) != nullptr;
    if (DbError error = write())
        return error;
    if (keyChanged)
        if (const QSqlError error = vantora::fillFoldedKeys(m_connection.db(), m_table);
            error.isValid())
            return sqlError(error, Action::Write);
    if (!transaction.commit())
        return sqlError(transaction.error(), Action::Write);

    m_pending.clear();
    m_new = false;
    m_hasRow = true;
    return refresh();
}

DbError TableCursor::write()
{
    QStringList names = m_pending.keys();
    names.sort();
    QSqlQuery statement(m_connection.db());
    bool prepared = false;
    if (m_new) {
        QStringList columns, marks;
        for (const QString &name : names) {
            columns << schema::quoted(name);
            marks << placeholderFor(m_pending.value(name));
        }
        prepared = statement.prepare(
            names.isEmpty()
                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(schema::quoted(m_table))
                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(schema::quoted(m_table), columns.join(QLatin1String(", ")),
                           marks.join(QLatin1String(", "))));
    } else {
        QStringList sets;
        for (const QString &name : names)
            sets << schema::quoted(name) + QStringLiteral(" = ") +
                        placeholderFor(m_pending.value(name));
        prepared =
            statement.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                  .arg(schema::quoted(m_table), sets.join(QLatin1String(", "))));
    }
    for (const QString &name : names)
        statement.addBindValue(bindable(m_pending.value(name)));
    if (!m_new)
        statement.addBindValue(m_rowId);

    if (!prepared || !statement.exec())
        return sqlError(statement.lastError(), Action::Write);
    if (!m_new && statement.numRowsAffected() != 1)
        return {DbError::RecordGone,
                StoreTexts::tr("Your changes could not be saved: the record of the table \"%1\" "
                               "was deleted by another program.")
                    .arg(m_table)};
    if (m_new)
        m_rowId = statement.lastInsertId().toLongLong();
    return {};
}

DbError TableCursor::saveAsNew()
{
    // Every field as it was read, and what the user changed over it.
    QHash<QString, QVariant> values;
    if (m_hasRow)
        for (qsizetype i = 0; i < m_fields.size(); ++i)
            // The folded keys follow the keys as saved.
            if (!schema::isFoldedColumn(m_table, m_fields[i]))
                values.insert(m_fields[i], m_values.value(i));
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it)
        values.insert(fieldName(it.key()).isEmpty() ? it.key() : fieldName(it.key()), it.value());
    m_pending = values;
    m_new = true;
    const DbError error = save();
    if (error)
        m_new = false;
    return error;
}

DbError TableCursor::deleteCurrent()
{
    if (DbError error = checkedForWriting())
        return error;
    if (!m_hasRow)
        return {DbError::NoRecord,
                StoreTexts::tr("There is no record to delete: the table \"%1\" is empty.")
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

} // namespace vantora
