// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/pagecopy.h"

#include "data/store/connection.h"
#include "data/store/privatefiles.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <sqlite3.h>

namespace vantora {

int SqliteHandle::open(const QString &path, int flags)
{
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (db) {
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, connectionOptions().busyTimeoutMs);
    }
    return rc;
}

int SqliteHandle::openNew(const QString &path)
{
    const int rc = open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW);
    return rc == SQLITE_OK ? sqlite3_exec(db, "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr)
                           : rc;
}

void SqliteHandle::close()
{
    if (db)
        sqlite3_close_v2(db);
    db = nullptr;
}

QString SqliteHandle::error() const
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

bool isBusy(int rc)
{
    return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
}

// A file written to all the time restarts a copy made in steps; after this many restarts the
// rest is copied in one go.
static constexpr int kRestartsInSteps = 3;

int copyPages(SqliteHandle &from, SqliteHandle &to, QString *detail, int pagesPerStep,
              const std::atomic_bool *stop)
{
    sqlite3_backup *backup = sqlite3_backup_init(to.db, "main", from.db, "main");
    if (!backup) {
        *detail = to.error();
        return sqlite3_extended_errcode(to.db);
    }
    QElapsedTimer waited;
    waited.start();
    int rc = SQLITE_OK;
    int restarts = 0;
    int remaining = -1;
    for (;;) {
        if (stop && stop->load()) {
            rc = SQLITE_INTERRUPT;
            break;
        }
        rc = sqlite3_backup_step(backup, restarts > kRestartsInSteps ? -1 : pagesPerStep);
        if (rc == SQLITE_OK) {
            const int left = sqlite3_backup_remaining(backup);
            if (remaining >= 0 && left > remaining)
                ++restarts;
            remaining = left;
            waited.start();
            continue;
        }
        if (isBusy(rc) && waited.elapsed() < connectionOptions().busyTimeoutMs) {
            sqlite3_sleep(50);
            continue;
        }
        break;
    }
    const int finished = sqlite3_backup_finish(backup);
    if (rc == SQLITE_DONE)
        rc = finished;
    if (rc != SQLITE_OK) {
        *detail = to.error();
        if (detail->isEmpty() || *detail == QLatin1String("not an error"))
            *detail = QString::fromUtf8(sqlite3_errstr(rc));
    }
    return rc;
}

QString stampNow()
{
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-ddTHHmmss")) +
           QLatin1Char('Z');
}

void removeDatabaseFile(const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

QString temporaryBeside(const QString &target, const QString &suffix)
{
    const QFileInfo info(target);
    return info.absolutePath() +
           QStringLiteral("/.%1-%2-%3%4")
               .arg(info.fileName(), QString::number(QCoreApplication::applicationPid()),
                    QStringLiteral("%1").arg(QRandomGenerator::system()->generate(), 8, 16,
                                             QLatin1Char('0')),
                    suffix);
}

DbError copyToNewFile(SqliteHandle &from, const QString &target)
{
    const QString temporary = temporaryBeside(target, QStringLiteral(".partial"));
    if (const DbError failure = createPrivateFile(temporary))
        return failure;
    auto discard = qScopeGuard([&] { removeDatabaseFile(temporary); });
    {
        SqliteHandle to;
        if (to.openNew(temporary) != SQLITE_OK)
            return {DbError::CannotOpen,
                    QStringLiteral("\"%1\" could not be created (%2).").arg(temporary, to.error())};
        QString detail;
        if (copyPages(from, to, &detail) != SQLITE_OK)
            return {DbError::Failed, detail};
    }
    if (!renameNoReplace(temporary, target))
        return {DbError::Failed, QStringLiteral("\"%1\" could not be written.").arg(target)};
    discard.dismiss();
    return {};
}

} // namespace vantora
