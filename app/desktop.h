// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The program as an installed desktop application: its icon and its first start.
namespace vantora {

// Gives every window the program's icon and tells the desktop which entry started it.
void applyDesktopIdentity();

// What start-up did about a missing database file.
enum class FirstRun { NothingOffered, CreatedSample, CreatedEmpty, Declined, CreationFailed };
// When the database file at its default place is missing, says so and offers to create it,
// with the sample market or empty, as `vantora-db create` does. Nothing is offered for a file
// the user named (a missing one is reported when a screen opens it) nor in a run that nobody
// watches (a screenshot).
FirstRun offerDatabase(const QString &path, bool namedByUser, bool unattended);

// Asks with `text` whether to create the database at `path` with the sample market or empty,
// and creates it; a failure is shown under `title`, followed by `afterFailure`.
FirstRun createChosenDatabase(const QString &path, const QString &text, const QString &title,
                              const QString &afterFailure = {});

} // namespace vantora
