// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/store/dberror.h"

#include <QByteArray>
#include <QString>

// Files and folders of the market database are private to their owner: created 0700 and 0600
// (a stricter umask narrows that further), and never through a symbolic link that someone left
// at the name.
namespace vantora {

// The calls below that can fail say why in a clause ("the folder \"...\" could not be created
// (...)") that the caller puts into its own sentence.

// Creates the folder and any missing folder above it, each readable by its owner only. Folders
// that exist already are left as they are.
DbError makePrivateFolders(const QString &path);
// Creates one folder whose parent exists, readable by its owner only; no error when it exists.
DbError makePrivateFolder(const QString &path);

// Creates a new empty file readable by its owner only. Fails when anything is at the name, a
// symbolic link included.
DbError createPrivateFile(const QString &path);

// Makes a settings file private before anything is written to it (it may hold a quote source's
// key): its folder 0700 and the file 0600 whatever the umask, created empty when missing; a
// folder and file of this user's that exist already are narrowed to that. A link at either name
// is refused.
DbError makeSettingsFilePrivate(const QString &path);

// Something is at the name: a file, a folder or a symbolic link, even one that points nowhere.
bool nameTaken(const QString &path);

// Moves a file to a name that nothing holds yet; never replaces, never follows a link there.
bool renameNoReplace(const QString &from, const QString &to);

// A new private file written beside its final name and moved there whole by commit(), or not
// at all. Left uncommitted, it is removed.
class NewPrivateFile
{
public:
    explicit NewPrivateFile(const QString &target);
    ~NewPrivateFile();
    Q_DISABLE_COPY_MOVE(NewPrivateFile)

    bool open();
    bool write(const QByteArray &bytes);
    // Flushes the file to the disk and moves it to its name. `replace` allows an existing file
    // at the name to be replaced (a link there is replaced, not followed).
    bool commit(bool replace = false);
    void cancel();
    QString errorString() const { return m_error; }

private:
    bool flush();

    QString m_target;
    QString m_temporary;
    int m_fd = -1;
    QByteArray m_buffer;
    QString m_error;
};

} // namespace vantora
