// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Form11.h"
#include "app/navigation.h"
#include "app/registry.h"
#include "common/config.h"
#include "tests/support/localsource.h"
#include "tests/support/testdb.h"
#include "tests/support/testsupport.h"

#include <QAction>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
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

    void windowAndControls()
    {
        QWidget *window = test::mainWindow()->window();
        QCOMPARE(window->windowTitle(), QStringLiteral("Vantora Market Pro"));
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

    void menus()
    {
        const QList<QPair<QString, QStringList>> expected{
            {QStringLiteral("Fi&le"),
             {QStringLiteral("&Disclaimer"), QStringLiteral("&Visit Our Website"),
              QStringLiteral("&Get a Free PhoneCard"), QStringLiteral("&Import Prices…"),
              QStringLiteral("&Update Prices"), QStringLiteral("&Quit")}},
            {QStringLiteral("&Financial Planner"),
             {QStringLiteral("&Investment Planner"), QStringLiteral("&Dow Forecaster"),
              QStringLiteral("R&etirement Planner"), QStringLiteral("Forecast S&corecard")}},
            {QStringLiteral("&Stocks"),
             {QStringLiteral("&Portfolio"), QStringLiteral("&Kestrel Targets"),
              QStringLiteral("Popular &Strategy"), QStringLiteral("&Home"),
              QStringLiteral("Holdings &Overview"), QStringLiteral("&Trades")}},
            {QStringLiteral("&Help"), {QStringLiteral("About &Tallowby"), QStringLiteral("He&lp")}},
        };
        auto *bar = static_cast<QMainWindow *>(test::mainWindow()->window())->menuBar();
        const QList<QAction *> titles = bar->actions();
        QCOMPARE(titles.size(), expected.size());
        for (qsizetype i = 0; i < titles.size(); ++i) {
            QCOMPARE(titles[i]->text(), expected[i].first);
            QStringList entries;
            for (QAction *entry : titles[i]->menu()->actions()) {
                entries << entry->text();
                QVERIFY(entry->shortcut().isEmpty());
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
        QVERIFY2(said[1].startsWith("Imported 8 days of ACME, ^DJI, ^GSPC, ^IXIC"),
                 qPrintable(said[1]));
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
