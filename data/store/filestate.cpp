// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/filestate.h"

#include <QFile>
#include <QList>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantora {
namespace {

constexpr int kHeaderBytes = 100;

quint32 bigEndian32(const unsigned char *bytes)
{
    return quint32(bytes[0]) << 24 | quint32(bytes[1]) << 16 | quint32(bytes[2]) << 8 |
           quint32(bytes[3]);
}

qint64 nanoseconds(const timespec &time)
{
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           nanoseconds(a.st_mtim) == nanoseconds(b.st_mtim) &&
           nanoseconds(a.st_ctim) == nanoseconds(b.st_ctim);
}

// A journal or a log beside the file: a transaction under way, or one a crash left behind.
bool journalBeside(const QString &path)
{
    for (const char *suffix : {"-journal", "-wal"}) {
        struct stat info
        {
        };
        if (::stat(QFile::encodeName(path + QLatin1String(suffix)).constData(), &info) == 0 &&
            info.st_size > 0)
            return true;
    }
    return false;
}

} // namespace

bool FileState::matches(const FileState &other) const
{
    return valid && other.valid && device == other.device && inode == other.inode &&
           size == other.size && modifiedNs == other.modifiedNs && changedNs == other.changedNs &&
           changeCounter == other.changeCounter && schemaVersion == other.schemaVersion;
}

QByteArray FileState::toText() const
{
    QByteArray text;
    for (const qint64 number :
         {device, inode, size, modifiedNs, changedNs, qint64(changeCounter), qint64(schemaVersion)})
        text += (text.isEmpty() ? "" : "\t") + QByteArray::number(number);
    return text;
}

FileState FileState::fromText(const QByteArray &text)
{
    const QList<QByteArray> fields = text.trimmed().split('\t');
    FileState state;
    if (fields.size() != 7)
        return state;
    qint64 numbers[7] = {};
    for (int i = 0; i < 7; ++i) {
        bool ok = false;
        numbers[i] = fields[i].toLongLong(&ok);
        if (!ok)
            return state;
    }
    state.device = numbers[0];
    state.inode = numbers[1];
    state.size = numbers[2];
    state.modifiedNs = numbers[3];
    state.changedNs = numbers[4];
    state.changeCounter = quint32(numbers[5]);
    state.schemaVersion = int(numbers[6]);
    state.valid = true;
    return state;
}

FileState fileStateOf(const QString &databasePath)
{
    FileState state;
    const int fd = ::open(QFile::encodeName(databasePath).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return state;
    struct stat before
    {
    };
    struct stat after
    {
    };
    unsigned char header[kHeaderBytes] = {};
    const bool read = ::fstat(fd, &before) == 0 && S_ISREG(before.st_mode) &&
                      ::pread(fd, header, kHeaderBytes, 0) == kHeaderBytes &&
                      ::fstat(fd, &after) == 0;
    ::close(fd);
    // The header of a database that is not in write-ahead-log mode (read and write versions 1),
    // with nothing waiting beside it, and no write while it was read.
    static const char kMagic[] = "SQLite format 3";
    if (!read || std::memcmp(header, kMagic, sizeof kMagic) != 0 || header[18] != 1 ||
        header[19] != 1 || !sameFile(before, after) || journalBeside(databasePath))
        return state;
    state.device = qint64(before.st_dev);
    state.inode = qint64(before.st_ino);
    state.size = qint64(before.st_size);
    state.modifiedNs = nanoseconds(before.st_mtim);
    state.changedNs = nanoseconds(before.st_ctim);
    state.changeCounter = bigEndian32(header + 24);
    state.schemaVersion = int(bigEndian32(header + 60));
    state.valid = true;
    return state;
}

} // namespace vantora
