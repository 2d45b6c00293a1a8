// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/navigation.h"

#include "app/registry.h"

#include <QApplication>
#include <algorithm>

namespace vantora {
namespace {

std::function<void()> &quitHandler()
{
    static std::function<void()> handler;
    return handler;
}

} // namespace

bool navigate(Screen *from, const QString &target)
{
    Screen *next = ScreenRegistry::get(target);
    if (!next)
        return false;
    // Between the unload and the show no window is open; that must not end the program.
    const bool quitOnLast = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(false);
    bool moved = true;
    if (from && from != next)
        moved = from->unload();
    if (moved)
        next->show();
    QGuiApplication::setQuitOnLastWindowClosed(quitOnLast);
    return moved;
}

bool goHome(Screen *from)
{
    return navigate(from, QStringLiteral("Form11"));
}

bool quitProgram()
{
    // The normal save path first: each screen unloads as its close box would unload it, the
    // main window last; a screen that keeps an unsaved edit on screen stops the quit.
    const bool quitOnLast = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QList<Screen *> screens = ScreenRegistry::loaded();
    std::stable_partition(screens.begin(), screens.end(), [](const Screen *screen) {
        return screen->name() != QLatin1String("Form11");
    });
    bool unloaded = true;
    for (Screen *screen : screens)
        if (!screen->unload()) {
            unloaded = false;
            break;
        }
    QGuiApplication::setQuitOnLastWindowClosed(quitOnLast);
    if (!unloaded) {
        // Back to a usable program: the main window stays if nothing else is open.
        if (ScreenRegistry::loaded().isEmpty())
            goHome(nullptr);
        return false;
    }
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    if (quitHandler())
        quitHandler()();
    else
        QCoreApplication::exit(0);
    return true;
}

void setQuitHandler(std::function<void()> handler)
{
    quitHandler() = std::move(handler);
}

} // namespace vantora
