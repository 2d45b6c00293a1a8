// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/measure.h"

#include "common/dialogs.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace vantora::test {
namespace {

double channel(int value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(QRgb colour)
{
    return 0.2126 * channel(qRed(colour)) + 0.7152 * channel(qGreen(colour)) +
           0.0722 * channel(qBlue(colour));
}

void walk(QAccessibleInterface *object, AccessibleNames &names)
{
    if (!object || object->state().invisible)
        return;
    static const QAccessible::Role kInteractive[] = {
        QAccessible::EditableText, QAccessible::ComboBox,  QAccessible::List,
        QAccessible::PushButton,   QAccessible::CheckBox,  QAccessible::RadioButton,
        QAccessible::SpinBox,      QAccessible::ButtonMenu};
    if (std::find(std::begin(kInteractive), std::end(kInteractive), object->role()) !=
        std::end(kInteractive)) {
        ++names.interactive;
        if (object->text(QAccessible::Name).trimmed().isEmpty())
            names.unnamed << QStringLiteral("%1 %2").arg(
                QString::number(int(object->role())),
                object->object() ? object->object()->objectName() : QString());
    }
    for (int i = 0; i < object->childCount(); ++i)
        walk(object->child(i), names);
}

} // namespace

double contrastRatio(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double textContrast(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> counts;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            ++counts[rgb.pixel(x, y)];
    if (counts.isEmpty())
        return 0;
    QRgb background = counts.constBegin().key();
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        if (it.value() > counts.value(background))
            background = it.key();
    double best = 1;
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        best = std::max(best, contrastRatio(background, it.key()));
    return best;
}

double dialogContrast(QWidget *dialog)
{
    const QImage shot = dialog->grab().toImage();
    const qreal scale = shot.devicePixelRatio();
    double lowest = 21;
    const auto measure = [&](const QWidget *part, int inset) {
        if (!part->isVisible() || part->rect().isEmpty())
            return;
        const QRect area(part->mapTo(dialog, QPoint()), part->size());
        const QRect pixels(area.topLeft() * scale, area.size() * scale);
        lowest = std::min(lowest,
                          textContrast(shot.copy(pixels.adjusted(inset, inset, -inset, -inset))));
    };
    for (const QLabel *label : dialog->findChildren<QLabel *>())
        if (!label->text().isEmpty())
            measure(label, 0);
    // Inside the frame: the typed text on the box's own background.
    for (const QLineEdit *box : dialog->findChildren<QLineEdit *>())
        measure(box, 4);
    return lowest;
}

AccessibleNames accessibleNames(QWidget *window)
{
    AccessibleNames names;
    walk(QAccessible::queryAccessibleInterface(window), names);
    return names;
}

bool whileModal(const std::function<void()> &open, const std::function<void(QWidget *)> &inspect)
{
    // The real dialogs, not the answers the tests give instead.
    const DialogHandler scripted = dialogHandler();
    setDialogHandler(nullptr);
    bool seen = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || seen)
            return;
        seen = true;
        poll.stop();
        inspect(dialog);
        dialog->reject();
    });
    poll.start();
    QTimer::singleShot(5000, &poll, [&poll] { poll.stop(); });
    open();
    setDialogHandler(scripted);
    return seen;
}

bool whollyOnScreen(const QWidget *window)
{
    const QScreen *screen = window->screen();
    return screen && screen->availableGeometry().contains(window->frameGeometry());
}

} // namespace vantora::test
