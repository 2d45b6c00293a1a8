// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/store/dberror.h"

#include <QObject>
#include <QString>
#include <functional>

namespace vantora {

// The check the program makes the first time in a run that it opens a database file, on a
// thread of its own so that the window never waits for it: SQLite's quick check and the schema
// check; then a backup, verified on the copy. Until the check has passed nothing may be written
// to the file; a damaged file (or one whose copy fails the full check) is left alone for the rest
// of the run, with a message that names the newest good backup and how to restore it. A file
// that could not be checked (missing, no database, no permission) is checked again at its next
// opening; one in use by another program too, and a write meanwhile is refused. A file of an
// older schema version is upgraded here (upgradeSchema), after its backup and before any screen
// writes to it.
struct OpeningCheck
{
    enum State {
        Unchecked, // not yet, or the check could not tell
        Checking,
        Passed,
        Damaged, // message says so
        Busy     // another program held the file locked
    };
    State state = Unchecked;
    QString message;
};

// Starts the check of the file unless this run has one running or settled.
void startOpeningCheck(const QString &databasePath);
// Where the check of the file stands.
OpeningCheck openingCheck(const QString &databasePath);
// Starts the check if it is not running or settled, and waits for its verdict, calling
// whileWaiting now and then (so that the window keeps painting).
OpeningCheck awaitOpeningCheck(const QString &databasePath,
                               const std::function<void()> &whileWaiting = {});
// A notice about the backup (one could not be made) not yet shown; each is given out once.
QString takeOpeningNotice(const QString &databasePath);
// Waits for the check's verdict: an error for a damaged file or one held by another program;
// otherwise none, and *notice holds a notice not yet shown, if any.
DbError awaitUsable(const QString &databasePath, QString *notice,
                    const std::function<void()> &whileWaiting = {});

// Tells the user-interface thread that the check of a file has a verdict, or that a notice is
// waiting.
class OpeningChecks final : public QObject
{
    Q_OBJECT

public:
    static OpeningChecks *instance();

Q_SIGNALS:
    void settled(const QString &databasePath);
    void noticeWaiting(const QString &databasePath);

private:
    OpeningChecks() = default;
};

// Waits until every check and backup started in this run has finished.
void waitForOpeningChecks();
// Forgets the check of one file (a backup was put back over it): its next opening checks it.
void forgetOpeningCheck(const QString &databasePath);
// Waits, then forgets which files this run has checked (tests: the program starting again).
void forgetOpeningChecks();
// Asks the running checks and backups to stop and waits for them (the program's end). A backup
// stopped half-way leaves a file that the next backup removes.
void stopOpeningChecks();

} // namespace vantora
