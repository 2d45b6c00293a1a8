// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/registry.h"

#include "app/screens.h"

#include <map>
#include <memory>

namespace vantora {
namespace {

std::map<QString, std::unique_ptr<Screen>> &instances()
{
    static std::map<QString, std::unique_ptr<Screen>> map;
    return map;
}

const ScreenEntry *entryFor(const QString &name)
{
    for (const ScreenEntry &entry : screenTable())
        if (name == QLatin1String(entry.name))
            return &entry;
    return nullptr;
}

} // namespace

bool ScreenRegistry::has(const QString &name)
{
    return entryFor(name) != nullptr;
}

Screen *ScreenRegistry::get(const QString &name)
{
    std::unique_ptr<Screen> &instance = instances()[name];
    if (!instance) {
        const ScreenEntry *entry = entryFor(name);
        if (!entry) {
            instances().erase(name);
            return nullptr;
        }
        instance = entry->create();
        instance->setObjectName(QString::fromLatin1(entry->name));
    }
    return instance.get();
}

Screen *ScreenRegistry::existing(const QString &name)
{
    const auto it = instances().find(name);
    return it == instances().end() ? nullptr : it->second.get();
}

QStringList ScreenRegistry::names()
{
    QStringList list;
    for (const ScreenEntry &entry : screenTable())
        list << QString::fromLatin1(entry.name);
    return list;
}

QList<Screen *> ScreenRegistry::loaded()
{
    QList<Screen *> list;
    for (const auto &[name, instance] : instances())
        if (instance && instance->isLoaded())
            list << instance.get();
    return list;
}

void ScreenRegistry::clear()
{
    for (auto &[name, instance] : instances())
        instance.reset();
    instances().clear();
}

} // namespace vantora
