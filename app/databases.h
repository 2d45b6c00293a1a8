// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace vantora {

// Market databases opened like documents: the recent list (newest first, at most eight) and the
// one opened last, kept in the user's settings.
inline constexpr int kRecentDatabases = 8;
QStringList recentDatabases();
void rememberDatabase(const QString &path);
// The database opened last, for the next start; empty when there is none.
QString lastDatabase();

// Opens another database: every screen but the main window, the tip and the browser window
// unloads through its save path (a record screen saves its edit), then the program uses the
// file, starts its first-opening check and backup, remembers it and names it in the main
// window's title. False, with nothing switched, when a screen kept an edit it could not save.
bool switchDatabase(const QString &path);

// The main window's title: "Vantora Market Pro — stocks.db".
QString mainWindowTitle(const QString &databasePath);

// The File menu's three entries, with their dialogs.
void newDatabase();
void openDatabase();

} // namespace vantora
