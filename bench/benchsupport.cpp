// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/benchsupport.h"

#include "data/store/database.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <unistd.h>

namespace vantora::bench {

bool fillNewDatabase(const QString &path, const QStringList &statements)
{
    if (createDatabase(path, false))
        return false;
    bool ok = false;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        ok = db.open() && query.exec(QStringLiteral("BEGIN"));
        for (const QString &statement : statements)
            ok = ok && query.exec(statement);
        ok = ok && query.exec(QStringLiteral("COMMIT"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
    settle();
    return ok;
}

void settle()
{
    ::sync();
}

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace vantora::bench
