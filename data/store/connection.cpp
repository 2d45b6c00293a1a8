// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/connection.h"

#include "data/store/privatefiles.h"
#include "data/store/schema.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QUrl>
#include <algorithm>
#include <sqlite3.h>

namespace vantora {
namespace {

// A path as an SQLite URI, so that the file can be opened without being created. The path is
// made absolute and clean first: "//x" would otherwise read as a host name.
QString uriFor(const QString &path, DbConnection::Mode mode)
{
    QUrl url = QUrl::fromLocalFile(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    url.setQuery(mode == DbConnection::Mode::ReadOnly ? QStringLiteral("mode=ro")
                                                      : QStringLiteral("mode=rw"));
    return url.toString(QUrl::FullyEncoded);
}

QString commandPath(const QString &path)
{
    return path.contains(QLatin1Char(' ')) ? QLatin1Char('"') + path + QLatin1Char('"') : path;
}

DbError missingFile(const QString &path)
{
    return {DbError::MissingFile,
            QStringLiteral("The market database file \"%1\" does not exist.\n\n"
                           "Create it with the command:\nvantora-db create %2 --sample")
                .arg(path, commandPath(path))};
}

} // namespace

ConnectionOptions &connectionOptions()
{
    static ConnectionOptions options;
    return options;
}

int sqlitePrimaryCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
}

DbConnection::Mode readWriteIfAllowed(const QString &path)
{
    return QFileInfo(path).isWritable() ? DbConnection::Mode::ReadWrite
                                        : DbConnection::Mode::ReadOnly;
}

QString readOnlyText(const QString &path)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (file.isWritable() && !folder.isWritable())
        return QStringLiteral(
                   "the folder \"%1\" that holds the market database \"%2\" is read-only")
            .arg(QDir::toNativeSeparators(folder.absoluteFilePath()), path);
    return QStringLiteral("the market database \"%1\" is read-only").arg(path);
}

QString engineDetail(const QSqlError &error)
{
    return error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
}

QString engineMessage(const QString &what, const QSqlError &error, QStringView end)
{
    return QStringLiteral("%1 (%2)%3").arg(what, engineDetail(error), end);
}

// ---------------------------------------------------------------------------------------------

DbConnection::DbConnection()
{
    static QAtomicInt counter;
    m_name = QStringLiteral("vantora-db-%1").arg(counter.fetchAndAddRelaxed(1));
}

DbConnection::~DbConnection()
{
    close();
}

DbError DbConnection::open(const QString &path, Mode mode)
{
    close();
    m_path = path;
    const QFileInfo info(path);
    if (mode != Mode::Create && !info.exists())
        return missingFile(path);
    if (info.isDir())
        return {DbError::CannotOpen,
                QStringLiteral("\"%1\" is a folder, not a market database file.").arg(path)};
    // A new file is private from its first byte: SQLite would create it readable by everyone.
    if (mode == Mode::Create && !info.exists()) {
        if (const DbError failure = createPrivateFile(path))
            return {DbError::CannotOpen, failure.message + QLatin1Char('.')};
    }

    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(uriFor(path, mode));
    m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1")
                               .arg(connectionOptions().busyTimeoutMs));
    if (!m_db.open()) {
        const QSqlError error = m_db.lastError();
        close();
        m_path = path;
        if (sqlitePrimaryCode(error) == SQLITE_CANTOPEN && !QFileInfo::exists(path))
            return missingFile(path);
        return {DbError::CannotOpen,
                engineMessage(
                    QStringLiteral("The market database file \"%1\" could not be opened").arg(path),
                    error)};
    }
    // Not persistent in the file: every connection asks for it again. Durability over speed.
    // Asked without waiting for a lock (SQLite reads the schema first): a file that another
    // program holds locked would keep the opening waiting twice; SQLite's default is FULL too.
    sqlite3 *handle = sqliteHandle(m_db);
    sqlite3_busy_timeout(handle, 0);
    sqlite3_exec(handle, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    sqlite3_busy_timeout(handle, connectionOptions().busyTimeoutMs);
    return {};
}

void DbConnection::close()
{
    if (m_db.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
}

// ---------------------------------------------------------------------------------------------

TableColumns readTableColumns(QSqlDatabase &db, const QString &table)
{
    TableColumns found;
    QSqlQuery query(db);
    const bool prepared = query.prepare(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
    if (prepared)
        query.addBindValue(table);
    if (!prepared || !query.exec()) {
        found.error = query.lastError();
        return found;
    }
    if (!query.next())
        return found;
    found.table = query.value(0).toString();
    query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(schema::quoted(found.table)));
    while (query.next())
        found.columns << query.value(1).toString();
    return found;
}

// ---------------------------------------------------------------------------------------------

Transaction::Transaction(QSqlDatabase &db)
    : m_db(db)
{
}

Transaction::~Transaction()
{
    if (m_active) {
        QSqlQuery rollback(m_db);
        rollback.exec(QStringLiteral("ROLLBACK"));
    }
}

bool Transaction::begin()
{
    QSqlQuery begin(m_db);
    m_active = begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (!m_active)
        m_error = begin.lastError();
    return m_active;
}

bool Transaction::commit()
{
    QSqlQuery commit(m_db);
    if (!commit.exec(QStringLiteral("COMMIT"))) {
        m_error = commit.lastError();
        return false;
    }
    m_active = false;
    return true;
}

namespace {

bool startsWithByteOrderMark(const QVariant &value)
{
    return value.typeId() == QMetaType::QString && value.toString().startsWith(QChar(0xFEFF));
}

} // namespace

QString placeholderFor(const QVariant &value)
{
    return startsWithByteOrderMark(value) ? QStringLiteral("CAST(? AS TEXT)") : QStringLiteral("?");
}

QVariant bindable(const QVariant &value)
{
    return startsWithByteOrderMark(value) ? QVariant(value.toString().toUtf8()) : value;
}

sqlite3 *sqliteHandle(QSqlDatabase &db)
{
    const QVariant handle = db.isValid() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

int schemaVersion(QSqlDatabase &db)
{
    QSqlQuery query(db);
    const int recorded = query.exec(QStringLiteral("PRAGMA user_version")) && query.next()
                             ? query.value(0).toInt()
                             : 0;
    return std::max(recorded, 1);
}

} // namespace vantora
