// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/placement.h"

#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace vantora {
namespace {

constexpr int kGap = 12;

// The left (or top) of a span of this length inside [low, low + room), as near `wanted` as fits;
// `low` where it cannot fit at all.
int within(int wanted, int length, int low, int room)
{
    return std::max(low, std::min(wanted, low + room - length));
}

QRect inside(const QRect &area, QPoint topLeft, const QSize &size)
{
    return {QPoint(within(topLeft.x(), size.width(), area.left(), area.width()),
                   within(topLeft.y(), size.height(), area.top(), area.height())),
            size};
}

// The frame's size; until the window manager has framed the window, the client's size with the
// frame that the other window has, if it has one.
QSize frameSize(const QWidget *window, const QMargins &guess)
{
    const QMargins margins =
        window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
    const QMargins used = margins.isNull() ? guess : margins;
    return window->size().grownBy(used);
}

QMargins knownMargins(const QWidget *a, const QWidget *b)
{
    for (const QWidget *w : {a, b})
        if (w && w->windowHandle() && !w->windowHandle()->frameMargins().isNull())
            return w->windowHandle()->frameMargins();
    return {};
}

bool framed(const QWidget *window)
{
    return !window || (window->windowHandle() && !window->windowHandle()->frameMargins().isNull());
}

void apply(QWidget *main, QWidget *tip, StartMove move)
{
    const QScreen *screen = main->screen();
    if (!screen)
        return;
    const QMargins guess = knownMargins(main, tip);
    // A window's position is that of its frame.
    if (move == StartMove::Tip) {
        if (tip)
            tip->move(placeBeside(screen->availableGeometry(),
                                  QRect(main->pos(), frameSize(main, guess)), frameSize(tip, guess))
                          .topLeft());
        return;
    }
    const Placement placed = placeWindows(screen->availableGeometry(), frameSize(main, guess),
                                          tip ? frameSize(tip, guess) : QSize());
    main->move(placed.main.topLeft());
    if (tip && move == StartMove::Both)
        tip->move(placed.tip.topLeft());
}

} // namespace

Placement placeWindows(const QRect &area, const QSize &mainFrame, const QSize &tipFrame)
{
    const QPoint centred(area.left() + (area.width() - mainFrame.width()) / 2,
                         area.top() + (area.height() - mainFrame.height()) / 2);
    if (tipFrame.isEmpty())
        return {inside(area, centred, mainFrame), {}};

    const int pairWidth = mainFrame.width() + kGap + tipFrame.width();
    Placement placed;
    if (pairWidth <= area.width()) {
        // Moved left from the centre just as far as the tip window needs.
        placed.main = inside(area, centred, mainFrame);
        placed.main.moveLeft(within(centred.x(), pairWidth, area.left(), area.width()));
        placed.tip =
            inside(area, QPoint(placed.main.right() + 1 + kGap, placed.main.top()), tipFrame);
    } else {
        placed.main = inside(area, centred, mainFrame);
        placed.tip =
            inside(area, QPoint(area.right() + 1 - tipFrame.width(), placed.main.top()), tipFrame);
    }
    return placed;
}

QRect placeBeside(const QRect &area, const QRect &mainFrame, const QSize &tipFrame)
{
    const int right = mainFrame.right() + 1 + kGap,
              left = mainFrame.left() - kGap - tipFrame.width();
    const int x = right + tipFrame.width() <= area.right() + 1 ? right
                  : left >= area.left()                        ? left
                                        : area.right() + 1 - tipFrame.width();
    return inside(area, QPoint(x, mainFrame.top()), tipFrame);
}

void placeStartWindows(QWidget *main, QWidget *tip, StartMove move)
{
    if (!main)
        return;
    apply(main, tip, move);
    if (framed(main) && framed(tip))
        return;
    // The window manager frames the windows a moment after they are shown; then the frames'
    // sizes are known, and the windows go where those frames fit.
    auto *timer = new QTimer(main);
    timer->setInterval(25);
    QPointer<QWidget> tipWindow = tip;
    int ticks = 0;
    QObject::connect(timer, &QTimer::timeout, main,
                     [main, tipWindow, move, timer, ticks]() mutable {
                         const bool done = framed(main) && framed(tipWindow);
                         if (done || ++ticks > 80) {
                             if (done)
                                 apply(main, tipWindow, move);
                             timer->deleteLater();
                         }
                     });
    timer->start();
}

} // namespace vantora
