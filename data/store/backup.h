// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

// Backups of the market database: made with SQLite's online backup into a "backups" folder
// beside the file, each copy checked with SQLite's full integrity check before it counts, the
// ten made last kept; and putting one back.
namespace vantora {

inline constexpr int kBackupsKept = 10;

// The "backups" folder beside the database file.
QString backupFolder(const QString &databasePath);
// The backups of the database file, the one made last first. The order in which they were made
// is kept in <name>.index in the folder; backups made before there was an index come after
// those, newest name first.
QStringList backupsOf(const QString &databasePath);
// The backup made last that passes SQLite's full integrity check and has the whole schema (what
// restore accepts); empty if none does. A backup checked before and unchanged since is not
// checked again.
QString newestGoodBackup(const QString &databasePath);

// Copies the database, as one consistent snapshot, to a private file
// backups/<name>-<yyyy-MM-dd>T<hhmmss>Z.db (UTC; "-2", "-3"... when a name is taken), once the
// copy has passed the full integrity check; then removes all but the ten made last (never the
// one just made). Files left by an interrupted backup are removed first. On failure nothing is
// left behind and *error says why; *damaged tells that the copy failed the integrity check, so
// that the database itself holds damage.
bool backupDatabase(const QString &databasePath, QString *backupPath = nullptr,
                    QString *error = nullptr, bool *damaged = nullptr);

// Puts a backup back over the database file, after checking the backup. An existing file is
// overwritten through SQLite in one transaction, which SQLite refuses while another program is
// writing to it; a file too damaged for that is moved aside (<name>.damaged-<time>) and replaced.
bool restoreDatabase(const QString &backupPath, const QString &databasePath,
                     QString *message = nullptr);

// What the program tells of a file that is empty: the newest good backup and how to put it
// back.
QString emptyFileMessage(const QString &databasePath);

// The check the program makes the first time in a run that it opens a database file, on a
// thread of its own so that the window never waits for it: SQLite's quick check and the schema
// check; then a backup, verified on the copy. Until the check has passed nothing may be written
// to the file; a damaged file (or one whose copy fails the full check) is left alone for the rest
// of the run, with a message that names the newest good backup and how to restore it. A file
// that could not be checked (missing, no database, no permission) is checked again at its next
// opening; one in use by another program too, and a write meanwhile is refused.
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
// Waits for the check's verdict: false for a damaged file or one held by another program, with
// *message saying so; true otherwise, with *message holding a notice not yet shown, if any.
bool awaitUsable(const QString &databasePath, QString *message,
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
// Waits, then forgets which files this run has checked (tests: the program starting again).
void forgetOpeningChecks();
// Asks the running checks and backups to stop and waits for them (the program's end). A backup
// stopped half-way leaves a file that the next backup removes.
void stopOpeningChecks();

} // namespace vantora
