// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/backup.h"

#include "data/store/connection.h"
#include "data/store/database.h"
#include "data/store/pagecopy.h"
#include "data/store/privatefiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace vantora {
namespace {

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
        if (i < backupsKept() || all[i].name == madeFile.fileName() || !folder.remove(all[i].name))
            kept << all[i];
    writeIndex(databasePath, kept);
}

// The copy's own problem, without the name of the partial file it was found in.
QString problemOf(const CheckReport &report, const QString &file)
{
    QString text = report.problems.join(QLatin1Char(' '));
    text.remove(QStringLiteral("\"%1\" could not be read: ").arg(file));
    return text;
}

QString quotedPath(const QString &path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

} // namespace

int backupsKept()
{
    // The program's own settings, whichever program makes the backup.
    const QSettings settings(QSettings::UserScope, QStringLiteral("vantora"),
                             QStringLiteral("vantora"));
    bool number = false;
    const int kept = settings.value(backupsKeptKey()).toInt(&number);
    return number && kept >= 1 ? std::min(kept, 1000) : kBackupsKept;
}

BackupOutcome makeBackup(const QString &databasePath, const std::atomic_bool *stop)
{
    auto failed = [](const QString &problem) {
        return BackupOutcome{BackupOutcome::Failed, {}, problem};
    };
    if (!QFileInfo::exists(databasePath))
        return failed(QStringLiteral("\"%1\" does not exist").arg(databasePath));
    const QString folder = backupFolder(databasePath);
    if (const DbError failure = makePrivateFolder(folder))
        return failed(failure.message);
    const FolderLock lock(databasePath, kLockWaitMs);
    if (!lock.held()) // another run of the program is backing the file up right now
        return {BackupOutcome::Skipped, {}, {}};
    removeLeftovers(databasePath);

    SqliteHandle from;
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
    if (const DbError failure = createPrivateFile(partial))
        return failed(failure.message);
    auto discard = qScopeGuard([&] { removeDatabaseFile(partial); });
    {
        SqliteHandle to;
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
        return {BackupOutcome::Damaged, {}, problemOf(copy, partial)};
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
    return {BackupOutcome::Made, target, {}};
}

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

DbError backupDatabase(const QString &databasePath, QString *backupPath)
{
    const BackupOutcome outcome = makeBackup(databasePath, nullptr);
    switch (outcome.kind) {
    case BackupOutcome::Made:
        if (backupPath)
            *backupPath = outcome.path;
        return {};
    case BackupOutcome::Skipped:
        return {DbError::Locked,
                QStringLiteral("another run of the program is making a backup of it")};
    case BackupOutcome::Damaged:
        return {DbError::Damaged, outcome.problem};
    case BackupOutcome::Failed:
        break;
    }
    return {DbError::Failed, outcome.problem};
}

QString emptyFileMessage(const QString &databasePath)
{
    return emptyFileText(databasePath) + QStringLiteral(" It has been left exactly as it is.") +
           restoreAdvice(databasePath,
                         QStringLiteral(" To start again with the sample market, remove the "
                                        "empty file and run:\nvantora-db create %1 --sample")
                             .arg(quotedPath(databasePath)));
}

QString restoreAdvice(const QString &path, const QString &otherwise)
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

} // namespace vantora
