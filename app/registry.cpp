#include "app/registry.h"

#include <map>

namespace vantora {
namespace {

struct Entry {
    ScreenRegistry::Factory factory;
    std::unique_ptr<Screen> instance;
};

std::map<QString, Entry> &entries()
{
    static std::map<QString, Entry> map;
    return map;
}

} // namespace

bool ScreenRegistry::add(const QString &name, Factory factory)
{
    entries()[name].factory = std::move(factory);
    return true;
}

bool ScreenRegistry::has(const QString &name)
{
    return entries().count(name) != 0;
}

Screen *ScreenRegistry::get(const QString &name)
{
    auto it = entries().find(name);
    if (it == entries().end())
        return nullptr;
    if (!it->second.instance)
        it->second.instance = it->second.factory();
    return it->second.instance.get();
}

Screen *ScreenRegistry::existing(const QString &name)
{
    auto it = entries().find(name);
    return it == entries().end() ? nullptr : it->second.instance.get();
}

QStringList ScreenRegistry::names()
{
    QStringList list;
    for (const auto &[name, entry] : entries())
        list << name;
    return list;
}

QList<Screen *> ScreenRegistry::loaded()
{
    QList<Screen *> list;
    for (const auto &[name, entry] : entries())
        if (entry.instance && entry.instance->isLoaded())
            list << entry.instance.get();
    return list;
}

void ScreenRegistry::clear()
{
    for (auto &[name, entry] : entries())
        entry.instance.reset();
}

} // namespace vantora
