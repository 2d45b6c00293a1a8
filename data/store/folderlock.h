// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLockFile>
#include <QString>

namespace vantora {

// Held while the backups of one database are made, rotated or their index rewritten, so that
// two runs of the program never do it at once: a lock file naming the process that holds it,
// removed when it lets go. One whose process has ended is taken over; one whose process runs is
// waited for, however long that process's backup has taken so far.
class FolderLock
{
public:
    // The lock file at `path`, waited for up to waitMs while another run holds it.
    FolderLock(const QString &path, int waitMs);
    Q_DISABLE_COPY_MOVE(FolderLock)

    bool held() const { return m_file.isLocked(); }
    // Held by another run, which is making a backup itself.
    bool busy() const { return m_busy; }
    // Why it could not be taken, if not for another run.
    QString problem() const { return m_problem; }

private:
    QLockFile m_file;
    bool m_busy = false;
    QString m_problem;
};

} // namespace vantora
