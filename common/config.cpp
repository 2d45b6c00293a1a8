// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/config.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vantora::config {
namespace {

// What the command line chose; empty for the defaults.
struct Overrides
{
    QUrl site;
    QString database;
};

Overrides &overrides()
{
    static Overrides chosen;
    return chosen;
}

} // namespace

QString programDir()
{
    return QCoreApplication::applicationDirPath();
}

QString dataFolder(const QString &entry, const QString &programFolder)
{
    const QString folders[] = {
        programFolder,
        QDir::cleanPath(programFolder + QStringLiteral("/" VANTORA_DATA_FROM_BIN)),
        QStringLiteral(VANTORA_INSTALLED_DATA),
    };
    for (const QString &folder : folders)
        if (QFileInfo::exists(folder + QLatin1Char('/') + entry))
            return folder;
    return programFolder;
}

QUrl siteRoot()
{
    QUrl root = overrides().site;
    if (root.isEmpty())
        root = QUrl::fromLocalFile(dataFolder(QStringLiteral("site")) + QStringLiteral("/site/"));
    if (!root.path().endsWith(QLatin1Char('/')))
        root.setPath(root.path() + QLatin1Char('/'));
    return root;
}

void setSiteRoot(const QUrl &root)
{
    overrides().site = root;
}

QUrl bannerUrl()
{
    return siteRoot().resolved(QUrl(QStringLiteral("ban2.htm")));
}

QString databasePath()
{
    if (!overrides().database.isEmpty())
        return overrides().database;
    // Without a home folder the data folder would be made up from "/" ("//.local/..."), a path
    // that nothing can open.
    if (qEnvironmentVariableIsEmpty("HOME") && qEnvironmentVariableIsEmpty("XDG_DATA_HOME"))
        return {};
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/cm1.db");
}

QString databasePathProblem()
{
    return QCoreApplication::translate(
        "Config", "The program cannot tell where your market database is: the environment "
                  "variable HOME is not set, so there is no home folder to keep it in.\n\nStart "
                  "the program with HOME set to your home folder, or name the file with the "
                  "option --database PATH.");
}

void setDatabasePath(const QString &path)
{
    overrides().database = path;
}

} // namespace vantora::config
