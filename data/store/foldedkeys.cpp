// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/foldedkeys.h"

#include "data/store/connection.h"
#include "data/store/schema.h"

#include <QSqlQuery>
#include <QVariant>
#include <optional>
#include <utility>
#include <vector>

namespace vantora {
namespace {

// The folded keys of the table that the file has columns for, with the file's own spelling.
QList<schema::FoldedKey> presentKeys(QSqlDatabase &db, const QString &table, QString *actual)
{
    QList<schema::FoldedKey> keys;
    const schema::Table *known = schema::findTable(table);
    if (!known || known->foldedKeys.isEmpty())
        return keys;
    const TableColumns found = readTableColumns(db, table);
    *actual = found.table;
    for (const schema::FoldedKey &key : known->foldedKeys) {
        schema::FoldedKey inFile = key;
        inFile.column.clear();
        for (const QString &column : found.columns) {
            if (column.compare(key.column, Qt::CaseInsensitive) == 0)
                inFile.column = column;
            else if (column.compare(key.field, Qt::CaseInsensitive) == 0)
                inFile.field = column;
        }
        if (!inFile.column.isEmpty())
            keys << inFile;
    }
    return keys;
}

QString emptyKeysWhere(const schema::FoldedKey &key)
{
    return QStringLiteral("WHERE %1 IS NULL AND %2 IS NOT NULL")
        .arg(schema::quoted(key.column), schema::quoted(key.field));
}

} // namespace

bool hasEmptyFoldedKeys(QSqlDatabase &db, const QString &table)
{
    QString actual;
    for (const schema::FoldedKey &key : presentKeys(db, table, &actual)) {
        QSqlQuery query(db);
        if (query.exec(QStringLiteral("SELECT 1 FROM %1 %2 LIMIT 1")
                           .arg(schema::quoted(actual), emptyKeysWhere(key))) &&
            query.next())
            return true;
    }
    return false;
}

QSqlError fillFoldedKeys(QSqlDatabase &db, const QString &table)
{
    QString actual;
    for (const schema::FoldedKey &key : presentKeys(db, table, &actual)) {
        QSqlQuery select(db);
        select.setForwardOnly(true);
        if (!select.prepare(
                QStringLiteral("SELECT rowid, %1 FROM %2 %3 LIMIT 1000")
                    .arg(schema::quoted(key.field), schema::quoted(actual), emptyKeysWhere(key))))
            return select.lastError();
        const QString plain = placeholderFor(QString());
        std::optional<QSqlQuery> usual, own;
        qint64 lastFirst = -1;
        // In batches read to their end before writing: the rows leave the range being read.
        for (;;) {
            if (!select.exec())
                return select.lastError();
            std::vector<std::pair<qint64, QString>> rows;
            while (select.next())
                rows.emplace_back(select.value(0).toLongLong(),
                                  schema::foldedText(schema::shownText(select.value(1))));
            if (select.lastError().isValid())
                return select.lastError();
            select.finish();
            // A batch that begins where the last one did was not written: nothing more will be.
            if (rows.empty() || rows.front().first == lastFirst)
                break;
            lastFirst = rows.front().first;
            for (const auto &[rowId, folded] : rows) {
                // A key that begins with U+FEFF needs a statement of its own to keep it.
                std::optional<QSqlQuery> &update = placeholderFor(folded) == plain ? usual : own;
                if (!update) {
                    update.emplace(db);
                    if (!update->prepare(QStringLiteral("UPDATE %1 SET %2 = %3 WHERE rowid = ?")
                                             .arg(schema::quoted(actual),
                                                  schema::quoted(key.column),
                                                  placeholderFor(folded))))
                        return update->lastError();
                }
                update->bindValue(0, bindable(folded));
                update->bindValue(1, rowId);
                if (!update->exec())
                    return update->lastError();
            }
        }
    }
    return {};
}

QSqlError addFoldedKeys(QSqlDatabase &db, const schema::Table &table)
{
    const TableColumns found = readTableColumns(db, table.name);
    if (found.error.isValid())
        return found.error;
    if (found.table.isEmpty() || table.foldedKeys.isEmpty())
        return {};
    QStringList statements;
    for (const schema::FoldedKey &key : table.foldedKeys)
        if (!found.columns.contains(key.column, Qt::CaseInsensitive))
            statements << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 TEXT")
                              .arg(schema::quoted(found.table), schema::quoted(key.column));
    statements << schema::foldedKeyStatements(table);
    for (const QString &statement : std::as_const(statements)) {
        QSqlQuery query(db);
        if (!query.exec(statement))
            return query.lastError();
    }
    return fillFoldedKeys(db, found.table);
}

} // namespace vantora
