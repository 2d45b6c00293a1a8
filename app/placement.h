// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace vantora {

// Where the main window and the tip window stand, as the rectangles of their frames (title bar
// included).
struct Placement
{
    QRect main;
    QRect tip; // empty without a tip window
};

// On a screen's available area: the main window centred, or as near the centre as leaves room
// for the tip window beside it (to its right, else to its left). Where the area is too small for
// both side by side, the tip window overlaps the main window at the area's right edge. Both stay
// wholly inside the area, their tops (the title bars) first where a window is taller than it.
Placement placeWindows(const QRect &area, const QSize &mainFrame, const QSize &tipFrame = {});

// The tip window beside a main window that stays where it is: to its right, else to its left,
// else overlapping it at the area's right edge; its top at the main window's, inside the area.
QRect placeBeside(const QRect &area, const QRect &mainFrame, const QSize &tipFrame);

// Which of the start windows go where placeStartWindows() puts them: both; the main window
// only, beside a tip window that stays; the tip window only, beside a main window that stays.
enum class StartMove { Both, Main, Tip };

// Places the main window, and the tip window if given, on the main window's screen; again once
// the window manager has framed them and their frames' true sizes are known.
void placeStartWindows(QWidget *main, QWidget *tip, StartMove move = StartMove::Both);

} // namespace vantora
