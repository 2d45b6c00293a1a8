// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/navigation.h"

#include "app/registry.h"

#include <QApplication>

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

void quitProgram()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    if (quitHandler())
        quitHandler()();
    else
        QCoreApplication::exit(0);
}

void setQuitHandler(std::function<void()> handler)
{
    quitHandler() = std::move(handler);
}

} // namespace vantora
