// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/standardkeys.h"

#include "app/navigation.h"
#include "app/registry.h"
#include "app/screen.h"
#include "common/config.h"
#include "common/dialogs.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>

namespace vantora {
namespace {

bool hasShortcut(const QWidget *window, const QKeySequence &keys)
{
    for (const QAction *action : window->findChildren<QAction *>())
        if (action->shortcuts().contains(keys))
            return true;
    return false;
}

void addKey(QWidget *window, const char *name, const QKeySequence &keys,
            const std::function<void()> &run)
{
    if (hasShortcut(window, keys))
        return;
    auto *action = new QAction(window);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, window, run);
    window->addAction(action);
}

} // namespace

void installStandardKeys(Screen *screen, QWidget *window)
{
    addKey(window, "helpKey", QKeySequence::HelpContents, [] { openManual(); });
    addKey(window, "quitKey", QKeySequence(Qt::CTRL | Qt::Key_Q), [] { quitProgram(); });
    if (screen->hasReport())
        addKey(window, "printKey", QKeySequence::Print, [screen] { screen->printReport(); });
}

QString manualPage()
{
    const QString page = QDir(config::dataFolder(QStringLiteral("manual")))
                             .filePath(QStringLiteral("manual/index.html"));
    return QFileInfo::exists(page) ? page : QString();
}

void openManual()
{
    const QString page = manualPage();
    if (page.isEmpty()) {
        msgBox(QCoreApplication::translate("Manual",
                                           "The user manual is not installed: the file "
                                           "manual/index.html is missing from the program's "
                                           "data folder."));
        return;
    }
    Screen *browser = ScreenRegistry::get(QStringLiteral("frmBrowser"));
    if (!browser)
        return;
    // A browser already open goes to the manual as if opened on it.
    if (browser->isLoaded() && !browser->unload())
        return;
    browser->setProperty("StartingAddress", QUrl::fromLocalFile(page).toString());
    browser->load();
}

} // namespace vantora
