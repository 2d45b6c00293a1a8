// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/database.h"

#include "data/store/connection.h"
#include "data/store/foldedkeys.h"
#include "data/store/privatefiles.h"
#include "data/store/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <optional>
#include <sqlite3.h>

namespace vantora {
namespace {

// What an engine error says about the file.
CheckReport::Verdict verdictOf(const QSqlError &error)
{
    switch (sqlitePrimaryCode(error)) {
    case SQLITE_CORRUPT:
        return CheckReport::Damaged;
    case SQLITE_NOTADB:
        return CheckReport::NotADatabase;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return CheckReport::Busy;
    default:
        return CheckReport::Unreadable;
    }
}

// Asked by SQLite every so many steps of a statement: a non-zero answer ends it.
int stopWhenAsked(void *stop)
{
    return static_cast<const std::atomic_bool *>(stop)->load() ? 1 : 0;
}

} // namespace

DbError createDatabase(const QString &path, bool sample)
{
    const QFileInfo info(path);
    if (nameTaken(path))
        return {DbError::Failed,
                QStringLiteral("\"%1\" already exists; it is left as it is.").arg(path)};
    if (DbError failure = makePrivateFolders(info.absolutePath())) {
        failure.message[0] = failure.message[0].toUpper();
        failure.message += QLatin1Char('.');
        return failure;
    }

    DbError failure;
    {
        DbConnection connection;
        failure = connection.open(path, DbConnection::Mode::Create);
        if (!failure) {
            QSqlDatabase &db = connection.db();
            auto failed = [&](const QSqlError &sqlError) -> DbError {
                return {
                    DbError::Failed,
                    QStringLiteral("Creating \"%1\" failed: %2").arg(path, engineDetail(sqlError))};
            };
            Transaction transaction(db);
            if (!transaction.begin())
                failure = failed(transaction.error());
            QSqlQuery query(db);
            for (const QString &statement : schema::createStatements()) {
                if (failure)
                    break;
                if (!query.exec(statement))
                    failure = failed(query.lastError());
            }
            query = QSqlQuery();
            if (!failure && sample)
                failure = insertSampleData(db);
            if (!failure && !transaction.commit())
                failure = failed(transaction.error());
        }
    }
    if (failure)
        QFile::remove(path);
    return failure;
}

bool holdsNoTables(QSqlDatabase &db)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) && query.next() &&
           query.value(0).toLongLong() == 0;
}

QString emptyFileText(const QString &path)
{
    return QStringLiteral("The market database file \"%1\" is an empty file: it holds no tables "
                          "and no records.")
        .arg(path);
}

CheckReport checkDatabase(const QString &path, CheckDepth depth, const std::atomic_bool *stop)
{
    CheckReport report;
    if (!QFileInfo::exists(path)) {
        report.problems << QStringLiteral("\"%1\" does not exist.").arg(path);
        return report;
    }
    if (QFileInfo(path).isFile() && QFileInfo(path).size() == 0) {
        report.problems << emptyFileText(path);
        report.verdict = CheckReport::Empty;
        return report;
    }
    DbConnection connection;
    if (const DbError failure = connection.open(path, readWriteIfAllowed(path))) {
        report.problems << failure.message;
        return report;
    }
    if (stop) {
        if (sqlite3 *db = sqliteHandle(connection.db()))
            sqlite3_progress_handler(db, 1000, stopWhenAsked, const_cast<std::atomic_bool *>(stop));
    }
    QSqlQuery query(connection.db());
    auto fail = [&](const QSqlError &error) {
        report.verdict = verdictOf(error);
        if (report.verdict == CheckReport::Busy)
            report.problems << engineMessage(
                QStringLiteral("The market database \"%1\" is in use by another program").arg(path),
                error, u"; check it again when that program is done.");
        else
            report.problems
                << QStringLiteral("\"%1\" could not be read: %2").arg(path, engineDetail(error));
    };

    report.version = schemaVersion(connection.db());
    for (const schema::Table &table : schema::tables()) {
        // A file that is no database, or a damaged one, fails here on its first read.
        const TableColumns found = readTableColumns(connection.db(), table.name);
        if (found.error.isValid()) {
            fail(found.error);
            return report;
        }
        if (found.table.isEmpty()) {
            if (holdsNoTables(connection.db())) {
                report.problems = QStringList{emptyFileText(path)};
                report.verdict = CheckReport::Empty;
                return report;
            }
            // A file of an older version gets the table at its next opening in the program.
            if (table.since > report.version)
                report.facts << QStringLiteral("%1: added at the next opening").arg(table.name);
            else
                report.problems << QStringLiteral("The table \"%1\" is missing.").arg(table.name);
            continue;
        }
        for (const schema::Field &field : table.fields)
            if (!found.columns.contains(field.name, Qt::CaseInsensitive))
                report.problems << QStringLiteral("The table \"%1\" has no field \"%2\".")
                                       .arg(table.name, field.name);
        // The key fields of an index of this table, in lower case; nothing when it has none.
        const auto indexKeys = [&](const QString &name) -> std::optional<QStringList> {
            query.prepare(
                QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND "
                               "tbl_name = ? COLLATE NOCASE AND name = ? COLLATE NOCASE"));
            query.addBindValue(table.name);
            query.addBindValue(name);
            if (!query.exec() || !query.next())
                return std::nullopt;
            query.exec(QStringLiteral("PRAGMA index_info(%1)").arg(schema::quoted(name)));
            QStringList keys;
            while (query.next())
                keys << query.value(2).toString().toLower();
            return keys;
        };
        for (const schema::Index &index : table.indexes) {
            const std::optional<QStringList> keys = indexKeys(index.name);
            if (!keys) {
                report.problems << QStringLiteral("The table \"%1\" has no index \"%2\".")
                                       .arg(table.name, index.name);
                continue;
            }
            QStringList expected{index.field.toLower()};
            if (!index.secondField.isEmpty())
                expected << index.secondField.toLower();
            if (*keys != expected)
                report.problems << QStringLiteral("The index \"%1\" is not on the field \"%2\".")
                                       .arg(index.name, index.secondField.isEmpty()
                                                            ? index.field
                                                            : index.field + QStringLiteral(", ") +
                                                                  index.secondField);
        }
        QStringList lacking;
        for (const schema::FoldedKey &key : table.foldedKeys) {
            if (!found.columns.contains(key.column, Qt::CaseInsensitive))
                lacking << QStringLiteral("The table \"%1\" has no field \"%2\".")
                               .arg(table.name, key.column);
            if (indexKeys(key.column) != QStringList{key.column.toLower(), key.field.toLower()})
                lacking << QStringLiteral("The table \"%1\" has no index \"%2\" on the fields "
                                          "\"%2\", \"%3\".")
                               .arg(table.name, key.column, key.field);
            query.prepare(
                QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'trigger' AND "
                               "tbl_name = ? COLLATE NOCASE AND name = ? COLLATE NOCASE"));
            query.addBindValue(table.name);
            query.addBindValue(key.trigger);
            if (!query.exec() || !query.next())
                lacking << QStringLiteral("The table \"%1\" has no trigger \"%2\".")
                               .arg(table.name, key.trigger);
        }
        query.finish();
        // A file of an older version gets them at its next opening in the program.
        if (!lacking.isEmpty() && report.version < schema::kFoldedKeysSince)
            report.facts
                << QStringLiteral("%1: case-folded keys added at the next opening").arg(table.name);
        else
            report.problems << lacking;
        if (lacking.isEmpty() && hasEmptyFoldedKeys(connection.db(), table.name))
            report.facts
                << QStringLiteral("%1: case-folded keys filled at the next Find").arg(table.name);
        if (query.exec(QStringLiteral("SELECT count(*) FROM %1").arg(schema::quoted(table.name))) &&
            query.next())
            report.facts << QStringLiteral("%1: %2 rows")
                                .arg(table.name, QString::number(query.value(0).toLongLong()));
    }

    const bool schemaSound = report.problems.isEmpty();
    const QString pragma = depth == CheckDepth::Full ? QStringLiteral("PRAGMA integrity_check")
                                                     : QStringLiteral("PRAGMA quick_check");
    if (!query.exec(pragma)) {
        fail(query.lastError());
        return report;
    }
    QStringList integrity;
    while (query.next())
        integrity << query.value(0).toString();
    if (query.lastError().isValid()) {
        fail(query.lastError());
        return report;
    }
    if (integrity != QStringList{QStringLiteral("ok")}) {
        report.problems << QStringLiteral("The integrity check failed: %1")
                               .arg(integrity.join(QLatin1String("; ")));
        report.verdict = CheckReport::Damaged;
        return report;
    }
    report.ok = schemaSound;
    report.verdict = schemaSound ? CheckReport::Usable : CheckReport::SchemaProblems;
    return report;
}

} // namespace vantora
