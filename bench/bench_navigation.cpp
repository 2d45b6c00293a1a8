// SPDX-License-Identifier: GPL-3.0-or-later
// Navigation: round trips from the main window to a record screen and Home again, through the
// five record screens in turn (each with its banner and its record binding), with the time per
// round trip and the growth of resident memory from the 50th trip to the last. Its floor runs
// in the same run, in a process of its own: a pair of bare windows with one web view each on the
// same banner page, the one made and shown as the other is closed, twice a trip.
//
//   bench_navigation [TRIPS]

#include "app/application.h"
#include "app/navigation.h"
#include "app/registry.h"
#include "common/config.h"
#include "data/store/database.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <cstdio>
#include <functional>
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

// Runs the trips and prints "trip MS grown MIB" for the parent to read.
int measure(int trips, const std::function<void(int)> &trip)
{
    double at50 = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 1; i <= trips; ++i) {
        trip(i);
        if (i == 50)
            at50 = residentMiB();
    }
    const double perTrip = double(timer.nsecsElapsed()) / 1e6 / trips - 2 * settleMs();
    // Let the web engine finish tearing down the last views before the final reading.
    for (int i = 0; i < 20; ++i) {
        settle();
        QThread::msleep(10);
    }
    std::printf("trip %.3f grown %.3f\n", perTrip, residentMiB() - at50);
    std::fflush(stdout);
    return 0;
}

int runFloor(int argc, char *argv[], int trips)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    const QUrl banner = vantora::config::bannerUrl();
    QWidget *shown = nullptr;
    const auto swap = [&] {
        auto *window = new QWidget;
        auto *view = new QWebEngineView(window);
        (new QVBoxLayout(window))->addWidget(view);
        view->setUrl(banner);
        window->resize(560, 400);
        window->show();
        if (shown)
            shown->deleteLater();
        shown = window;
        settle();
    };
    const int code = measure(trips, [&](int) {
        swap();
        swap();
    });
    delete shown;
    settle();
    return code;
}

int runProgram(int argc, char *argv[], int trips)
{
    vantora::prepareApplication();
    QApplication app(argc, argv);
    vantora::nameApplication(app);
    vantora::applyStyleSheet(app);
    vantora::setQuitHandler([] {});
    QTemporaryDir dir;
    const QString database = dir.filePath(QStringLiteral("cm1.db"));
    if (const vantora::DbError failure = vantora::createDatabase(database, true)) {
        std::fprintf(stderr, "bench_navigation: %s\n", qPrintable(failure.message));
        return 1;
    }
    vantora::config::setDatabasePath(database);

    using vantora::ScreenRegistry;
    const auto closeTip = [] {
        if (vantora::Screen *tip = ScreenRegistry::existing(QStringLiteral("frmTip")))
            tip->unload();
    };
    vantora::navigate(nullptr, QStringLiteral("Form11"));
    closeTip();
    settle();
    // The record screens, by their menu entries in the main window.
    const std::pair<const char *, const char *> screens[] = {
        {"meminv", "Form2"},  {"memgro", "Form3"},   {"mempf", "Form12"},
        {"mempop", "Form13"}, {"memsoft", "Form14"},
    };
    const int code = measure(trips, [&](int i) {
        const auto &[entry, name] = screens[size_t(i) % std::size(screens)];
        ScreenRegistry::get(QStringLiteral("Form11"))
            ->window()
            ->findChild<QAction *>(QString::fromLatin1(entry))
            ->trigger();
        settle();
        for (QPushButton *button : ScreenRegistry::get(QString::fromLatin1(name))
                                       ->window()
                                       ->findChildren<QPushButton *>())
            if (button->text() == QLatin1String("&Home")) {
                button->click();
                break;
            }
        closeTip();
        settle();
    });
    ScreenRegistry::clear();
    settle();
    return code;
}

struct Result
{
    double trip = -1, grown = 0;
};

Result runChild(const QString &mode, int trips)
{
    QProcess child;
    child.setStandardErrorFile(QProcess::nullDevice());
    child.start(QCoreApplication::applicationFilePath(), {mode, QString::number(trips)});
    child.waitForFinished(-1);
    const QList<QByteArray> words = child.readAllStandardOutput().trimmed().split(' ');
    Result result;
    if (words.size() == 4 && words[0] == "trip") {
        result.trip = words[1].toDouble();
        result.grown = words[3].toDouble();
    }
    return result;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "--floor" || mode == "--program") {
        const int trips = argc > 2 ? std::max(50, atoi(argv[2])) : 500;
        return mode == "--floor" ? runFloor(argc, argv, trips) : runProgram(argc, argv, trips);
    }
    QCoreApplication app(argc, argv);
    const int trips = argc > 1 ? std::max(50, atoi(argv[1])) : 500;
    // The settings and the web engine's caches of both runs stay in here.
    QTemporaryDir home;
    for (const char *folder : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(folder, QFile::encodeName(home.filePath(QString::fromLatin1(folder))));
    const Result floor = runChild(QStringLiteral("--floor"), trips);
    const Result program = runChild(QStringLiteral("--program"), trips);
    if (floor.trip < 0 || program.trip < 0) {
        std::fprintf(stderr, "bench_navigation: a run failed\n");
        return 1;
    }
    std::printf("%d round trips main window -> record screen -> Home (event loop idle time of %d "
                "ms a screen not counted)\n",
                trips, settleMs());
    std::printf("                                  time a trip   memory grown after trip 50\n");
    std::printf("  bare windows with one web view  %8.2f ms   %+8.1f MiB\n", floor.trip,
                floor.grown);
    std::printf("  vantora                         %8.2f ms   %+8.1f MiB\n", program.trip,
                program.grown);
    std::printf("  vantora against the bare pair   %8.2f x    %+8.1f MiB\n",
                program.trip / floor.trip, program.grown - floor.grown);
    return 0;
}
