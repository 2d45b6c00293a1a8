// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "app/databases.h"
#include "app/desktop.h"
#include "app/navigation.h"
#include "app/pricesatstart.h"
#include "app/registry.h"
#include "app/report.h"
#include "app/sessionend.h"
#include "common/config.h"
#include "common/dialogs.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLocale>
#include <QMainWindow>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <optional>

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

// What the command line asks for, once read.
struct Request
{
    QString screenshot; // save a picture and quit
    QString database;
    QString site;
    QString browse;
    QString open;      // a screen to go on to from the main window
    QString exportPdf; // with open: write that screen's report as PDF and quit
};

// Reads the command line after the application object has taken Qt's own options (-style,
// -platform, ...) out of it. Returns the exit code when the run ends here: 0 for --help,
// --help-all and --version, 2 for a wrong command line.
std::optional<int> readCommandLine(QApplication &app, Request *request)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vantora Market Pro"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    struct Option
    {
        const char *name, *value, *description;
        QString *into;
    };
    const Option options[] = {
        {"screenshot", "FILE",
         QT_TRANSLATE_NOOP("CommandLine", "Save a PNG of the main window and quit."),
         &request->screenshot},
        {"site", "URL", QT_TRANSLATE_NOOP("CommandLine", "Root address of the maker's web site."),
         &request->site},
        {"database", "PATH", QT_TRANSLATE_NOOP("CommandLine", "The market database file to use."),
         &request->database},
        {"browse", "URL", QT_TRANSLATE_NOOP("CommandLine", "Also open the browser window on URL."),
         &request->browse},
        {"open", "SCREEN",
         QT_TRANSLATE_NOOP("CommandLine",
                           "Go on from the main window to SCREEN (such as frmHoldings)."),
         &request->open},
        {"export-pdf", "FILE",
         QT_TRANSLATE_NOOP("CommandLine", "With --open frmHoldings or frmScorecard: write that "
                                          "screen's report as a PDF file and "
                                          "quit, without a display."),
         &request->exportPdf},
    };
    for (const Option &o : options)
        parser.addOption(QCommandLineOption(
            QString::fromLatin1(o.name), QCoreApplication::translate("CommandLine", o.description),
            QString::fromLatin1(o.value)));
    const QString usage = parser.helpText().replace(QCoreApplication::arguments().constFirst(),
                                                    QLatin1String("vantora"));
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "vantora: %s\n\n%s", qPrintable(parser.errorText()),
                     qPrintable(usage));
        return 2;
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "vantora: unexpected argument '%s'\n\n%s",
                     qPrintable(parser.positionalArguments().constFirst()), qPrintable(usage));
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(usage), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("vantora %s\n", qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }
    if (parser.isSet(QStringLiteral("help-all")))
        parser.process(app); // Qt's own options as well; ends the run
    for (const Option &o : options)
        *o.into = parser.value(QString::fromLatin1(o.name));
    if (!request->exportPdf.isEmpty() && request->open.isEmpty()) {
        std::fprintf(stderr, "vantora: --export-pdf needs --open SCREEN\n\n%s", qPrintable(usage));
        return 2;
    }
    return std::nullopt;
}

// Help and the version need no window: where no display is named they are shown without one.
void helpNeedsNoDisplay(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        // A report is written without any window on a screen, too.
        if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" ||
            arg == "--version" || arg == "--export-pdf" || arg.startsWith("--export-pdf=")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            return;
        }
    }
}

// Writes a screen's report as PDF with nobody watching: the messages go to the error output.
int exportReport(const QString &screenName, const QString &file)
{
    bool failed = false;
    vantora::setDialogHandler([&failed](const vantora::DialogRequest &request) {
        std::fprintf(stderr, "vantora: %s\n", qPrintable(request.text));
        failed = true;
        return vantora::DialogReply{vantora::AnswerCancel, {}};
    });
    vantora::Screen *screen = vantora::ScreenRegistry::get(screenName);
    screen->show();
    if (!screen->hasReport()) {
        std::fprintf(stderr, "vantora: the screen '%s' has no report\n", qPrintable(screenName));
        vantora::ScreenRegistry::clear();
        return 2;
    }
    QCoreApplication::processEvents();
    const QString error = vantora::writeReportPdf(screen->report(), file);
    vantora::ScreenRegistry::clear();
    if (!error.isEmpty() || failed) {
        if (!error.isEmpty())
            std::fprintf(stderr, "vantora: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("PDF saved to %s\n", qPrintable(file));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    vantora::prepareApplication();
    helpNeedsNoDisplay(argc, argv);
    QApplication app(argc, argv);
    vantora::nameApplication(app);
    vantora::installTranslations(QLocale::system());
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTORA_VERSION));
    Request request;
    if (const std::optional<int> code = readCommandLine(app, &request))
        return *code;
    vantora::applyStyleSheet(app);

    if (!request.site.isEmpty())
        vantora::config::setSiteRoot(QUrl::fromUserInput(request.site));
    const bool databaseNamed = !request.database.isEmpty();
    if (databaseNamed)
        vantora::config::setDatabasePath(request.database);
    else if (const QString last = vantora::lastDatabase();
             !last.isEmpty() && QFileInfo::exists(last))
        vantora::config::setDatabasePath(last); // the one opened last, at the next start
    vantora::applyDesktopIdentity();
    // A screenshot never waits for an answer.
    vantora::offerDatabase(vantora::config::databasePath(), databaseNamed,
                           !request.screenshot.isEmpty() || !request.exportPdf.isEmpty());
    if (QFileInfo::exists(vantora::config::databasePath()))
        vantora::rememberDatabase(vantora::config::databasePath());

    // Before any window exists, so that a wrong name leaves nothing to tear down.
    if (!request.open.isEmpty() && !vantora::ScreenRegistry::has(request.open)) {
        std::fprintf(stderr, "vantora: no screen named '%s'\n", qPrintable(request.open));
        return 2;
    }
    if (!request.exportPdf.isEmpty())
        return exportReport(request.open, request.exportPdf);
    vantora::watchSessionEnd(app);
    vantora::navigate(nullptr, QStringLiteral("Form11"));
    // Edits a past run could not save when it was ended, once the main window is up; then the
    // prices, in the background, where the preferences ask for them.
    if (request.screenshot.isEmpty())
        QTimer::singleShot(0, &app, [] {
            vantora::offerKeptEdits();
            if (vantora::Screen *main = vantora::ScreenRegistry::existing(QStringLiteral("Form11")))
                vantora::updatePricesAtStart(qobject_cast<QMainWindow *>(main->window()));
        });
    if (!request.open.isEmpty())
        vantora::navigate(vantora::ScreenRegistry::get(QStringLiteral("Form11")), request.open);
    if (!request.browse.isEmpty()) {
        if (vantora::Screen *browser = vantora::ScreenRegistry::get(QStringLiteral("frmBrowser"))) {
            browser->setProperty("StartingAddress", request.browse);
            browser->load();
        }
    }
    if (!request.screenshot.isEmpty())
        scheduleScreenshot(request.screenshot);

    const int code = QApplication::exec();
    vantora::ScreenRegistry::clear();
    return code;
}
