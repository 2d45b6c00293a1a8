// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMainWindow;

namespace vantora {

// Prices brought up to date once the program has started, when the preferences ask for it
// ("Update prices when the program starts"). The update waits for the first opening's check of
// the database, then fetches the history of the stocks owned and the indices as Update Prices
// does, on a thread of its own: no window waits for it and nothing is asked of the user. One
// line at the foot of the main window says that it runs and then how it went (a failure once,
// in a few words, whatever the number of symbols), and fades after a while. The update stops
// when the window goes or the program ends.
//
// Returns false when nothing was started: the preference is off, or there is no database file.
bool updatePricesAtStart(QMainWindow *window);
// The same whatever the preference says.
bool updatePricesInBackground(QMainWindow *window);

// The line's name on the window (tests, accessibility).
inline constexpr auto kPricesAtStartLine = "lblPricesAtStart";

} // namespace vantora
