#include "common/config.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace vantora::config {
namespace {

QUrl &siteOverride()
{
    static QUrl url;
    return url;
}

QString &databaseOverride()
{
    static QString path;
    return path;
}

} // namespace

QString programDir()
{
    return QCoreApplication::applicationDirPath();
}

QUrl siteRoot()
{
    QUrl root = siteOverride();
    if (root.isEmpty())
        root = QUrl::fromLocalFile(programDir() + QStringLiteral("/site/"));
    if (!root.path().endsWith(QLatin1Char('/')))
        root.setPath(root.path() + QLatin1Char('/'));
    return root;
}

void setSiteRoot(const QUrl &root)
{
    siteOverride() = root;
}

QUrl bannerUrl()
{
    return siteRoot().resolved(QUrl(QStringLiteral("ban2.htm")));
}

QString databasePath()
{
    if (!databaseOverride().isEmpty())
        return databaseOverride();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/cm1.db");
}

void setDatabasePath(const QString &path)
{
    databaseOverride() = path;
}

} // namespace vantora::config
