// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/screen.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vantora {

// The program-wide screen instances, one per entry of the screen table, created on first use.
class ScreenRegistry
{
public:
    static bool has(const QString &name);
    // The instance named like its class; nullptr for a screen this build does not have.
    static Screen *get(const QString &name);
    // The instance if it was ever created, without creating it.
    static Screen *existing(const QString &name);
    static QStringList names();
    // The loaded screens.
    static QList<Screen *> loaded();
    // Destroys every instance (end of the run, and between tests).
    static void clear();

    template <typename T> static T *get(const QString &name)
    {
        return qobject_cast<T *>(get(name));
    }
};

} // namespace vantora
