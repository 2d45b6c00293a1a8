// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/openingcheck.h"

#include "data/store/backup.h"
#include "data/store/database.h"
#include "data/store/migration.h"
#include "data/store/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace vantora {
namespace {

// Set at the program's end: running checks and backups give up.
std::atomic_bool &stopping()
{
    static std::atomic_bool flag{false};
    return flag;
}

QString shortProblem(const QString &path, const QString &problem)
{
    QString text = problem;
    text.remove(QStringLiteral("\"%1\" could not be read: ").arg(path));
    text = text.remove(QStringLiteral("*** in database main ***")).simplified();
    if (text.size() > 300)
        text = text.left(300) + QStringLiteral("...");
    return text;
}

QString damagedMessage(const QString &path, const QString &problem)
{
    return QStringLiteral("The market database \"%1\" is damaged (%2).\n\nIt has been left "
                          "exactly as it is, and no backup was made of it. The record screens "
                          "show no records until a backup is put back.")
               .arg(path, shortProblem(path, problem)) +
           restoreAdvice(path);
}

QString damagedCopyMessage(const QString &path, const QString &problem)
{
    return QStringLiteral("The backup just made of the market database \"%1\" fails SQLite's "
                          "full integrity check (%2): the database itself holds damage.\n\nThe "
                          "damaged copy was not kept, and nothing more is written to the "
                          "database in this run. The record screens show no records until a "
                          "backup is put back.")
               .arg(path, shortProblem(path, problem)) +
           restoreAdvice(path);
}

// ---------------------------------------------------------------------------------------------
// The checks of this run, one thread each.

struct FileCheck
{
    QString path; // as the program names it
    OpeningCheck check;
    QString notice;
};

struct Checks
{
    std::mutex mutex;
    std::condition_variable changed;
    QHash<QString, FileCheck> files;
    std::vector<std::thread> threads;
    ~Checks()
    {
        // Normally stopped at the application's end already.
        stopping() = true;
        for (std::thread &thread : threads)
            thread.join();
    }
};

Checks &checks()
{
    static Checks all;
    return all;
}

QString keyOf(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

void settle(const QString &key, const OpeningCheck &check)
{
    {
        const std::lock_guard lock(checks().mutex);
        checks().files[key].check = check;
    }
    checks().changed.notify_all();
    Q_EMIT OpeningChecks::instance()->settled(key);
}

void leaveNotice(const QString &key, const QString &notice)
{
    {
        const std::lock_guard lock(checks().mutex);
        checks().files[key].notice = notice;
    }
    Q_EMIT OpeningChecks::instance()->noticeWaiting(key);
}

void runCheck(const QString &key, const QString &path)
{
    const std::atomic_bool *stop = &stopping();
    const CheckReport report = checkDatabase(path, CheckDepth::Quick, stop);
    const QString problem = report.problems.value(0);
    OpeningCheck check;
    switch (report.verdict) {
    case CheckReport::Unreadable:
        break;
    case CheckReport::Busy:
        check.state = OpeningCheck::Busy;
        break;
    case CheckReport::NotADatabase:
        // A file that was backed up before was a database: now it is damaged. Any other file
        // is reported by the opening itself.
        if (!backupsOf(path).isEmpty())
            check = {OpeningCheck::Damaged, damagedMessage(path, problem)};
        break;
    case CheckReport::Empty:
        check = {OpeningCheck::Damaged, emptyFileMessage(path)};
        break;
    case CheckReport::Damaged:
        check = {OpeningCheck::Damaged, damagedMessage(path, problem)};
        break;
    case CheckReport::SchemaProblems:
        // An incomplete file is not backed up: ten runs would push out every complete backup.
        // The screens name what is missing when they need it.
    case CheckReport::Usable:
        check.state = OpeningCheck::Passed;
        break;
    }
    if (stop->load())
        check = {};
    if (report.verdict != CheckReport::Usable || stop->load()) {
        settle(key, check);
        return;
    }
    // A file of an older version is upgraded before any screen writes to it, and only with a
    // backup in hand: its screens wait for the backup this once.
    const bool upgrade = report.version < schema::kSchemaVersion && QFileInfo(path).isWritable();
    if (!upgrade)
        settle(key, check);

    const BackupOutcome backup = makeBackup(path, stop);
    if (backup.kind == BackupOutcome::Damaged) {
        settle(key, {OpeningCheck::Damaged, damagedCopyMessage(path, backup.problem)});
        return;
    }
    if (backup.kind == BackupOutcome::Failed && !stop->load())
        leaveNotice(key, QStringLiteral("No backup of the market database \"%1\" could be made: "
                                        "%2.\n\nYour data is not affected; the program goes on "
                                        "without a new backup.")
                             .arg(path, backup.problem));
    else if (upgrade && !stop->load())
        if (const DbError failure = upgradeSchema(path))
            leaveNotice(key, failure.message);
    if (upgrade)
        settle(key, check);
}

} // namespace

OpeningChecks *OpeningChecks::instance()
{
    // Never destroyed: a check may still report while the program ends.
    static OpeningChecks *const checks = new OpeningChecks;
    return checks;
}

void startOpeningCheck(const QString &databasePath)
{
    OpeningChecks::instance();
    if (!QFileInfo::exists(databasePath))
        return; // reported by the opening; checked when it is there
    const QString key = keyOf(databasePath);
    const std::lock_guard lock(checks().mutex);
    FileCheck &file = checks().files[key];
    const OpeningCheck::State state = file.check.state;
    if (state == OpeningCheck::Checking || state == OpeningCheck::Passed ||
        state == OpeningCheck::Damaged)
        return;
    static const bool stopsAtTheEnd = [] {
        qAddPostRoutine(stopOpeningChecks);
        return true;
    }();
    Q_UNUSED(stopsAtTheEnd)
    file.path = databasePath;
    file.check = {OpeningCheck::Checking, {}};
    checks().threads.emplace_back(runCheck, key, databasePath);
}

OpeningCheck openingCheck(const QString &databasePath)
{
    const std::lock_guard lock(checks().mutex);
    return checks().files.value(keyOf(databasePath)).check;
}

OpeningCheck awaitOpeningCheck(const QString &databasePath,
                               const std::function<void()> &whileWaiting)
{
    startOpeningCheck(databasePath);
    const QString key = keyOf(databasePath);
    std::unique_lock lock(checks().mutex);
    for (;;) {
        const OpeningCheck check = checks().files.value(key).check;
        if (check.state != OpeningCheck::Checking)
            return check;
        if (whileWaiting) {
            lock.unlock();
            whileWaiting();
            lock.lock();
        }
        checks().changed.wait_for(lock, std::chrono::milliseconds(20));
    }
}

QString takeOpeningNotice(const QString &databasePath)
{
    const std::lock_guard lock(checks().mutex);
    const auto found = checks().files.find(keyOf(databasePath));
    return found == checks().files.end() ? QString() : std::exchange(found->notice, QString());
}

DbError awaitUsable(const QString &databasePath, QString *notice,
                    const std::function<void()> &whileWaiting)
{
    const OpeningCheck check = awaitOpeningCheck(databasePath, whileWaiting);
    switch (check.state) {
    case OpeningCheck::Damaged:
        return {DbError::Damaged, check.message};
    case OpeningCheck::Busy:
        return {DbError::Locked,
                QStringLiteral("The market database \"%1\" is in use by another program; try "
                               "again when that program is done.")
                    .arg(databasePath)};
    default:
        *notice = takeOpeningNotice(databasePath);
        return {};
    }
}

void waitForOpeningChecks()
{
    for (;;) {
        std::vector<std::thread> running;
        {
            const std::lock_guard lock(checks().mutex);
            running.swap(checks().threads);
        }
        if (running.empty())
            return;
        for (std::thread &thread : running)
            thread.join();
    }
}

void forgetOpeningCheck(const QString &databasePath)
{
    const std::lock_guard lock(checks().mutex);
    checks().files.remove(keyOf(databasePath));
}

void forgetOpeningChecks()
{
    waitForOpeningChecks();
    const std::lock_guard lock(checks().mutex);
    checks().files.clear();
}

void stopOpeningChecks()
{
    stopping() = true;
    waitForOpeningChecks();
    stopping() = false;
}

} // namespace vantora
