// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop.h"

#include <QGuiApplication>
#include <QIcon>

namespace vantora {

void applyDesktopIdentity()
{
    // PNG, so that no image plugin is needed; the desktop entry names the same icon.
    QIcon icon;
    for (const int size : {48, 128, 256})
        icon.addFile(QStringLiteral(":/icons/vantora-%1.png").arg(size), QSize(size, size));
    QGuiApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("example.tallowby.vantora"));
}

} // namespace vantora
