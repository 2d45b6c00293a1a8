// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/backup.h"

#include "data/store/connection.h"
#include "data/store/database.h"
#include "data/store/migration.h"
#include "data/store/privatefiles.h"
#include "data/store/schema.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <sqlite3.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>
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

// One connection of the SQLite library itself: Qt's driver offers no online backup.
struct Handle
{
    sqlite3 *db = nullptr;
    Handle() = default;
    ~Handle() { close(); }
    Q_DISABLE_COPY_MOVE(Handle)

    int open(const QString &path, int flags)
    {
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
        if (db) {
            sqlite3_extended_result_codes(db, 1);
            sqlite3_busy_timeout(db, connectionOptions().busyTimeoutMs);
        }
        return rc;
    }
    // A new file of our own: created private beforehand, opened only if no link took its place,
    // and written without a journal (a failed copy is thrown away whole).
    int openNew(const QString &path)
    {
        const int rc = open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW);
        return rc == SQLITE_OK
                   ? sqlite3_exec(db, "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr)
                   : rc;
    }
    void close()
    {
        if (db)
            sqlite3_close_v2(db);
        db = nullptr;
    }
    QString error() const
    {
        return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
    }
};

bool isBusy(int rc)
{
    return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
}

// A backup copies this many pages at a time and lets go of the file in between, so that a
// write of another connection waits for one step at most.
constexpr int kPagesPerStep = 1024;
// A file written to all the time restarts a copy made in steps; after this many restarts the
// rest is copied in one go.
constexpr int kRestartsInSteps = 3;

// Copies every page of one database into another, as one consistent snapshot, through SQLite's
// online backup: all at once (pagesPerStep -1), or in steps. A source that another program is
// writing to is waited for a while. Returns SQLITE_OK or the error code.
int copyPages(Handle &from, Handle &to, QString *detail, int pagesPerStep = -1,
              const std::atomic_bool *stop = nullptr)
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

// A name beside `target` that nobody can guess in advance.
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

// Copies a database into a new private file beside `target` and moves it to `target` only when
// it is complete, so that no half-written file ever carries the name. Nothing may be at
// `target`, not even a link.
bool copyToNewFile(Handle &from, const QString &target, QString *error)
{
    const QString temporary = temporaryBeside(target, QStringLiteral(".partial"));
    if (!createPrivateFile(temporary, error))
        return false;
    auto discard = qScopeGuard([&] { removeDatabaseFile(temporary); });
    {
        Handle to;
        if (to.openNew(temporary) != SQLITE_OK) {
            *error = QStringLiteral("\"%1\" could not be created (%2).").arg(temporary, to.error());
            return false;
        }
        QString detail;
        if (copyPages(from, to, &detail) != SQLITE_OK) {
            *error = detail;
            return false;
        }
    }
    if (!renameNoReplace(temporary, target)) {
        *error = QStringLiteral("\"%1\" could not be written.").arg(target);
        return false;
    }
    discard.dismiss();
    return true;
}

// ---------------------------------------------------------------------------------------------
// The backups of one database file and the index of the order in which they were made.

QString stemOf(const QString &databasePath)
{
    return QFileInfo(databasePath).completeBaseName();
}

struct Backup
{
    QString name; // in the backups folder
    QString stamp;
    int number = 1;
    qint64 sequence = 0; // counts up with every backup made; 0: made before the index
    enum Verdict { Unknown, Good, Bad } verdict = Unknown;
    qint64 size = -1;     // of the file when it was checked
    qint64 modified = -1; // ms since the epoch, likewise
};

QRegularExpression backupPattern(const QString &databasePath)
{
    static const QString kPattern =
        QStringLiteral("^%1-(\\d{4}-\\d\\d-\\d\\dT\\d{6}Z)(?:-(\\d+))?\\.db$");
    return QRegularExpression(kPattern.arg(QRegularExpression::escape(stemOf(databasePath))));
}

QString indexPath(const QString &databasePath)
{
    return backupFolder(databasePath) + QLatin1Char('/') + stemOf(databasePath) +
           QStringLiteral(".index");
}

const char *const kVerdicts[] = {"unchecked", "good", "damaged"};

// One line per backup: sequence, verdict, size, modification time and file name, by tabs.
QHash<QString, Backup> readIndex(const QString &databasePath)
{
    QHash<QString, Backup> entries;
    QFile file(indexPath(databasePath));
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().trimmed().split('\t');
        if (fields.size() != 5 || fields[0].startsWith('#'))
            continue;
        Backup entry;
        entry.sequence = fields[0].toLongLong();
        for (int v = 0; v < 3; ++v)
            if (fields[1] == kVerdicts[v])
                entry.verdict = Backup::Verdict(v);
        entry.size = fields[2].toLongLong();
        entry.modified = fields[3].toLongLong();
        entry.name = QString::fromUtf8(fields[4]);
        entries.insert(entry.name, entry);
    }
    return entries;
}

bool writeIndex(const QString &databasePath, const QList<Backup> &backups)
{
    QByteArray text = "# Backups of " + QFileInfo(databasePath).fileName().toUtf8() +
                      ", the one made last first: sequence, integrity check, size, modified (ms), "
                      "file\n";
    for (const Backup &b : backups)
        text += QByteArray::number(b.sequence) + '\t' + kVerdicts[b.verdict] + '\t' +
                QByteArray::number(b.size) + '\t' + QByteArray::number(b.modified) + '\t' +
                b.name.toUtf8() + '\n';
    NewPrivateFile file(indexPath(databasePath));
    return file.open() && file.write(text) && file.commit(true);
}

// The backups in the folder (links are no backups), the one made last first.
QList<Backup> listBackups(const QString &databasePath)
{
    const QRegularExpression pattern = backupPattern(databasePath);
    const QHash<QString, Backup> indexed = readIndex(databasePath);
    QList<Backup> found;
    const QDir folder(backupFolder(databasePath));
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (!match.hasMatch())
            continue;
        Backup entry = indexed.value(name);
        entry.name = name;
        entry.stamp = match.captured(1);
        entry.number = match.hasCaptured(2) ? match.captured(2).toInt() : 1;
        found << entry;
    }
    std::sort(found.begin(), found.end(), [](const Backup &a, const Backup &b) {
        if (a.sequence != b.sequence)
            return a.sequence > b.sequence;
        return a.stamp != b.stamp ? a.stamp > b.stamp : a.number > b.number;
    });
    return found;
}

bool unchangedSinceChecked(const Backup &backup, const QFileInfo &file)
{
    return backup.verdict != Backup::Unknown && backup.size == file.size() &&
           backup.modified == file.lastModified().toMSecsSinceEpoch();
}

void noteCheck(Backup &backup, const QFileInfo &file, bool good)
{
    backup.verdict = good ? Backup::Good : Backup::Bad;
    backup.size = file.size();
    backup.modified = file.lastModified().toMSecsSinceEpoch();
}

// Held while the backups of one database are made, rotated or their index rewritten, so that
// two runs of the program never do it at once. An advisory lock on a private file that stays.
class FolderLock
{
public:
    FolderLock(const QString &databasePath, int waitMs)
    {
        const QString path = backupFolder(databasePath) + QStringLiteral("/.") +
                             stemOf(databasePath) + QStringLiteral(".lock");
        m_fd = ::open(QFile::encodeName(path).constData(),
                      O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        QElapsedTimer waited;
        waited.start();
        while (m_fd >= 0 && !m_held) {
            m_held = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
            if (!m_held && waited.elapsed() >= waitMs)
                break;
            if (!m_held)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    ~FolderLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Q_DISABLE_COPY_MOVE(FolderLock)
    bool held() const { return m_held; }

private:
    int m_fd = -1;
    bool m_held = false;
};

constexpr int kLockWaitMs = 2000;

// What a backup killed half-way left: its partial copy, the journal beside it, a half-written
// index.
void removeLeftovers(const QString &databasePath)
{
    const QRegularExpression leftover(
        QStringLiteral("^\\.(%1-\\d{4}-\\d\\d-\\d\\dT\\d{6}Z-\\d+-[0-9a-f]{8}\\.partial(-journal)?|"
                       "%1\\.index-\\d+-[0-9a-f]{8}\\.new)$")
            .arg(QRegularExpression::escape(stemOf(databasePath))));
    QDir folder(backupFolder(databasePath));
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (leftover.match(name).hasMatch())
            folder.remove(name);
}

// The backup just made joins the index as the newest; all but the ten made last go.
void recordBackup(const QString &databasePath, const QString &made)
{
    QList<Backup> all = listBackups(databasePath);
    qint64 next = 1;
    for (const Backup &b : all)
        next = std::max(next, b.sequence + 1);
    const QFileInfo madeFile(made);
    for (Backup &b : all)
        if (b.name == madeFile.fileName()) {
            b.sequence = next;
            noteCheck(b, madeFile, true);
        }
    std::stable_sort(all.begin(), all.end(),
                     [](const Backup &a, const Backup &b) { return a.sequence > b.sequence; });
    QList<Backup> kept;
    QDir folder(backupFolder(databasePath));
    for (qsizetype i = 0; i < all.size(); ++i)
        if (i < kBackupsKept || all[i].name == madeFile.fileName() || !folder.remove(all[i].name))
            kept << all[i];
    writeIndex(databasePath, kept);
}

struct Outcome
{
    enum Kind { Made, Failed, Damaged, Skipped } kind = Failed;
    QString path;    // the backup made
    QString problem; // why none was
};

// The copy's own problem, without the name of the partial file it was found in.
QString problemOf(const CheckReport &report, const QString &file)
{
    QString text = report.problems.join(QLatin1Char(' '));
    text.remove(QStringLiteral("\"%1\" could not be read: ").arg(file));
    return text;
}

Outcome makeBackup(const QString &databasePath, const std::atomic_bool *stop)
{
    auto failed = [](const QString &problem) { return Outcome{Outcome::Failed, {}, problem}; };
    if (!QFileInfo::exists(databasePath))
        return failed(QStringLiteral("\"%1\" does not exist").arg(databasePath));
    const QString folder = backupFolder(databasePath);
    QString error;
    if (!makePrivateFolder(folder, &error))
        return failed(error);
    const FolderLock lock(databasePath, kLockWaitMs);
    if (!lock.held()) // another run of the program is backing the file up right now
        return {Outcome::Skipped, {}, {}};
    removeLeftovers(databasePath);

    Handle from;
    // Read-write when allowed, so that a transaction left unfinished by a crash is rolled back
    // before the pages are copied.
    const int flags = readWriteIfAllowed(databasePath) == DbConnection::Mode::ReadWrite
                          ? SQLITE_OPEN_READWRITE
                          : SQLITE_OPEN_READONLY;
    if (from.open(databasePath, flags) != SQLITE_OK)
        return failed(
            QStringLiteral("\"%1\" could not be opened (%2)").arg(databasePath, from.error()));

    const QString stem = stemOf(databasePath);
    const QString stamp = stampNow();
    const QString partial = temporaryBeside(
        folder + QLatin1Char('/') + stem + QLatin1Char('-') + stamp, QStringLiteral(".partial"));
    if (!createPrivateFile(partial, &error))
        return failed(error);
    auto discard = qScopeGuard([&] { removeDatabaseFile(partial); });
    {
        Handle to;
        QString detail;
        int rc = to.openNew(partial);
        if (rc != SQLITE_OK)
            detail = to.error();
        else
            rc = copyPages(from, to, &detail, kPagesPerStep, stop);
        if (rc != SQLITE_OK)
            return failed(QStringLiteral("the copy into \"%1\" failed (%2)").arg(folder, detail));
    }
    from.close();

    // The copy is what a restore would put back: it must pass the full check itself.
    const CheckReport copy = checkDatabase(partial, CheckDepth::Full, stop);
    if (stop && stop->load())
        return failed(QStringLiteral("the backup was stopped"));
    if (!copy.ok) {
        if (copy.verdict == CheckReport::Unreadable || copy.verdict == CheckReport::Busy)
            return failed(
                QStringLiteral("the copy could not be checked (%1)").arg(problemOf(copy, partial)));
        return {Outcome::Damaged, {}, problemOf(copy, partial)};
    }

    // Unique even within one second: a name already taken, by anything, gets the next number.
    QString target;
    for (int number = 1; number < 1000 && target.isEmpty(); ++number) {
        const QString candidate = number == 1
                                      ? QStringLiteral("%1/%2-%3.db").arg(folder, stem, stamp)
                                      : QStringLiteral("%1/%2-%3-%4.db")
                                            .arg(folder, stem, stamp, QString::number(number));
        if (nameTaken(candidate))
            continue;
        if (renameNoReplace(partial, candidate))
            target = candidate;
        else if (!nameTaken(candidate))
            return failed(QStringLiteral("\"%1\" could not be written").arg(candidate));
    }
    if (target.isEmpty())
        return failed(QStringLiteral("no free name for a backup in \"%1\"").arg(folder));
    discard.dismiss();
    recordBackup(databasePath, target);
    return {Outcome::Made, target, {}};
}

// ---------------------------------------------------------------------------------------------
// Messages

QString quotedPath(const QString &path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

// The newest good backup and the command that puts it back; `otherwise` when there is none.
QString restoreAdvice(const QString &path, const QString &otherwise = {})
{
    const QString good = newestGoodBackup(path);
    if (good.isEmpty()) {
        const QString none = backupsOf(path).isEmpty()
                                 ? QStringLiteral("\n\nThere is no backup of it in \"%1\".")
                                 : QStringLiteral("\n\nNone of its backups in \"%1\" passes "
                                                  "SQLite's integrity check.");
        return none.arg(backupFolder(path)) + otherwise;
    }
    const QString when = QLocale().toString(QFileInfo(good).lastModified(), QLocale::ShortFormat);
    return QStringLiteral("\n\nThe newest good backup is \"%1\" (made %2). To put it back, close "
                          "the program and run:\nvantora-db restore %3 %4")
        .arg(good, when, quotedPath(good), quotedPath(path));
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

    const Outcome backup = makeBackup(path, stop);
    if (backup.kind == Outcome::Damaged) {
        settle(key, {OpeningCheck::Damaged, damagedCopyMessage(path, backup.problem)});
        return;
    }
    if (backup.kind == Outcome::Failed && !stop->load())
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

QString backupFolder(const QString &databasePath)
{
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("backups"));
}

QStringList backupsOf(const QString &databasePath)
{
    QStringList paths;
    const QDir folder(backupFolder(databasePath));
    for (const Backup &backup : listBackups(databasePath))
        paths << folder.filePath(backup.name);
    return paths;
}

QString newestGoodBackup(const QString &databasePath)
{
    QList<Backup> all = listBackups(databasePath);
    const QDir folder(backupFolder(databasePath));
    QHash<QString, Backup> checked;
    QString good;
    for (Backup &backup : all) {
        const QFileInfo file(folder.filePath(backup.name));
        if (!unchangedSinceChecked(backup, file)) {
            noteCheck(backup, file, checkDatabase(file.filePath()).ok);
            checked.insert(backup.name, backup);
        }
        if (backup.verdict == Backup::Good) {
            good = file.filePath();
            break;
        }
    }
    if (!checked.isEmpty()) {
        // Kept, so that the next message need not check them again.
        const FolderLock lock(databasePath, kLockWaitMs);
        if (lock.held()) {
            QList<Backup> now = listBackups(databasePath);
            for (Backup &backup : now)
                backup = checked.value(backup.name, backup);
            writeIndex(databasePath, now);
        }
    }
    return good;
}

bool backupDatabase(const QString &databasePath, QString *backupPath, QString *error, bool *damaged)
{
    const Outcome outcome = makeBackup(databasePath, nullptr);
    if (damaged)
        *damaged = outcome.kind == Outcome::Damaged;
    if (outcome.kind == Outcome::Made && backupPath)
        *backupPath = outcome.path;
    if (outcome.kind == Outcome::Skipped && error)
        *error = QStringLiteral("another run of the program is making a backup of it");
    else if (outcome.kind != Outcome::Made && error)
        *error = outcome.problem;
    return outcome.kind == Outcome::Made;
}

QString emptyFileMessage(const QString &databasePath)
{
    return emptyFileText(databasePath) + QStringLiteral(" It has been left exactly as it is.") +
           restoreAdvice(databasePath,
                         QStringLiteral(" To start again with the sample market, remove the "
                                        "empty file and run:\nvantora-db create %1 --sample")
                             .arg(quotedPath(databasePath)));
}

bool restoreDatabase(const QString &backupPath, const QString &databasePath, QString *message)
{
    auto say = [&](const QString &text, bool ok) {
        if (message)
            *message = text;
        if (ok) {
            // Put right: the next opening checks it afresh.
            const std::lock_guard lock(checks().mutex);
            checks().files.remove(keyOf(databasePath));
        }
        return ok;
    };
    const QString nothing = QStringLiteral(" Nothing was restored.");
    if (!QFileInfo::exists(backupPath))
        return say(QStringLiteral("The backup \"%1\" does not exist.").arg(backupPath) + nothing,
                   false);
    if (QFileInfo::exists(databasePath) &&
        QFileInfo(backupPath).canonicalFilePath() == QFileInfo(databasePath).canonicalFilePath())
        return say(QStringLiteral("The backup and the database are the same file.") + nothing,
                   false);
    const CheckReport report = checkDatabase(backupPath);
    if (!report.ok)
        return say(QStringLiteral("The backup \"%1\" is not usable: %2")
                           .arg(backupPath, report.problems.join(QLatin1Char(' '))) +
                       nothing,
                   false);

    Handle from;
    if (from.open(backupPath, SQLITE_OPEN_READONLY) != SQLITE_OK)
        return say(QStringLiteral("The backup \"%1\" could not be opened (%2).")
                           .arg(backupPath, from.error()) +
                       nothing,
                   false);
    const QString restored =
        QStringLiteral("Restored \"%1\" from the backup \"%2\".").arg(databasePath, backupPath);

    QString error;
    if (!QFileInfo::exists(databasePath)) {
        if (!copyToNewFile(from, databasePath, &error))
            return say(error + nothing, false);
        return say(restored, true);
    }

    int rc = SQLITE_OK;
    {
        Handle to;
        rc = to.open(databasePath, SQLITE_OPEN_READWRITE);
        if (rc == SQLITE_OK)
            rc = copyPages(from, to, &error);
        else
            error = to.error();
    }
    if (rc == SQLITE_OK)
        return say(restored, true);
    if (isBusy(rc))
        return say(QStringLiteral("\"%1\" is in use by another program (%2). Close the program "
                                  "and try again.")
                           .arg(databasePath, error) +
                       nothing,
                   false);
    const int primary = rc & 0xff;
    if (primary != SQLITE_CORRUPT && primary != SQLITE_NOTADB)
        return say(QStringLiteral("\"%1\" could not be written (%2).").arg(databasePath, error) +
                       nothing,
                   false);

    // Too damaged for SQLite to write into: the damaged file is kept aside, never destroyed.
    const QString aside = databasePath + QStringLiteral(".damaged-") + stampNow();
    const QString partial = databasePath + QStringLiteral(".restoring");
    QFile::remove(partial);
    if (!copyToNewFile(from, partial, &error))
        return say(error + nothing, false);
    if (!renameNoReplace(databasePath, aside)) {
        removeDatabaseFile(partial);
        return say(QStringLiteral("\"%1\" could not be moved aside.").arg(databasePath) + nothing,
                   false);
    }
    // A journal of the damaged file must not be played into the restored one.
    for (const char *suffix : {"-journal", "-wal", "-shm"}) {
        const QString journal = databasePath + QLatin1String(suffix);
        if (QFileInfo::exists(journal))
            renameNoReplace(journal, aside + QLatin1String(suffix));
    }
    if (!renameNoReplace(partial, databasePath)) {
        renameNoReplace(aside, databasePath);
        removeDatabaseFile(partial);
        return say(QStringLiteral("\"%1\" could not be written.").arg(databasePath) + nothing,
                   false);
    }
    return say(restored + QStringLiteral(" The damaged file was kept as \"%1\".").arg(aside), true);
}

// ---------------------------------------------------------------------------------------------

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

bool awaitUsable(const QString &databasePath, QString *message,
                 const std::function<void()> &whileWaiting)
{
    const OpeningCheck check = awaitOpeningCheck(databasePath, whileWaiting);
    switch (check.state) {
    case OpeningCheck::Damaged:
        *message = check.message;
        return false;
    case OpeningCheck::Busy:
        *message = QStringLiteral("The market database \"%1\" is in use by another program; try "
                                  "again when that program is done.")
                       .arg(databasePath);
        return false;
    default:
        *message = takeOpeningNotice(databasePath);
        return true;
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
