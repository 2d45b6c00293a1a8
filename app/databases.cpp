// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/databases.h"

#include "app/desktop.h"
#include "app/registry.h"
#include "common/config.h"
#include "common/dialogs.h"
#include "data/store/openingcheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSettings>

namespace vantora {
namespace {

QSettings userSettings()
{
    const QString app = QCoreApplication::applicationName();
    return QSettings(QSettings::UserScope, app, app);
}

const auto kRecentKey = "databases/recent";
const auto kLastKey = "databases/last";

struct DatabaseTexts
{
    Q_DECLARE_TR_FUNCTIONS(Databases)
};

QString filter()
{
    return DatabaseTexts::tr("Market databases (*.db);;All files (*)");
}

} // namespace

QStringList recentDatabases()
{
    return userSettings().value(QLatin1String(kRecentKey)).toStringList();
}

void rememberDatabase(const QString &path)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    QStringList recent = recentDatabases();
    recent.removeAll(file);
    recent.prepend(file);
    while (recent.size() > kRecentDatabases)
        recent.removeLast();
    QSettings settings = userSettings();
    // At every start the same file is remembered again: then nothing is written.
    if (settings.value(QLatin1String(kRecentKey)).toStringList() == recent &&
        settings.value(QLatin1String(kLastKey)).toString() == file)
        return;
    settings.setValue(QLatin1String(kRecentKey), recent);
    settings.setValue(QLatin1String(kLastKey), file);
}

QString lastDatabase()
{
    return userSettings().value(QLatin1String(kLastKey)).toString();
}

QString mainWindowTitle(const QString &databasePath)
{
    const QString app = QString::fromLatin1(kAppTitle);
    return databasePath.isEmpty()
               ? app
               : app + QStringLiteral(" — ") + QFileInfo(databasePath).fileName();
}

bool switchDatabase(const QString &path)
{
    const QStringList stay{QStringLiteral("Form11"), QStringLiteral("frmTip"),
                           QStringLiteral("frmBrowser")};
    // Between the unloads the main window may be the only one left open, or none.
    const bool quitOnLast = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(false);
    bool unloaded = true;
    for (Screen *screen : ScreenRegistry::loaded())
        if (!stay.contains(screen->name()) && !screen->unload()) {
            unloaded = false;
            break;
        }
    QGuiApplication::setQuitOnLastWindowClosed(quitOnLast);
    if (!unloaded)
        return false;
    const QString file = QFileInfo(path).absoluteFilePath();
    config::setDatabasePath(file);
    rememberDatabase(file);
    startOpeningCheck(file);
    if (Screen *main = ScreenRegistry::existing(QStringLiteral("Form11")); main && main->isLoaded())
        main->window()->setWindowTitle(mainWindowTitle(file));
    return true;
}

void newDatabase()
{
    QString path = fileBox(DatabaseTexts::tr("New Database"), filter(), true);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".db");
    const QString text =
        DatabaseTexts::tr("Create the market database\n%1\n\nThe sample database holds stocks, "
                          "analysts and index figures to try every screen on; the empty one is "
                          "ready for your own.")
            .arg(QDir::toNativeSeparators(path));
    const FirstRun made = createChosenDatabase(path, text, DatabaseTexts::tr("New Database"));
    if (made == FirstRun::CreatedSample || made == FirstRun::CreatedEmpty)
        switchDatabase(path);
}

void openDatabase()
{
    const QString path = fileBox(DatabaseTexts::tr("Open Database"), filter(), false);
    if (!path.isEmpty())
        switchDatabase(path);
}

} // namespace vantora
