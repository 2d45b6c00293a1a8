// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Form11.h"
#include "app/bannerview.h"
#include "app/databases.h"
#include "app/navigation.h"
#include "app/registry.h"
#include "app/webview.h"
#include "common/config.h"
#include "tests/support/localsource.h"
#include "tests/support/testdb.h"
#include "tests/support/testsupport.h"

#include <QAction>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

using namespace vantora;

namespace {

// The screens that are open, the tip window aside (it lives beside any screen).
QStringList openScreens()
{
    QStringList names;
    for (Screen *screen : ScreenRegistry::loaded())
        if (screen->name() != QLatin1String("frmTip"))
            names << screen->name();
    return names;
}

QAction *menuEntry(const char *name)
{
    auto *action = test::mainWindow()->window()->findChild<QAction *>(QString::fromLatin1(name));
    if (!action)
        qFatal("no menu entry %s", name);
    return action;
}

} // namespace

class TstForm11 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        test::unloadAllScreens();
        navigate(nullptr, QStringLiteral("Form11"));
    }

    void cleanupTestCase() { test::unloadAllScreens(); }

    // The web engine is not in the process when the main window first paints: it would have
    // started its graphics before (this test runs first, before any view is made).
    void webEngineAfterFirstPaint()
    {
        const auto engineLoaded = [] {
            QFile maps(QStringLiteral("/proc/self/maps"));
            return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
        };
        QVERIFY(!engineLoaded());
        test::TestDatabase db;
        Screen *main = ScreenRegistry::get(QStringLiteral("Form11"));
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main->window()));
        auto *banner = main->window()->findChild<BannerView *>(QStringLiteral("WebBrowser1"));
        QTRY_VERIFY(banner->view());
        QVERIFY(engineLoaded());
        QVERIFY(banner->view()->engineView());
        QTRY_COMPARE_WITH_TIMEOUT(banner->view()->title().isEmpty(), false, 15000);
        test::unloadAllScreens();
    }

    void windowAndControls()
    {
        QWidget *window = test::mainWindow()->window();
        QCOMPARE(window->windowTitle(), QStringLiteral("Vantora Market Pro — ") +
                                            QFileInfo(config::databasePath()).fileName());
        QVERIFY(window->isVisible());
        QCOMPARE(window->findChild<QPushButton *>(QStringLiteral("Command1"))->text(),
                 QStringLiteral("&Please Click Here For Important Information"));
        auto *image = window->findChild<QLabel *>(QStringLiteral("Image1"));
        QCOMPARE(image->pixmap().size(), QSize(515, 77));
        auto *timer = window->findChild<QTimer *>(QStringLiteral("Timer1"));
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 1000);
        QVERIFY(window->findChild<QWidget *>(QStringLiteral("WebBrowser1")));
    }

    // A banner screen is on the screen before the web engine is asked for anything: the web view
    // comes after the first paint, opens the banner page and shows the banner's colour, not
    // white, until the page has painted.
    void bannerAfterFirstPaint_data()
    {
        QTest::addColumn<QString>("screen");
        for (const char *name : {"Form11", "Form2", "Form3", "form1", "Form12", "Form13", "Form14"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void bannerAfterFirstPaint()
    {
        QFETCH(QString, screen);
        test::TestDatabase db;
        test::unloadAllScreens();
        Screen *shown = ScreenRegistry::get(screen);
        shown->show();
        auto *banner = shown->window()->findChild<BannerView *>(QStringLiteral("WebBrowser1"));
        QVERIFY(banner);
        QVERIFY(!banner->findChild<WebView *>());
        const QColor paper = banner->grab(QRect(0, 0, 1, 1)).toImage().pixelColor(0, 0);
        QTRY_VERIFY(banner->view());
        QCOMPARE(banner->view()->url(), config::bannerUrl());
        QCOMPARE(banner->view()->background(), paper);
        test::unloadAllScreens();
    }

    void menus()
    {
        const QList<QPair<QString, QStringList>> expected{
            {QStringLiteral("Fi&le"),
             {QStringLiteral("&Disclaimer"), QStringLiteral("&Visit Our Website"),
              QStringLiteral("&Get a Free PhoneCard"), QStringLiteral("&New Database…"),
              QStringLiteral("&Open Database…"), QStringLiteral("Open &Recent"),
              QStringLiteral("&Import Prices…"), QStringLiteral("&Update Prices"),
              QStringLiteral("Pr&eferences…"), QStringLiteral("&Quit")}},
            {QStringLiteral("&Financial Planner"),
             {QStringLiteral("&Investment Planner"), QStringLiteral("&Dow Forecaster"),
              QStringLiteral("R&etirement Planner"), QStringLiteral("Forecast S&corecard")}},
            {QStringLiteral("&Stocks"),
             {QStringLiteral("&Portfolio"), QStringLiteral("&Kestrel Targets"),
              QStringLiteral("Popular &Strategy"), QStringLiteral("&Home"),
              QStringLiteral("Holdings &Overview"), QStringLiteral("&Trades")}},
            {QStringLiteral("&Help"), {QStringLiteral("About &Tallowby"), QStringLiteral("He&lp")}},
        };
        // The desktop's standard keys; no other entry has one.
        const QHash<QString, QKeySequence> shortcuts{
            {QStringLiteral("newdb"), QKeySequence(QStringLiteral("Ctrl+N"))},
            {QStringLiteral("opendb"), QKeySequence(QStringLiteral("Ctrl+O"))},
            {QStringLiteral("quit"), QKeySequence(QStringLiteral("Ctrl+Q"))},
        };
        auto *bar = static_cast<QMainWindow *>(test::mainWindow()->window())->menuBar();
        const QList<QAction *> titles = bar->actions();
        QCOMPARE(titles.size(), expected.size());
        for (qsizetype i = 0; i < titles.size(); ++i) {
            QCOMPARE(titles[i]->text(), expected[i].first);
            QStringList entries;
            for (QAction *entry : titles[i]->menu()->actions()) {
                entries << entry->text();
                QCOMPARE(entry->shortcut(), shortcuts.value(entry->objectName()));
            }
            QCOMPARE(entries, expected[i].second);
        }
        const QStringList menuNames{QStringLiteral("file"), QStringLiteral("memfin"),
                                    QStringLiteral("memstck"), QStringLiteral("memhelp")};
        for (const QString &name : menuNames)
            QVERIFY2(test::mainWindow()->window()->findChild<QMenu *>(name), qPrintable(name));
    }

    void importantInformation()
    {
        test::ScriptedDialogs dialogs;
        dialogs.answerButton(AnswerCancel);
        test::mainWindow()->window()->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
        QCOMPARE(dialogs.requests().size(), 1);
        const DialogRequest &request = dialogs.requests().constFirst();
        QCOMPARE(request.text,
                 QStringLiteral("To ensure accurate forecasting PLEASE use the program ONLY when "
                                "on the Internet, this ensures that formulas are updated and "
                                "guarantees functionality of the program!!"));
        QCOMPARE(request.title, QStringLiteral("Special Information !!"));
        QCOMPARE(request.style, int(OkCancel));
        QCOMPARE(openScreens(), QStringList{QStringLiteral("Form11")});
    }

    // With no web browser to start, the site can open in the program's own browser window.
    void visitWithoutBrowser_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("browserOpen");
        QTest::newRow("own browser window") << 0 << true;
        QTest::newRow("cancelled") << 1 << false;
    }
    void visitWithoutBrowser()
    {
        QFETCH(int, button);
        QFETCH(bool, browserOpen);
        QTemporaryDir noPrograms;
        const QByteArray path = qgetenv("PATH"), browser = qgetenv("BROWSER");
        qputenv("PATH", noPrograms.path().toLocal8Bit());
        qunsetenv("BROWSER");
        const auto restore = qScopeGuard([&] {
            qputenv("PATH", path);
            if (!browser.isNull())
                qputenv("BROWSER", browser);
        });
        test::ScriptedDialogs dialogs;
        dialogs.answerButton(button);
        test::mainWindow()->window()->findChild<QAction *>(QStringLiteral("visit"))->trigger();
        QCOMPARE(dialogs.requests().size(), 1);
        QCOMPARE(dialogs.requests().first().text, Form11::noBrowserMessage());
        Screen *site = ScreenRegistry::get(QStringLiteral("frmBrowser"));
        QCOMPARE(site->isLoaded(), browserOpen);
        if (browserOpen)
            QVERIFY(site->property("StartingAddress")
                        .toString()
                        .endsWith(QStringLiteral("index.html")));
    }

    void clockTicks()
    {
        auto *clock = test::mainWindow()->window()->findChild<QLabel *>(QStringLiteral("Label3"));
        QCOMPARE(clock->text(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(!clock->text().isEmpty(), 2500);
        // Hours, minutes and seconds.
        QVERIFY2(clock->text().count(QLatin1Char(':')) >= 2, qPrintable(clock->text()));
    }

    void entriesDoNothing_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::newRow("phone card") << "info";
        QTest::newRow("help") << "memhel";
    }

    void entriesDoNothing()
    {
        QFETCH(QString, entry);
        QWidget *before = test::mainWindow()->window();
        test::ScriptedDialogs dialogs;
        menuEntry(qPrintable(entry))->trigger();
        QCOMPARE(openScreens(), QStringList{QStringLiteral("Form11")});
        QCOMPARE(test::mainWindow()->window(), before);
        QVERIFY(dialogs.requests().isEmpty());
    }

    void retirementPlannerAndHome()
    {
        auto *clock = test::mainWindow()->window()->findChild<QLabel *>(QStringLiteral("Label3"));
        QTRY_VERIFY_WITH_TIMEOUT(!clock->text().isEmpty(), 2500);

        menuEntry("memretire")->trigger();
        QCOMPARE(openScreens(), QStringList{QStringLiteral("form1")});
        Screen *planner = ScreenRegistry::get(QStringLiteral("form1"));
        QVERIFY(planner->window()->isVisible());
        QVERIFY(!test::mainWindow()->isLoaded());

        planner->window()->findChild<QPushButton *>(QStringLiteral("Command2"))->click();
        QCOMPARE(openScreens(), QStringList{QStringLiteral("Form11")});
        // A fresh main window: the clock starts empty again.
        clock = test::mainWindow()->window()->findChild<QLabel *>(QStringLiteral("Label3"));
        QCOMPARE(clock->text(), QString());
        QVERIFY(test::mainWindow()->window()->isVisible());
    }

    void everyEntryOpensItsScreen_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("target");
        QTest::newRow("disclaimer") << "discl"
                                    << "Form6";
        QTest::newRow("investment planner") << "meminv"
                                            << "Form2";
        QTest::newRow("forecaster") << "memgro"
                                    << "Form3";
        QTest::newRow("retirement planner") << "memretire"
                                            << "form1";
        QTest::newRow("portfolio") << "mempf"
                                   << "Form12";
        QTest::newRow("ratings") << "memsoft"
                                 << "Form14";
        QTest::newRow("analysts") << "mempop"
                                  << "Form13";
        QTest::newRow("stocks home") << "memh"
                                     << "Form2";
        QTest::newRow("about") << "memabout"
                               << "Form4";
        QTest::newRow("holdings") << "memhold"
                                  << "frmHoldings";
        QTest::newRow("trades") << "memtrades"
                                << "frmTrades";
        QTest::newRow("scorecard") << "memscore"
                                   << "frmScorecard";
    }

    void everyEntryOpensItsScreen()
    {
        QFETCH(QString, entry);
        QFETCH(QString, target);
        if (!ScreenRegistry::has(target))
            QSKIP("screen not in this build");
        test::ScriptedDialogs dialogs; // a record screen may report a missing database
        menuEntry(qPrintable(entry))->trigger();
        QCOMPARE(openScreens(), QStringList{target});
        ScreenRegistry::get(target)->unload();
    }

    // A message box on the next screen runs its own event loop, which holds back the deletion
    // of the main window's controls while the clock would go on ticking.
    void noHandlerRunsAfterUnload()
    {
        QTemporaryDir folder;
        config::setDatabasePath(folder.filePath(QStringLiteral("missing.db")));
        const auto restore = qScopeGuard([previous = dialogHandler()] {
            setDialogHandler(previous);
            config::setDatabasePath(QString());
        });
        int asked = 0;
        setDialogHandler([&asked](const DialogRequest &) {
            ++asked;
            QEventLoop modal;
            QTimer::singleShot(1600, &modal, &QEventLoop::quit);
            modal.exec();
            return DialogReply{};
        });
        // The menu is chosen from the program's event loop, as a user would.
        QEventLoop running;
        QTimer::singleShot(0, &running, [&running] {
            menuEntry("mempf")->trigger();
            running.quit();
        });
        running.exec();
        QVERIFY(asked > 0);
        QCOMPARE(openScreens(), QStringList{QStringLiteral("Form12")});
        ScreenRegistry::get(QStringLiteral("Form12"))->unload();
    }

    void closeBoxUnloadsOnlyThatScreen()
    {
        test::mainWindow()->window()->close();
        QVERIFY(!test::mainWindow()->isLoaded());
        QVERIFY(openScreens().isEmpty());
    }

    // A run ends with the screens gone (ScreenRegistry::clear); the next one builds them anew.
    void windowsOpenWhereTheyWereLeft_data()
    {
        QTest::addColumn<QPoint>("left");
        QTest::addColumn<bool>("kept");
        QTest::newRow("on the screen") << QPoint(37, 21) << true;
        QTest::newRow("off every screen") << QPoint(9000, 7000) << false;
    }

    void windowsOpenWhereTheyWereLeft()
    {
        QFETCH(QPoint, left);
        QFETCH(bool, kept);
        const QString about = QStringLiteral("Form4");
        navigate(test::mainWindow(), about);
        const QPoint placed = ScreenRegistry::get(about)->window()->pos();
        QWidget *window = ScreenRegistry::get(about)->window();
        window->move(left);
        window->resize(window->size() + QSize(30, 20));
        const QSize size = window->size();
        ScreenRegistry::get(about)->unload();
        ScreenRegistry::clear();

        navigate(nullptr, about);
        window = ScreenRegistry::get(about)->window();
        QCOMPARE(ScreenRegistry::get(about)->restoredGeometry(), kept);
        QCOMPARE(window->pos(), kept ? left : placed);
        if (kept)
            QCOMPARE(window->size(), size);
        ScreenRegistry::get(about)->unload();
        QSettings(QSettings::UserScope, qApp->applicationName(), qApp->applicationName())
            .remove(QStringLiteral("windows"));
    }

    // Newest first, each file once, eight at most, kept in the settings; a file since gone is
    // shown but cannot be chosen.
    void recentDatabases()
    {
        QTemporaryDir folder;
        QStringList files;
        for (int i = 0; i < 10; ++i) {
            files << folder.filePath(QStringLiteral("market%1.db").arg(i));
            if (i != 8)
                QFile(files.last()).open(QIODevice::WriteOnly);
            rememberDatabase(files.last());
        }
        rememberDatabase(files[7]);
        const QStringList expected{files[7], files[9], files[8], files[6],
                                   files[5], files[4], files[3], files[2]};
        QCOMPARE(vantora::recentDatabases(), expected);
        QCOMPARE(lastDatabase(), files[7]);

        auto *menu = test::mainWindow()->window()->findChild<QMenu *>(QStringLiteral("recentdb"));
        QMetaObject::invokeMethod(menu, &QMenu::aboutToShow);
        const QList<QAction *> entries = menu->actions();
        QCOMPARE(entries.size(), 8);
        QCOMPARE(entries[0]->text(), QStringLiteral("&1 market7.db"));
        QCOMPARE(entries[2]->text(), QStringLiteral("&3 market8.db"));
        for (qsizetype i = 0; i < entries.size(); ++i)
            QCOMPARE(entries[i]->isEnabled(), i != 2);
        QSettings(QSettings::UserScope, qApp->applicationName(), qApp->applicationName())
            .remove(QStringLiteral("databases"));
    }

    // The program started without --database opens the one opened last (its report says so).
    void lastDatabaseAtTheNextStart()
    {
        QTemporaryDir home;
        const QString first = home.filePath(QStringLiteral("stocks.db"));
        QVERIFY(test::runDatabaseTool({QStringLiteral("create"), first}).exitCode == 0);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        const auto run = [&env](QStringList args, const QString &pdf) {
            QProcess program;
            program.setProcessEnvironment(env);
            args << QStringLiteral("--open") << QStringLiteral("frmHoldings")
                 << QStringLiteral("--export-pdf") << pdf;
            program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/vantora"),
                          args);
            QProcess text;
            if (!program.waitForFinished(60000) || program.exitCode() != 0)
                return QString::fromUtf8(program.readAllStandardError());
            text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
            text.waitForFinished(30000);
            return QString::fromUtf8(text.readAllStandardOutput());
        };
        QVERIFY(run({QStringLiteral("--database"), first}, home.filePath(QStringLiteral("1.pdf")))
                    .contains(QStringLiteral("stocks.db")));
        const QString second = run({}, home.filePath(QStringLiteral("2.pdf")));
        QVERIFY2(second.contains(QStringLiteral("Database: stocks.db")), qPrintable(second));
    }

    // Without its web module (a broken install) the program still starts and shows its main
    // window, the banner left in its colour, and says why.
    void withoutTheWebModule()
    {
        QTemporaryDir home;
        const QString database = home.filePath(QStringLiteral("stocks.db"));
        QVERIFY(test::runDatabaseTool({QStringLiteral("create"), database}).exitCode == 0);
        const QString program = home.filePath(QStringLiteral("vantora"));
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/vantora"),
                            program));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        QProcess run;
        run.setProcessEnvironment(env);
        const QString shot = home.filePath(QStringLiteral("main.png"));
        run.start(program,
                  {QStringLiteral("--database"), database, QStringLiteral("--screenshot"), shot});
        QVERIFY(run.waitForFinished(60000));
        const QString messages = QString::fromUtf8(run.readAllStandardError());
        QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0,
                 qPrintable(messages));
        QVERIFY(QFileInfo(shot).size() > 0);
        QVERIFY2(messages.contains(QStringLiteral("web pages cannot be shown")),
                 qPrintable(messages));
    }

    // From the main window's menu: files picked, and the holdings and indices fetched.
    void pricesFromTheMenu()
    {
        test::TestDatabase db;
        const auto write = [&db](const QString &name, const QByteArray &content) {
            QFile file(QDir(db.folder()).filePath(name));
            return file.open(QIODevice::WriteOnly) && file.write(content) ? file.fileName()
                                                                          : QString();
        };
        test::LocalSource source;
        source.start();
        const QString app = QStringLiteral("vantora");
        QSettings(QSettings::UserScope, app, app)
            .setValue(QStringLiteral("Quotes/URL template"), source.url("ok"));
        const auto forget = qScopeGuard(
            [app] { QSettings(QSettings::UserScope, app, app).remove(QStringLiteral("Quotes")); });
        QVERIFY(
            db.insert(QStringLiteral("stocks"), {"Ticker Symbol", "Shares Owned"}, {"ACME", 10}));
        QVERIFY(
            db.insert(QStringLiteral("stocks"), {"Ticker Symbol", "Shares Owned"}, {"NONE", 0}));
        test::ScriptedDialogs dialogs;
        dialogs.answerText(write(QStringLiteral("msft.csv"), "Date,Close\r\n2026-12-03,400"));
        test::mainWindow()->show();
        test::control<QAction>(test::mainWindow(), "importprices")->trigger();
        test::control<QAction>(test::mainWindow(), "updateprices")->trigger();
        test::unloadAllScreens();
        QCOMPARE(dialogs.requests().first().kind, DialogRequest::Files);
        QStringList said = dialogs.messages();
        QVERIFY2(said.size() == 2, qPrintable(said.join(" // ")));
        QVERIFY2(said[0].startsWith("Imported 1 day of MSFT"), qPrintable(said[0]));
        QCOMPARE(said[1], QStringLiteral("Updated 4 of 4 symbols (8 days)."));
        QCOMPARE(db.scalar(QStringLiteral("SELECT \"Current Price\" FROM stocks WHERE "
                                          "\"Ticker Symbol\" = 'ACME'")),
                 QVariant(2.5));
    }

    void quitClosesEverything()
    {
        bool quitCalled = false;
        setQuitHandler([&quitCalled] { quitCalled = true; });
        menuEntry("quit")->trigger();
        setQuitHandler([] {});
        QVERIFY(quitCalled);
        for (QWidget *window : QApplication::topLevelWidgets())
            QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
    }
};

VANTORA_TEST_MAIN(TstForm11)
#include "tst_form11.moc"
