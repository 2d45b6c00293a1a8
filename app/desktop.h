// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program as an installed desktop application.
namespace vantora {

// Gives every window the program's icon and tells the desktop which entry started it.
void applyDesktopIdentity();

} // namespace vantora
