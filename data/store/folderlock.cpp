// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/folderlock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace vantora {
namespace {

struct StoreTexts
{
    Q_DECLARE_TR_FUNCTIONS(Storage)
};

// Longer than a lock file takes to be written.
constexpr int kHalfWrittenSecs = 10;

} // namespace

FolderLock::FolderLock(const QString &path, int waitMs)
    : m_file(path)
{
    // Anything but a file at the name would look like a lock held for ever.
    struct stat info
    {
    };
    const bool there = ::lstat(QFile::encodeName(path).constData(), &info) == 0;
    if (there && !S_ISREG(info.st_mode)) {
        m_problem =
            StoreTexts::tr("%1 stands at the name of the backup lock \"%2\"")
                .arg(S_ISDIR(info.st_mode)   ? StoreTexts::tr("a folder")
                     : S_ISLNK(info.st_mode) ? StoreTexts::tr("a link")
                                             : StoreTexts::tr("something other than a file"),
                     path);
        return;
    }
    // Held as long as its process runs, however long that takes; but a file that names no
    // process was left half-written by a run that ended as it took the lock.
    m_file.setStaleLockTime(0);
    qint64 pid = 0;
    QString host, program;
    if (there && !m_file.getLockInfo(&pid, &host, &program) &&
        QFileInfo(path).lastModified().secsTo(QDateTime::currentDateTime()) > kHalfWrittenSecs)
        m_file.removeStaleLockFile();
    if (m_file.tryLock(waitMs))
        return;
    const QString folder = QFileInfo(path).absolutePath();
    if (m_file.error() == QLockFile::LockFailedError)
        m_busy = true; // another run of the program is backing the file up right now
    else if (!QFileInfo(folder).isWritable())
        m_problem = StoreTexts::tr("the folder \"%1\" cannot be written").arg(folder);
    else
        m_problem = StoreTexts::tr("the backup lock \"%1\" could not be created").arg(path);
}

} // namespace vantora
