// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRect>
#include <QStringList>
#include <functional>

class QWidget;

// Measures of what a user sees and hears: the contrast of rendered text, the names a screen
// reader gives the controls, where windows stand.
namespace vantora::test {

// The contrast ratio of two colours by their relative luminance (1 to 21).
double contrastRatio(QRgb a, QRgb b);
// Text against its background in a rendered area: the most frequent colour (the background)
// against the pixel farthest from it in luminance (the core of a letter).
double textContrast(const QImage &image);
// The lowest text contrast of a dialog's labels and boxes, as the dialog renders them.
double dialogContrast(QWidget *dialog);

// The interactive objects under a window (text boxes, combo and list boxes, buttons, check
// boxes) as a screen reader finds them, and those of them without a name.
struct AccessibleNames
{
    int interactive = 0;
    QStringList unnamed; // each as "role objectName"
};
AccessibleNames accessibleNames(QWidget *window);

// Runs `open`, which shows a modal dialog, hands the dialog to `inspect` once it is on screen
// and then closes it. False when no dialog came.
bool whileModal(const std::function<void()> &open, const std::function<void(QWidget *)> &inspect);

// Whether a window's frame (title bar included) is wholly inside its screen's available area.
bool whollyOnScreen(const QWidget *window);

} // namespace vantora::test
