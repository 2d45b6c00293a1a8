// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/privatefiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantora {
namespace {

constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;
constexpr qsizetype kBufferBytes = 64 * 1024;

DbError fail(const QString &text)
{
    return {DbError::Failed, text};
}

QString systemError()
{
    return qt_error_string(errno);
}

} // namespace

DbError makePrivateFolder(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), kFolderMode) == 0)
        return {};
    const int code = errno;
    struct stat info
    {
    };
    if (code == EEXIST && ::stat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode))
        return {};
    errno = code;
    return fail(
        QStringLiteral("the folder \"%1\" could not be created (%2)").arg(path, systemError()));
}

DbError makePrivateFolders(const QString &path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (QFileInfo(clean).isDir())
        return {};
    const QString parent = QFileInfo(clean).path();
    if (parent != clean) {
        if (const DbError failure = makePrivateFolders(parent))
            return failure;
    }
    return makePrivateFolder(clean);
}

DbError createPrivateFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kFileMode);
    if (fd < 0)
        return fail(QStringLiteral("\"%1\" could not be created (%2)").arg(path, systemError()));
    ::close(fd);
    return {};
}

namespace {

// A folder or file of this user's at the name gets exactly `mode`; a link there is refused.
DbError narrow(const QString &path, mode_t mode, bool folder)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info
    {
    };
    if (::lstat(name.constData(), &info) != 0)
        return fail(QStringLiteral("\"%1\" could not be read (%2)").arg(path, systemError()));
    if (folder ? !S_ISDIR(info.st_mode) : !S_ISREG(info.st_mode))
        return fail(QStringLiteral("\"%1\" is no %2 but a link or something else; the "
                                   "settings are not kept there")
                        .arg(path, folder ? QStringLiteral("folder") : QStringLiteral("file")));
    if (info.st_uid != ::geteuid() || (info.st_mode & 07777) == mode)
        return {};
    if (::chmod(name.constData(), mode) != 0)
        return fail(
            QStringLiteral("\"%1\" could not be made private (%2)").arg(path, systemError()));
    return {};
}

} // namespace

DbError makeSettingsFilePrivate(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    // Whatever the umask says, what is made here is 0700 and 0600.
    const mode_t previous = ::umask(0077);
    const auto restore = qScopeGuard([previous] { ::umask(previous); });
    if (const DbError failure = makePrivateFolders(folder))
        return failure;
    if (const DbError failure = narrow(folder, kFolderMode, true))
        return failure;
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kFileMode);
    if (fd >= 0)
        ::close(fd);
    else if (errno != EEXIST)
        return fail(QStringLiteral("\"%1\" could not be created (%2)").arg(path, systemError()));
    return narrow(path, kFileMode, false);
}

bool nameTaken(const QString &path)
{
    struct stat info
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

bool renameNoReplace(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: a hard link never replaces anything at its name either.
    if (::link(source.constData(), target.constData()) != 0)
        return false;
    ::unlink(source.constData());
    return true;
}

// ---------------------------------------------------------------------------------------------

NewPrivateFile::NewPrivateFile(const QString &target)
    : m_target(target)
{
}

NewPrivateFile::~NewPrivateFile()
{
    cancel();
}

bool NewPrivateFile::open()
{
    cancel();
    const QFileInfo info(m_target);
    // Unguessable, so that nobody can leave a link there in advance.
    m_temporary = info.absolutePath() +
                  QStringLiteral("/.%1-%2-%3.new")
                      .arg(info.fileName(), QString::number(QCoreApplication::applicationPid()),
                           QStringLiteral("%1").arg(QRandomGenerator::system()->generate(), 8, 16,
                                                    QLatin1Char('0')));
    m_fd = ::open(QFile::encodeName(m_temporary).constData(),
                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kFileMode);
    if (m_fd < 0) {
        m_error = systemError();
        m_temporary.clear();
        return false;
    }
    return true;
}

bool NewPrivateFile::write(const QByteArray &bytes)
{
    m_buffer += bytes;
    return m_buffer.size() < kBufferBytes || flush();
}

bool NewPrivateFile::flush()
{
    const char *data = m_buffer.constData();
    qsizetype left = m_buffer.size();
    while (left > 0 && m_fd >= 0) {
        const ssize_t written = ::write(m_fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            m_error = systemError();
            return false;
        }
        data += written;
        left -= written;
    }
    m_buffer.clear();
    return m_fd >= 0;
}

bool NewPrivateFile::commit(bool replace)
{
    if (m_fd < 0 || !flush())
        return false;
    const bool synced = ::fsync(m_fd) == 0;
    if (!synced)
        m_error = systemError();
    ::close(m_fd);
    m_fd = -1;
    bool moved = false;
    if (synced) {
        moved = replace ? std::rename(QFile::encodeName(m_temporary).constData(),
                                      QFile::encodeName(m_target).constData()) == 0
                        : renameNoReplace(m_temporary, m_target);
        if (!moved)
            m_error = errno == EEXIST ? QStringLiteral("the file exists already") : systemError();
    }
    if (!moved)
        ::unlink(QFile::encodeName(m_temporary).constData());
    m_temporary.clear();
    return moved;
}

void NewPrivateFile::cancel()
{
    m_buffer.clear();
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty())
        ::unlink(QFile::encodeName(m_temporary).constData());
    m_temporary.clear();
}

} // namespace vantora
