// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <span>

namespace vantora {

class Screen;

// One screen of the program: its class (the instance's name), its window caption and what it
// is for.
struct ScreenEntry
{
    const char *name;
    const char *caption;
    const char *purpose;
    std::unique_ptr<Screen> (*create)();
};

// Every screen of the program; the registry creates them from here.
std::span<const ScreenEntry> screenTable();

} // namespace vantora
