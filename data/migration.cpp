// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/migration.h"

#include "data/schema.h"

#include <QSqlQuery>

namespace vantora {

DbError upgradeSchema(const QString &path, QString *added)
{
    DbConnection connection;
    if (DbError error = connection.open(path, DbConnection::Mode::ReadWrite))
        return error;
    QSqlDatabase &db = connection.db();
    const int version = schemaVersion(db);
    if (version >= schema::kSchemaVersion)
        return {};

    QStringList tables;
    Transaction transaction(db);
    if (!transaction.begin())
        return {DbError::Failed, engineMessage(QStringLiteral("The market database \"%1\" could "
                                                              "not be brought up to date")
                                                   .arg(path),
                                               transaction.error())};
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
            return {DbError::Failed,
                    engineMessage(QStringLiteral("The market database \"%1\" could not be "
                                                 "brought up to date")
                                      .arg(path),
                                  query.lastError())};
    }
    if (!transaction.commit())
        return {DbError::Failed, engineMessage(QStringLiteral("The market database \"%1\" could "
                                                              "not be brought up to date")
                                                   .arg(path),
                                               transaction.error())};
    if (added)
        *added = tables.join(QLatin1String(", "));
    return {};
}

} // namespace vantora
