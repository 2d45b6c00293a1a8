// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "app/desktop.h"
#include "app/navigation.h"
#include "app/registry.h"
#include "app/sessionend.h"
#include "common/config.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace {

// Saves a picture of the screen's windows once the main window has shown its banner.
void scheduleScreenshot(const QString &file)
{
    QTimer::singleShot(2500, qApp, [file] {
        // The part of the screen that the program's windows cover (the tip window included).
        QRect area;
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->isVisible())
                area |= window->frameGeometry();
        QScreen *screen = QGuiApplication::primaryScreen();
        if (area.isEmpty())
            area = screen->geometry();
        const QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        const bool saved = !shot.isNull() && shot.save(file, "PNG");
        std::fprintf(saved ? stdout : stderr, "%s %s\n",
                     saved ? "Screenshot saved to" : "Could not save the screenshot to",
                     qPrintable(file));
        QCoreApplication::exit(saved ? 0 : 1);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vantora Market Pro"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    struct Option
    {
        const char *name, *value, *description;
        bool hidden;
    };
    const Option options[] = {
        {"screenshot", "FILE", "Save a PNG of the main window and quit.", false},
        {"site", "URL", "Root address of the maker's web site.", false},
        {"database", "PATH", "The market database file to use.", false},
        {"browse", "URL", "Also open the browser window on URL.", false},
        {"open", "SCREEN", "Go on from the main window to SCREEN (such as frmHoldings).", false},
        {"exit-when-shown", "", "Quit as soon as the main window is shown (start-up benchmark).",
         true},
    };
    for (const Option &o : options) {
        QCommandLineOption option(QString::fromLatin1(o.name), QString::fromLatin1(o.description),
                                  QString::fromLatin1(o.value));
        if (o.hidden)
            option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    const QString screenshot = QStringLiteral("screenshot");
    const QString site = QStringLiteral("site");
    const QString database = QStringLiteral("database");
    const QString browse = QStringLiteral("browse");
    const QString open = QStringLiteral("open");
    const QString exitWhenShown = QStringLiteral("exit-when-shown");
    // The command line is read before the window system is reached, so that a wrong option is
    // reported even where no display is available.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString usage =
        parser.helpText().replace(QLatin1String("<executable_name>"), QLatin1String("vantora"));
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "vantora: %s\n\n%s", qPrintable(parser.errorText()),
                     qPrintable(usage));
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(usage), stdout);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "vantora: unexpected argument '%s'\n\n%s",
                     qPrintable(parser.positionalArguments().constFirst()), qPrintable(usage));
        return 2;
    }
    vantora::prepareApplication();
    QApplication app(argc, argv);
    vantora::nameApplication(app);
    vantora::applyStyleSheet(app);

    if (parser.isSet(site))
        vantora::config::setSiteRoot(QUrl::fromUserInput(parser.value(site)));
    if (parser.isSet(database))
        vantora::config::setDatabasePath(parser.value(database));
    vantora::applyDesktopIdentity();
    // A screenshot or a timed start never waits for an answer.
    vantora::offerDatabase(vantora::config::databasePath(), parser.isSet(database),
                           parser.isSet(screenshot) || parser.isSet(exitWhenShown));

    // Before any window exists, so that a wrong name leaves nothing to tear down.
    if (parser.isSet(open) && !vantora::ScreenRegistry::has(parser.value(open))) {
        std::fprintf(stderr, "vantora: no screen named '%s'\n", qPrintable(parser.value(open)));
        return 2;
    }
    vantora::watchSessionEnd(app);
    vantora::navigate(nullptr, QStringLiteral("Form11"));
    // Edits a past run could not save when it was ended, once the main window is up.
    if (!parser.isSet(screenshot) && !parser.isSet(exitWhenShown))
        QTimer::singleShot(0, &app, [] { vantora::offerKeptEdits(); });
    if (parser.isSet(open))
        vantora::navigate(vantora::ScreenRegistry::get(QStringLiteral("Form11")),
                          parser.value(open));
    if (parser.isSet(browse)) {
        if (vantora::Screen *browser = vantora::ScreenRegistry::get(QStringLiteral("frmBrowser"))) {
            browser->setProperty("StartingAddress", parser.value(browse));
            browser->load();
        }
    }
    if (parser.isSet(screenshot))
        scheduleScreenshot(parser.value(screenshot));
    if (parser.isSet(exitWhenShown))
        QTimer::singleShot(0, &app, [] {
            // The benchmark passes its own clock reading of the moment it started us.
            const qint64 started = qEnvironmentVariable("VANTORA_STARTED_NS").toLongLong();
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            const qint64 elapsed = qint64(now.tv_sec) * 1000000000 + now.tv_nsec - started;
            std::printf("shown after %.3f ms\n", double(elapsed) / 1e6);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });

    const int code = QApplication::exec();
    vantora::ScreenRegistry::clear();
    return code;
}
