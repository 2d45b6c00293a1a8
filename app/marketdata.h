// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace vantora {

// The File menu's prices. Each waits for the first opening's check, shows a progress dialog
// that can cancel (a cancelled import writes nothing) and says at the end what was written.
void importPrices(QWidget *parent); // asks for files of daily history and imports them
void updatePrices(QWidget *parent); // the history of the stocks owned and the indices

} // namespace vantora
