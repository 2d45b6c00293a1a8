// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

namespace vantora {

class Screen;

// The navigation step: unload the current screen, load the target, show it modeless.
// A target that this build does not have does nothing, and the current screen stays.
// Returns false when nothing happened.
bool navigate(Screen *from, const QString &target);
// The Home button: the navigation step back to the main window.
bool goHome(Screen *from);

// Ends the program: every screen unloads (so that a record screen saves), then every window
// closes. False, with the program going on, when a screen kept an edit it could not save.
bool quitProgram();
// Replaces what quitProgram does after closing the windows (tests).
void setQuitHandler(std::function<void()> handler);

} // namespace vantora
