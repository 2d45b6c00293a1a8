#pragma once

#include "app/screen.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace vantora {

// The program-wide screen instances, one per screen class, created on first use.
class ScreenRegistry
{
public:
    using Factory = std::function<std::unique_ptr<Screen>()>;

    static bool add(const QString &name, Factory factory);
    static bool has(const QString &name);
    // The instance named like its class; nullptr for a screen this build does not have.
    static Screen *get(const QString &name);
    // The instance if it was ever created, without creating it.
    static Screen *existing(const QString &name);
    static QStringList names();
    // The loaded screens' windows that are visible.
    static QList<Screen *> loaded();
    // Destroys every instance (end of the run, and between tests).
    static void clear();

    template<typename T>
    static T *get(const QString &name)
    {
        return qobject_cast<T *>(get(name));
    }
};

} // namespace vantora

// Registers a screen class under its own name; put it once in the screen's source file.
#define VANTORA_REGISTER_SCREEN(Class)                                                             \
    namespace {                                                                                    \
    const bool registered##Class = ::vantora::ScreenRegistry::add(                                 \
        QStringLiteral(#Class), [] { return std::make_unique<Class>(); });                        \
    }
