// SPDX-License-Identifier: GPL-3.0-or-later
// Navigation: round trips main window -> retirement planner -> Home, with the time per round
// trip and the resident memory after 50 and after 500 trips (it must stay flat: an unloaded
// screen frees its controls and its web view).
//
//   bench_navigation [TRIPS]

#include "app/application.h"
#include "app/navigation.h"
#include "app/registry.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QThread>
#include <cstdio>
#include <unistd.h>

namespace {

double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / 1048576.0 : 0;
}

int settleMs()
{
    bool set = false;
    const int ms = qEnvironmentVariableIntValue("SETTLE_MS", &set);
    return set ? ms : 20;
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    // A user's event loop runs between clicks; the web engine frees a closed page from there.
    // SETTLE_MS=0 measures back-to-back clicks instead.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < settleMs())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    vantora::prepareApplication();
    QApplication app(argc, argv);
    vantora::nameApplication(app);
    vantora::applyStyleSheet(app);
    vantora::setQuitHandler([] {});
    const int trips = argc > 1 ? std::max(50, atoi(argv[1])) : 500;

    using vantora::ScreenRegistry;
    vantora::navigate(nullptr, QStringLiteral("Form11"));
    if (vantora::Screen *tip = ScreenRegistry::existing(QStringLiteral("frmTip")))
        tip->unload();
    settle();

    double at50 = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 1; i <= trips; ++i) {
        auto *main = ScreenRegistry::get(QStringLiteral("Form11"));
        main->window()->findChild<QAction *>(QStringLiteral("memretire"))->trigger();
        settle();
        auto *planner = ScreenRegistry::get(QStringLiteral("form1"));
        planner->window()->findChild<QPushButton *>(QStringLiteral("Command2"))->click();
        if (vantora::Screen *tip = ScreenRegistry::existing(QStringLiteral("frmTip")))
            tip->unload();
        settle();
        if (i == 50)
            at50 = residentMiB();
        if (i % 100 == 0)
            std::printf("  resident after %4d:   %.1f MiB\n", i, residentMiB());
    }
    const double perTrip = double(timer.nsecsElapsed()) / 1e6 / trips - 2 * settleMs();
    // Let the web engine finish tearing down the last views before the final reading.
    for (int i = 0; i < 20; ++i) {
        settle();
        QThread::msleep(10);
    }
    const double atEnd = residentMiB();
    std::printf("navigation round trips main window -> retirement planner -> Home\n");
    std::printf("  widgets alive at end:  %lld\n", (long long)QApplication::allWidgets().size());
    std::printf("  trips:                 %d\n", trips);
    std::printf(
        "  time per round trip:   %.2f ms (event loop idle time of %d ms a screen not counted)\n",
        perTrip, settleMs());
    std::printf("  resident after 50:     %.1f MiB\n", at50);
    std::printf("  resident after %d:    %.1f MiB (%+.1f MiB)\n", trips, atEnd, atEnd - at50);
    ScreenRegistry::clear();
    settle();
    return 0;
}
