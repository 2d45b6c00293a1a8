// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QApplication;

namespace vantora {

// When the session ends (SIGTERM at a logout or shutdown, SIGHUP from a closing terminal,
// SIGINT, and the session manager's request to save), every open record screen saves what was
// typed as leaving the record would. An edit that needs the user (a write conflict, a database
// that cannot be written) is kept in a private file beside the database, offered at the next
// start. A signal then ends the program.
void watchSessionEnd(QApplication &app);
// Saves the open record screens without asking anything; returns how many edits had to be kept
// in the recovery file. Leaving, those edits are taken off the screens (the file has them).
int saveForSessionEnd(bool leaving);
// Offers the edits a past run kept ("Restore the changes you had not saved?"), one by one; an
// accepted edit comes back on its screen, unsaved. The file goes once they have been offered.
void offerKeptEdits();
// The recovery file of a database file.
QString keptEditsPath(const QString &databasePath);

} // namespace vantora
