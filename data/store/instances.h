// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/store/dberror.h"

#include <QList>
#include <QString>
#include <memory>

// Which running programs have a market database file open. Each marks its presence with a small
// file beside the database (".<name>.open-<pid>") that it holds locked for as long as it has the
// file open; the lock goes with the process, so a mark left by a crash is recognised as stale
// and removed by whoever finds it.
namespace vantora {

class InstanceMark;

// Marks this process as having the database open, for as long as any holder keeps *held
// (several bindings of one process share one mark). *held is null when no mark can be made: in a
// folder that may not be written the program works on, unseen by others, and no error is given;
// anything else (a folder planted at the mark's name) is an error, said in a clause.
DbError markOpen(const QString &databasePath, std::shared_ptr<InstanceMark> *held);

// The processes other than this one that have the database open now; stale marks are removed.
QList<qint64> otherInstances(const QString &databasePath);

class InstanceMark
{
public:
    ~InstanceMark();
    Q_DISABLE_COPY_MOVE(InstanceMark)

    // The other processes that had the file open when this mark was made.
    const QList<qint64> &othersAtStart() const { return m_others; }

private:
    friend DbError markOpen(const QString &databasePath, std::shared_ptr<InstanceMark> *held);
    InstanceMark() = default;

    QString m_path;
    int m_fd = -1;
    QList<qint64> m_others;
};

} // namespace vantora
