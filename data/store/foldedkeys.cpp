// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/foldedkeys.h"

#include "data/store/casefold.h"
#include "data/store/connection.h"
#include "data/store/schema.h"

#include <QSqlQuery>
#include <QVariant>
#include <optional>
#include <sqlite3.h>
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

const QString &foldingTable()
{
    static const QString name = QStringLiteral("\"Case Folding\"");
    return name;
}

// The key as its folded column holds it, for a statement that folds a whole table.
void foldFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    QVariant key;
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(context);
        return;
    case SQLITE_INTEGER:
        key = qlonglong(sqlite3_value_int64(argv[0]));
        break;
    case SQLITE_FLOAT:
        key = sqlite3_value_double(argv[0]);
        break;
    default:
        key = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(argv[0])),
                                sqlite3_value_bytes(argv[0]));
    }
    const QByteArray folded = schema::foldedText(schema::shownText(key)).toUtf8();
    sqlite3_result_text(context, folded.constData(), int(folded.size()), SQLITE_TRANSIENT);
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

QString foldedKeysVersion(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (readTableColumns(db, QStringLiteral("Case Folding")).table.isEmpty() ||
        !query.exec(QStringLiteral("SELECT \"Unicode Version\" FROM %1").arg(foldingTable())) ||
        !query.next())
        return {};
    return query.value(0).toString();
}

bool foldedKeysOutdated(QSqlDatabase &db)
{
    return schemaVersion(db) >= schema::kFoldedKeysSince &&
           foldedKeysVersion(db) != caseFoldingVersion();
}

QStringList recordFoldingStatements()
{
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (\"Unicode Version\" TEXT)")
            .arg(foldingTable()),
        QStringLiteral("DELETE FROM %1").arg(foldingTable()),
        QStringLiteral("INSERT INTO %1 VALUES ('%2')").arg(foldingTable(), caseFoldingVersion())};
}

QSqlError refoldKeys(QSqlDatabase &db)
{
    sqlite3 *handle = sqliteHandle(db);
    if (!handle)
        return QSqlError(QString(), QStringLiteral("no SQLite connection"));
    sqlite3_create_function_v2(handle, "vantora_fold", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                               nullptr, foldFunction, nullptr, nullptr, nullptr);
    QStringList statements;
    for (const schema::Table &table : schema::tables()) {
        QString actual;
        for (const schema::FoldedKey &key : presentKeys(db, table.name, &actual))
            statements << QStringLiteral("UPDATE %1 SET %2 = vantora_fold(%3) WHERE %3 IS NOT NULL")
                              .arg(schema::quoted(actual), schema::quoted(key.column),
                                   schema::quoted(key.field));
    }
    statements << recordFoldingStatements();
    for (const QString &statement : std::as_const(statements)) {
        QSqlQuery query(db);
        if (!query.exec(statement))
            return query.lastError();
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
