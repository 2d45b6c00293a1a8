// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vantora {

// Waits for the first opening's check of the program's database (the window keeps painting)
// and shows what it found under the title; false when the file may not be used.
bool databaseReady(const QString &title);

} // namespace vantora
