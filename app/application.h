// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace vantora {

// Settings that must be in place before the QApplication exists (web view needs).
void prepareApplication();
// Names the application after the program file; used for the per-user settings.
void nameApplication(QApplication &app);

} // namespace vantora
