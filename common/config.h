// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

// Run-time locations chosen on the command line, with their defaults.
namespace vantora::config {

// Folder that holds the program file (the tips file and the offline site lie there).
QString programDir();

// Root of the maker's web site, ending in '/'. Default: the offline site beside the program.
QUrl siteRoot();
void setSiteRoot(const QUrl &root);
QUrl bannerUrl(); // "ban2.htm" at the site root

// The market database file. Default: cm1.db in the user's application data folder; empty when
// there is none (HOME not set), and databasePathProblem() says so.
QString databasePath();
QString databasePathProblem();
void setDatabasePath(const QString &path);

} // namespace vantora::config
