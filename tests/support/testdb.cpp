// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/testdb.h"

#include "data/store/database.h"
#include "data/store/openingcheck.h"
#include "data/store/schema.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtDebug>

namespace vantora::test {
namespace {

std::function<void(const QString &)> &follower()
{
    static std::function<void(const QString &)> follow;
    return follow;
}

QString nextName()
{
    static QAtomicInt counter;
    return QStringLiteral("vantora-test-%1").arg(counter.fetchAndAddRelaxed(1));
}

// Runs fn on a short-lived connection, so that the test never holds the file open.
template <typename Fn> auto withConnection(const QString &path, Fn fn)
{
    const QString name = nextName();
    auto result = [&] {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
        db.open();
        auto value = fn(db);
        db.close();
        return value;
    }();
    QSqlDatabase::removeDatabase(name);
    return result;
}

bool run(QSqlQuery &query, const QString &sql, const QVariantList &values)
{
    if (!query.prepare(sql)) {
        qWarning() << "prepare failed:" << sql << query.lastError().text();
        return false;
    }
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values[i]);
    if (!query.exec()) {
        qWarning() << "exec failed:" << sql << query.lastError().text();
        return false;
    }
    return true;
}

} // namespace

TestDatabase::TestDatabase(Content content)
{
    m_path = m_dir.filePath(QStringLiteral("cm1.db"));
    if (!m_dir.isValid())
        m_error = QStringLiteral("no temporary folder");
    else if (const DbError failure = createDatabase(m_path, content == Sample))
        m_error = failure.message;
    if (follower())
        follower()(m_path);
}

TestDatabase::~TestDatabase()
{
    if (follower())
        follower()(QString());
}

void followTestDatabases(std::function<void(const QString &)> follow)
{
    follower() = std::move(follow);
}

bool TestDatabase::exec(const QString &sql, const QVariantList &values)
{
    return withConnection(m_path, [&](QSqlDatabase &db) {
        QSqlQuery query(db);
        return run(query, sql, values);
    });
}

QVariantList TestDatabase::column(const QString &sql, const QVariantList &values)
{
    return withConnection(m_path, [&](QSqlDatabase &db) {
        QVariantList rows;
        QSqlQuery query(db);
        if (run(query, sql, values))
            while (query.next())
                rows << query.value(0);
        return rows;
    });
}

QVariant TestDatabase::scalar(const QString &sql, const QVariantList &values)
{
    return column(sql, values).value(0);
}

qint64 TestDatabase::count(const QString &table)
{
    return scalar(QStringLiteral("SELECT count(*) FROM %1").arg(schema::quoted(table)))
        .toLongLong();
}

QVariantList TestDatabase::fieldValues(const QString &table, const QString &field)
{
    return column(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                      .arg(schema::quoted(field), schema::quoted(table)));
}

QStringList TestDatabase::rows(const QString &table)
{
    QStringList columns;
    for (const schema::Field &field : schema::findTable(table)->fields)
        columns << QStringLiteral("quote(%1)").arg(schema::quoted(field.name));
    QStringList result;
    for (const QVariant &row :
         column(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                    .arg(columns.join(QLatin1String(" || '|' || ")), schema::quoted(table))))
        result << row.toString();
    return result;
}

bool TestDatabase::insert(const QString &table, const QStringList &fields,
                          const QVariantList &values)
{
    QStringList columns, marks;
    for (const QString &field : fields) {
        columns << schema::quoted(field);
        marks << QStringLiteral("?");
    }
    return exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(schema::quoted(table), columns.join(QLatin1String(", ")),
                         marks.join(QLatin1String(", "))),
                values);
}

ExclusiveLock::ExclusiveLock(const QString &path)
    : m_name(nextName())
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    if (db.open()) {
        QSqlQuery query(db);
        m_locked = query.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    }
}

ExclusiveLock::~ExclusiveLock()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (m_locked) {
            QSqlQuery query(db);
            query.exec(QStringLiteral("ROLLBACK"));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QString TestDatabase::openAsAtFirstOpening()
{
    QString notice;
    const DbError failure = awaitUsable(m_path, &notice);
    waitForOpeningChecks();
    if (!failure)
        return notice;
    return failure.message.isEmpty() ? QStringLiteral("not usable") : failure.message;
}

} // namespace vantora::test
