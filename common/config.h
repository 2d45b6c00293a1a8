// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

// Run-time locations chosen on the command line, with their defaults.
namespace vantora::config {

// Folder that holds the program file.
QString programDir();

// The folder that holds the program's data file or folder `entry` (the tips file, the offline
// site). Looked for in this order: beside the program (the build tree), in the installed data
// folder found from the program's folder (<bin>/../share/vantora, so that an installed copy can
// be moved), in the data folder the build was configured to install to. The program's folder
// when none holds it.
QString dataFolder(const QString &entry, const QString &programFolder = programDir());

// Root of the maker's web site, ending in '/'. Default: the offline site (see dataFolder).
QUrl siteRoot();
void setSiteRoot(const QUrl &root);
QUrl bannerUrl(); // "ban2.htm" at the site root

// The market database file. Default: cm1.db in the user's application data folder; empty when
// there is none (HOME not set), and databasePathProblem() says so.
QString databasePath();
QString databasePathProblem();
void setDatabasePath(const QString &path);

} // namespace vantora::config
