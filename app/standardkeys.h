// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace vantora {

class Screen;

// The keys every window of the program answers as desktop programs do: F1 opens the user manual,
// Ctrl+Q quits, and Ctrl+P prints where the screen has a report. A key the window already has
// an entry for (a menu entry with the same shortcut) is left to that entry.
void installStandardKeys(Screen *screen, QWidget *window);

// The user manual's front page: share/vantora/manual/index.html (manual/ beside the program in
// the build tree); empty when it is not installed.
QString manualPage();
// Shows the manual in the program's browser window, or says that it is not installed.
void openManual();

} // namespace vantora
