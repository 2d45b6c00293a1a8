// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/database.h"

#include "data/connection.h"
#include "data/foldedkeys.h"
#include "data/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <optional>
#include <sqlite3.h>

namespace vantora {
namespace {

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// What an engine error says about the file.
CheckReport::Verdict verdictOf(const QSqlError &error)
{
    switch (sqlitePrimaryCode(error)) {
    case SQLITE_CORRUPT:
        return CheckReport::Damaged;
    case SQLITE_NOTADB:
        return CheckReport::NotADatabase;
    default:
        return CheckReport::Unreadable;
    }
}

} // namespace

bool createDatabase(const QString &path, bool sample, QString *error)
{
    const QFileInfo info(path);
    if (info.exists()) {
        setError(error, QStringLiteral("\"%1\" already exists; it is left as it is.").arg(path));
        return false;
    }
    if (!QDir().mkpath(info.absolutePath())) {
        setError(
            error,
            QStringLiteral("The folder \"%1\" could not be created.").arg(info.absolutePath()));
        return false;
    }

    bool ok = true;
    {
        DbConnection connection;
        if (const DbError failure = connection.open(path, DbConnection::Mode::Create)) {
            setError(error, failure.message);
            ok = false;
        } else {
            QSqlDatabase &db = connection.db();
            auto failed = [&](const QSqlError &sqlError) {
                setError(
                    error,
                    QStringLiteral("Creating \"%1\" failed: %2").arg(path, engineDetail(sqlError)));
                return false;
            };
            Transaction transaction(db);
            ok = transaction.begin() || failed(transaction.error());
            QSqlQuery query(db);
            for (const QString &statement : schema::createStatements()) {
                if (!ok)
                    break;
                if (!query.exec(statement))
                    ok = failed(query.lastError());
            }
            query = QSqlQuery();
            if (ok && sample)
                ok = insertSampleData(db, error);
            if (ok && !transaction.commit())
                ok = failed(transaction.error());
        }
    }
    if (!ok)
        QFile::remove(path);
    return ok;
}

CheckReport checkDatabase(const QString &path, CheckDepth depth)
{
    CheckReport report;
    if (!QFileInfo::exists(path)) {
        report.problems << QStringLiteral("\"%1\" does not exist.").arg(path);
        return report;
    }
    DbConnection connection;
    if (const DbError failure = connection.open(path, readWriteIfAllowed(path))) {
        report.problems << failure.message;
        return report;
    }
    QSqlQuery query(connection.db());
    auto fail = [&](const QSqlError &error) {
        report.problems
            << QStringLiteral("\"%1\" could not be read: %2").arg(path, engineDetail(error));
        report.verdict = verdictOf(error);
    };

    const int version = schemaVersion(connection.db());
    for (const schema::Table &table : schema::tables()) {
        // A file that is no database, or a damaged one, fails here on its first read.
        const TableColumns found = readTableColumns(connection.db(), table.name);
        if (found.error.isValid()) {
            fail(found.error);
            return report;
        }
        if (found.table.isEmpty()) {
            // A file of an older version gets the table at its next opening in the program.
            if (table.since > version)
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
        if (!lacking.isEmpty() && version < schema::kFoldedKeysSince)
            report.facts
                << QStringLiteral("%1: case-folded keys added at the next opening").arg(table.name);
        else
            report.problems << lacking;
        if (lacking.isEmpty() && hasEmptyFoldedKeys(connection.db(), table.name))
            report.facts
                << QStringLiteral("%1: case-folded keys filled at the next Find").arg(table.name);
        if (query.exec(QStringLiteral("SELECT count(*) FROM %1").arg(schema::quoted(table.name))) &&
            query.next())
            report.facts
                << QStringLiteral("%1: %2 rows").arg(table.name).arg(query.value(0).toLongLong());
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
