// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace vantora {

// What a screen reader hears where Qt's own interfaces fall short: a screen's window is a
// window (not a filler), an editable combo box is named by its caption rather than by the text
// in it, and a result label (a QLabel with the property class="result") is named by its caption
// (the label whose buddy it is, or its accessibleName) and gives its text as its value. Installed
// once; every screen's load calls it.
void installAccessibility();

// Item views (list boxes) are named by their caption too: Qt names them only by accessibleName,
// so a view without one takes the text of the label whose buddy it is.
void nameViewsByCaptions(QWidget *window);

} // namespace vantora
