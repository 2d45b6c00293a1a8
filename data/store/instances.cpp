// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/instances.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <unistd.h>

namespace vantora {
namespace {

// The database file as every process names it, links resolved.
QFileInfo databaseFile(const QString &databasePath)
{
    const QFileInfo info(databasePath);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info : QFileInfo(canonical);
}

QString markPrefix(const QFileInfo &database)
{
    return QLatin1Char('.') + database.fileName() + QStringLiteral(".open-");
}

// Whether a process holds the mark locked. A mark nobody holds is stale, and goes.
bool isLive(const QString &mark)
{
    const int fd = ::open(QFile::encodeName(mark).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (!held)
        ::unlink(QFile::encodeName(mark).constData());
    ::close(fd);
    return held;
}

QList<qint64> liveMarks(const QFileInfo &database)
{
    QList<qint64> pids;
    const QString prefix = markPrefix(database);
    const QDir folder = database.absoluteDir();
    const QStringList marks =
        folder.entryList({prefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : marks) {
        bool number = false;
        const qint64 pid = name.mid(prefix.size()).toLongLong(&number);
        if (!number || pid == QCoreApplication::applicationPid())
            continue;
        if (isLive(folder.filePath(name)))
            pids << pid;
    }
    return pids;
}

std::map<QString, std::weak_ptr<InstanceMark>> &marks()
{
    static std::map<QString, std::weak_ptr<InstanceMark>> held;
    return held;
}

} // namespace

QList<qint64> otherInstances(const QString &databasePath)
{
    return liveMarks(databaseFile(databasePath));
}

DbError markOpen(const QString &databasePath, std::shared_ptr<InstanceMark> *held)
{
    held->reset();
    const QFileInfo database = databaseFile(databasePath);
    const QString key = database.absoluteFilePath();
    if (std::shared_ptr<InstanceMark> existing = marks()[key].lock()) {
        *held = existing;
        return {};
    }

    std::shared_ptr<InstanceMark> mark(new InstanceMark);
    mark->m_others = liveMarks(database);
    const QString name = database.absoluteDir().filePath(
        markPrefix(database) + QString::number(QCoreApplication::applicationPid()));
    // Quietly unmarked where the folder may not be written; said for anything else.
    auto unmarked = [&name](int code) -> DbError {
        if (code == EACCES || code == EPERM || code == EROFS)
            return {};
        return {
            DbError::Failed,
            QFileInfo(name).isDir() && !QFileInfo(name).isSymLink()
                ? QStringLiteral("a folder is at \"%1\", where the mark goes").arg(name)
                : QStringLiteral("\"%1\" could not be made (%2)").arg(name, qt_error_string(code))};
    };
    // Locked under a new name of its own first (one nobody could have left a link at), so that
    // nobody ever sees the mark unlocked; a link at the mark's name is replaced, not followed.
    QByteArray pendingName = QFile::encodeName(name + QStringLiteral(".new-XXXXXX"));
    const int fd = ::mkostemp(pendingName.data(), O_CLOEXEC);
    if (fd < 0)
        return unmarked(errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        ::rename(pendingName.constData(), QFile::encodeName(name).constData()) != 0) {
        const int code = errno;
        ::unlink(pendingName.constData());
        ::close(fd);
        return unmarked(code);
    }
    mark->m_path = name;
    mark->m_fd = fd;
    marks()[key] = mark;
    *held = mark;
    return {};
}

InstanceMark::~InstanceMark()
{
    if (m_fd >= 0) {
        ::unlink(QFile::encodeName(m_path).constData());
        ::close(m_fd);
    }
}

} // namespace vantora
