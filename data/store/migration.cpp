// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/migration.h"

#include "data/store/foldedkeys.h"
#include "data/store/schema.h"

#include <QCoreApplication>
#include <QSqlQuery>

namespace vantora {
namespace {

struct StoreTexts
{
    Q_DECLARE_TR_FUNCTIONS(Storage)
};

} // namespace

DbError upgradeSchema(const QString &path, QString *added)
{
    DbConnection connection;
    if (DbError error = connection.open(path, DbConnection::Mode::ReadWrite))
        return error;
    QSqlDatabase &db = connection.db();
    const int version = schemaVersion(db);
    // Keys folded by another Unicode version than this program's are folded again.
    const bool refold = foldedKeysOutdated(db);
    if (version >= schema::kSchemaVersion && !refold)
        return {};

    const auto failed = [&path](const QSqlError &error) {
        return DbError{DbError::Failed,
                       engineMessage(StoreTexts::tr("The market database \"%1\" could not be "
                                                    "brought up to date")
                                         .arg(path),
                                     error)};
    };
    QStringList tables;
    Transaction transaction(db);
    if (!transaction.begin())
        return failed(transaction.error());
    for (const schema::Table &table : schema::tables())
        if (table.since > version && readTableColumns(db, table.name).table.isEmpty())
            tables << table.name;
    for (const QString &statement : schema::createStatements(version)) {
        // A table made by hand before is kept as it is.
        const bool forKept = std::any_of(schema::tables().cbegin(), schema::tables().cend(),
                                         [&](const schema::Table &t) {
                                             return t.since > version && !tables.contains(t.name) &&
                                                    statement.contains(schema::quoted(t.name));
                                         });
        if (forKept)
            continue;
        QSqlQuery query(db);
        if (!query.exec(statement))
            return failed(query.lastError());
    }
    // The tables the file had before get the case-folded keys of their text indexes.
    if (version < schema::kFoldedKeysSince) {
        for (const schema::Table &table : schema::tables())
            if (const QSqlError error = addFoldedKeys(db, table); error.isValid())
                return failed(error);
        for (const QString &statement : recordFoldingStatements())
            if (QSqlQuery query(db); !query.exec(statement))
                return failed(query.lastError());
    } else if (refold) {
        if (const QSqlError error = refoldKeys(db); error.isValid())
            return failed(error);
    }
    if (!transaction.commit())
        return failed(transaction.error());
    if (added)
        *added = tables.join(QLatin1String(", "));
    return {};
}

} // namespace vantora
