// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Prices into the program's database from the main window's menu, with a progress dialog that
// can cancel (a cancelled import writes nothing) and a word at the end on what was written.
namespace vantora {

// Asks for files of daily history and imports them.
void importPrices(QWidget *parent);
// Fetches the history of every stock with shares owned, and of the three indices, from the
// quote source.
void updatePrices(QWidget *parent);

} // namespace vantora
