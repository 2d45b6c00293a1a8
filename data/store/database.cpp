// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/database.h"

#include "data/store/connection.h"
#include "data/store/foldedkeys.h"
#include "data/store/privatefiles.h"
#include "data/store/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <optional>
#include <sqlite3.h>

namespace vantora {
namespace {

struct StoreTexts
{
    Q_DECLARE_TR_FUNCTIONS(Storage)
};

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
                StoreTexts::tr("\"%1\" already exists; it is left as it is.").arg(path)};
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
                    StoreTexts::tr("Creating \"%1\" failed: %2").arg(path, engineDetail(sqlError))};
            };
            Transaction transaction(db);
            if (!transaction.begin())
                failure = failed(transaction.error());
            QSqlQuery query(db);
            for (const QString &statement :
                 schema::createStatements() + recordFoldingStatements()) {
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
    return StoreTexts::tr("The market database file \"%1\" is an empty file: it holds no tables "
                          "and no records.")
        .arg(path);
}

namespace {

// A read that failed: what it says of the file.
void readFailed(CheckReport &report, const QString &path, const QSqlError &error)
{
    report.verdict = verdictOf(error);
    if (report.verdict == CheckReport::Busy)
        report.problems << engineMessage(
            StoreTexts::tr("The market database \"%1\" is in use by another program").arg(path),
            error, StoreTexts::tr("; check it again when that program is done."));
    else
        report.problems
            << StoreTexts::tr("\"%1\" could not be read: %2").arg(path, engineDetail(error));
}

// The key fields of an index of the table, in lower case; nothing when it has no such index.
std::optional<QStringList> indexKeys(QSqlQuery &query, const QString &table, const QString &name)
{
    query.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND "
                                 "tbl_name = ? COLLATE NOCASE AND name = ? COLLATE NOCASE"));
    query.addBindValue(table);
    query.addBindValue(name);
    if (!query.exec() || !query.next())
        return std::nullopt;
    query.exec(QStringLiteral("PRAGMA index_info(%1)").arg(schema::quoted(name)));
    QStringList keys;
    while (query.next())
        keys << query.value(2).toString().toLower();
    return keys;
}

// Every index of the schema, on its fields.
void checkIndexes(QSqlQuery &query, const schema::Table &table, CheckReport &report)
{
    for (const schema::Index &index : table.indexes) {
        const std::optional<QStringList> keys = indexKeys(query, table.name, index.name);
        if (!keys) {
            report.problems << StoreTexts::tr("The table \"%1\" has no index \"%2\".")
                                   .arg(table.name, index.name);
            continue;
        }
        QStringList expected{index.field.toLower()};
        if (!index.secondField.isEmpty())
            expected << index.secondField.toLower();
        if (*keys != expected)
            report.problems << StoreTexts::tr("The index \"%1\" is not on the field \"%2\".")
                                   .arg(index.name, index.secondField.isEmpty()
                                                        ? index.field
                                                        : index.field + QStringLiteral(", ") +
                                                              index.secondField);
    }
}

// The case-folded keys: each one's field, index and trigger. A file of an older version gets
// them at its next opening.
void checkFoldedKeys(QSqlDatabase &db, QSqlQuery &query, const schema::Table &table,
                     const QStringList &columns, CheckReport &report)
{
    QStringList lacking;
    for (const schema::FoldedKey &key : table.foldedKeys) {
        if (!columns.contains(key.column, Qt::CaseInsensitive))
            lacking << StoreTexts::tr("The table \"%1\" has no field \"%2\".")
                           .arg(table.name, key.column);
        if (indexKeys(query, table.name, key.column) !=
            QStringList{key.column.toLower(), key.field.toLower()})
            lacking << StoreTexts::tr("The table \"%1\" has no index \"%2\" on the fields "
                                      "\"%2\", \"%3\".")
                           .arg(table.name, key.column, key.field);
        query.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'trigger' AND "
                                     "tbl_name = ? COLLATE NOCASE AND name = ? COLLATE NOCASE"));
        query.addBindValue(table.name);
        query.addBindValue(key.trigger);
        if (!query.exec() || !query.next())
            lacking << StoreTexts::tr("The table \"%1\" has no trigger \"%2\".")
                           .arg(table.name, key.trigger);
    }
    query.finish();
    if (!lacking.isEmpty() && report.version < schema::kFoldedKeysSince)
        report.facts
            << StoreTexts::tr("%1: case-folded keys added at the next opening").arg(table.name);
    else
        report.problems << lacking;
    if (lacking.isEmpty() && hasEmptyFoldedKeys(db, table.name))
        report.facts
            << StoreTexts::tr("%1: case-folded keys filled at the next Find").arg(table.name);
}

// One table of the schema: its fields, indexes, case-folded keys and rows. False when the check
// can go no further: the file could not be read, or holds no table at all.
bool checkTable(QSqlDatabase &db, QSqlQuery &query, const QString &path, const schema::Table &table,
                CheckReport &report)
{
    // A file that is no database, or a damaged one, fails here on its first read.
    const TableColumns found = readTableColumns(db, table.name);
    if (found.error.isValid()) {
        readFailed(report, path, found.error);
        return false;
    }
    if (found.table.isEmpty()) {
        if (holdsNoTables(db)) {
            report.problems = QStringList{emptyFileText(path)};
            report.verdict = CheckReport::Empty;
            return false;
        }
        // A file of an older version gets the table at its next opening in the program.
        if (table.since > report.version)
            report.facts << StoreTexts::tr("%1: added at the next opening").arg(table.name);
        else
            report.problems << StoreTexts::tr("The table \"%1\" is missing.").arg(table.name);
        return true;
    }
    for (const schema::Field &field : table.fields)
        if (!found.columns.contains(field.name, Qt::CaseInsensitive))
            report.problems << StoreTexts::tr("The table \"%1\" has no field \"%2\".")
                                   .arg(table.name, field.name);
    checkIndexes(query, table, report);
    checkFoldedKeys(db, query, table, found.columns, report);
    if (query.exec(QStringLiteral("SELECT count(*) FROM %1").arg(schema::quoted(table.name))) &&
        query.next())
        report.facts << StoreTexts::tr("%1: %2 rows")
                            .arg(table.name, QString::number(query.value(0).toLongLong()));
    return true;
}

// SQLite's own check of every page, after the schema's: the verdict.
void checkIntegrity(QSqlQuery &query, const QString &path, CheckDepth depth, CheckReport &report)
{
    const bool schemaSound = report.problems.isEmpty();
    const QString pragma = depth == CheckDepth::Full ? QStringLiteral("PRAGMA integrity_check")
                                                     : QStringLiteral("PRAGMA quick_check");
    if (!query.exec(pragma)) {
        readFailed(report, path, query.lastError());
        return;
    }
    QStringList integrity;
    while (query.next())
        integrity << query.value(0).toString();
    if (query.lastError().isValid()) {
        readFailed(report, path, query.lastError());
        return;
    }
    if (integrity != QStringList{QStringLiteral("ok")}) {
        report.problems << StoreTexts::tr("The integrity check failed: %1")
                               .arg(integrity.join(QLatin1String("; ")));
        report.verdict = CheckReport::Damaged;
        return;
    }
    report.ok = schemaSound;
    report.verdict = schemaSound ? CheckReport::Usable : CheckReport::SchemaProblems;
}

} // namespace

CheckReport checkDatabase(const QString &path, CheckDepth depth, const std::atomic_bool *stop)
{
    CheckReport report;
    if (!QFileInfo::exists(path)) {
        report.problems << StoreTexts::tr("\"%1\" does not exist.").arg(path);
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
    report.version = schemaVersion(connection.db());
    report.foldedKeysOutdated = foldedKeysOutdated(connection.db());
    for (const schema::Table &table : schema::tables())
        if (!checkTable(connection.db(), query, path, table, report))
            return report;
    checkIntegrity(query, path, depth, report);
    return report;
}

} // namespace vantora
