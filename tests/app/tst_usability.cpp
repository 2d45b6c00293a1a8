// SPDX-License-Identifier: GPL-3.0-or-later
// What every screen gives a user who reads, listens or uses the keyboard: names for every
// control, readable message and input boxes, windows wholly on the screen.
#include "app/desktop.h"
#include "app/navigation.h"
#include "app/placement.h"
#include "app/registry.h"
#include "app/screens.h"
#include "common/dialogs.h"
#include "tests/support/measure.h"
#include "tests/support/testdb.h"
#include "tests/support/testsupport.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

using namespace vantora;

namespace {

constexpr double kReadable = 4.5;

} // namespace

class TstUsability : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<test::TestDatabase>(test::TestDatabase::Sample);
        QVERIFY2(m_db->isValid(), qPrintable(m_db->error()));
    }
    void cleanup() { test::unloadAllScreens(); }
    void cleanupTestCase() { m_db.reset(); }

    void everyScreen_data()
    {
        QTest::addColumn<QString>("screen");
        for (const ScreenEntry &entry : screenTable())
            QTest::newRow(entry.name) << QString::fromLatin1(entry.name);
    }

    void everyScreen()
    {
        QFETCH(QString, screen);
        Screen *shown = ScreenRegistry::get(screen);
        QVERIFY(shown);
        shown->show();
        QWidget *window = shown->window();
        QVERIFY(window);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));

        const test::AccessibleNames names = test::accessibleNames(window);
        qInfo("%s: %d interactive objects, %lld without a name", qPrintable(screen),
              names.interactive, qlonglong(names.unnamed.size()));
        QVERIFY2(names.unnamed.isEmpty(), qPrintable(names.unnamed.join(QStringLiteral(", "))));

        double message = 0, input = 0;
        QVERIFY(test::whileModal(
            [] {
                msgBox(QStringLiteral("Do you really want to delete this record"), OkCancel,
                       QStringLiteral("Delete Record"));
            },
            [&message](QWidget *box) { message = test::dialogContrast(box); }));
        QVERIFY(test::whileModal(
            [] {
                inputBox(QStringLiteral("Enter the full (complete) name of the stock. "),
                         QStringLiteral("Stock Search"));
            },
            [&input](QWidget *box) {
                // Keys go to the focus widget, which a box has only once it is active.
                box->activateWindow();
                if (!QTest::qWaitForWindowActive(box))
                    QFAIL("the input box never became the active window");
                test::typeText(QStringLiteral("Zoë Ångström"));
                input = test::dialogContrast(box);
            }));
        qInfo("%s: contrast %.2f:1 in a message box, %.2f:1 in an input box", qPrintable(screen),
              message, input);
        QVERIFY(message >= kReadable);
        QVERIFY(input >= kReadable);

        // A box that opens while no window is active (one box has just closed, the next opens)
        // still opens over the screen's window.
        const QWidget *parent = nullptr;
        QVERIFY(test::whileModal(
            [] {
                QApplication::setActiveWindow(nullptr);
                msgBox(QStringLiteral("Sorry, I couldn't find your stock. "));
            },
            [&parent](QWidget *box) { parent = box->parentWidget(); }));
        QCOMPARE(parent, window);
    }

    // Boxes fit the screen and show their buttons' words whole; a long list goes into the
    // details; no box can be minimised or maximised.
    void boxesFit_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("first-run offer") << 0;
        QTest::newRow("a line per symbol") << 1;
        QTest::newRow("a command to type") << 2;
    }
    void boxesFit()
    {
        QFETCH(int, kind);
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("cm1.db"));
        QStringList lines;
        for (int i = 0; i < 300; ++i)
            lines << QStringLiteral("SYM%1 (https://quotes.example/SYM%1.csv): the server did not "
                                    "answer")
                         .arg(i);
        lines << QStringLiteral("Nothing was imported; the database is as it was.");
        const std::function<void()> open[] = {
            [&] { offerDatabase(missing, false, false); },
            [&] { msgBox(lines.join(QLatin1Char('\n')), OkOnly, QStringLiteral("Update Prices")); },
            [&] {
                msgBox(QStringLiteral("The market database is missing. Create it with the "
                                      "command:\nvantora-db create %1 --sample")
                           .arg(missing));
            }};
        QVERIFY(test::whileModal(open[kind], [&](QWidget *box) {
            QVERIFY(test::whollyOnScreen(box));
            QVERIFY(!(box->windowFlags() &
                      (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
            for (const QPushButton *button : box->findChildren<QPushButton *>()) {
                if (!button->isVisible())
                    continue;
                const QString words = QString(button->text()).remove(QLatin1Char('&'));
                QVERIFY2(button->width() >= button->fontMetrics().horizontalAdvance(words) + 20,
                         qPrintable(words));
            }
            const auto *message = qobject_cast<QMessageBox *>(box);
            QVERIFY(message);
            QVERIFY(message->text().count(QLatin1Char('\n')) < 12);
            if (kind == 1)
                QVERIFY(message->detailedText().contains(QStringLiteral("SYM299")));
            if (kind == 2)
                QVERIFY(message->text().contains(
                    QStringLiteral("white-space:pre\">vantora-db create")));
        }));
    }

    // Every kind of box the program opens has a title bar with a close button only, and is
    // the dialog of the window it was opened from, even when it follows another box before the
    // focus is back (no window active): the window manager keeps it over that window.
    void everyBoxsTitleBar_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("message") << 0;
        QTest::newRow("choice") << 1;
        QTest::newRow("input") << 2;
        QTest::newRow("files to open") << 3;
        QTest::newRow("a file to open") << 4;
        QTest::newRow("a name to save under") << 5;
    }
    void everyBoxsTitleBar()
    {
        QFETCH(int, kind);
        QWidget window;
        window.resize(400, 300);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QString title = QStringLiteral("Import Prices");
        const std::function<void()> open[] = {
            [&] { msgBox(QStringLiteral("Imported 5 days of QQQ."), OkOnly, title); },
            [&] {
                choiceBox(QStringLiteral("Which one?"), title, {"&Yes", "&No"}, 0, 1);
            },
            [&] { inputBox(QStringLiteral("Enter the ticker symbol."), title); },
            [&] { openFilesBox(title, QStringLiteral("Daily history (*.csv)")); },
            [&] { fileBox(title, QStringLiteral("Daily history (*.csv)"), false); },
            [&] { fileBox(title, QStringLiteral("PDF files (*.pdf)"), true, true); }};
        Qt::WindowFlags flags;
        const QWidget *parent = nullptr;
        bool onScreen = false;
        // A first box, from the active window; the box looked at follows it.
        QVERIFY(test::whileModal([&] { msgBox(QStringLiteral("Reading the files…")); },
                                 [](QWidget *) {}));
        QVERIFY(test::whileModal(
            [&] {
                QApplication::setActiveWindow(nullptr);
                open[kind]();
            },
            [&](QWidget *box) {
                flags = box->windowFlags();
                parent = box->parentWidget();
                onScreen = test::whollyOnScreen(box);
            }));
        QCOMPARE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint),
                 Qt::WindowFlags());
        QCOMPARE(flags & (Qt::WindowType_Mask | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
                 Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                     Qt::WindowCloseButtonHint);
        QCOMPARE(parent, &window);
        QVERIFY(onScreen);
    }

    // The start: the main window and the tip window beside it, both wholly on the screen; back
    // from another screen, the main window goes beside the tip window again, not over it.
    void startWindowsOnScreen()
    {
        QVERIFY(navigate(nullptr, QStringLiteral("Form11")));
        Screen *tip = ScreenRegistry::existing(QStringLiteral("frmTip"));
        QVERIFY(tip && tip->isLoaded());
        // Shown once the main window has painted.
        QTRY_VERIFY(tip->window()->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(tip->window()));
        QVERIFY(QTest::qWaitForWindowActive(test::mainWindow()->window()));
        const auto besideOnScreen = [tip] {
            QWidget *main = test::mainWindow()->window();
            QVERIFY(QTest::qWaitForWindowExposed(main));
            QTRY_VERIFY(test::whollyOnScreen(main));
            QTRY_VERIFY(test::whollyOnScreen(tip->window()));
            QTRY_VERIFY(!main->frameGeometry().intersects(tip->window()->frameGeometry()));
            qInfo("screen %s: main window %s, tip window %s",
                  qPrintable(rectText(main->screen()->availableGeometry())),
                  qPrintable(rectText(main->frameGeometry())),
                  qPrintable(rectText(tip->window()->frameGeometry())));
        };
        besideOnScreen();
        const QPoint tipAt = tip->window()->pos();
        QVERIFY(navigate(test::mainWindow(), QStringLiteral("Form6")));
        QVERIFY(navigate(ScreenRegistry::get(QStringLiteral("Form6")), QStringLiteral("Form11")));
        besideOnScreen();
        QCOMPARE(tip->window()->pos(), tipAt);
    }

    // A main window put back where it was left stays there; a tip window never put back goes
    // beside it.
    void tipBesideARestoredMainWindow()
    {
        QVERIFY(navigate(nullptr, QStringLiteral("Form11")));
        Screen *tip = ScreenRegistry::existing(QStringLiteral("frmTip"));
        QTRY_VERIFY(tip && tip->window() && tip->window()->isVisible());
        test::mainWindow()->window()->move(20, 30);
        QTRY_COMPARE(test::mainWindow()->window()->pos(), QPoint(20, 30));
        test::unloadAllScreens(); // both windows' places are kept
        const QString app = QCoreApplication::applicationName();
        QSettings(QSettings::UserScope, app, app).remove(QStringLiteral("windows/frmTip"));

        QVERIFY(navigate(nullptr, QStringLiteral("Form11")));
        tip = ScreenRegistry::existing(QStringLiteral("frmTip"));
        QTRY_VERIFY(tip && tip->window() && tip->window()->isVisible());
        QWidget *main = test::mainWindow()->window();
        QTRY_VERIFY(test::whollyOnScreen(tip->window()));
        QTRY_VERIFY(!main->frameGeometry().intersects(tip->window()->frameGeometry()));
        QCOMPARE(main->pos(), QPoint(20, 30));
        QSettings(QSettings::UserScope, app, app).remove(QStringLiteral("windows"));
    }

    void beside_data()
    {
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QPoint>("tipAt");
        const QRect area(0, 0, 1280, 800);
        QTest::newRow("room on the right") << QRect(100, 100, 700, 500) << QPoint(812, 100);
        QTest::newRow("room on the left only") << QRect(560, 50, 700, 500) << QPoint(128, 50);
        QTest::newRow("room on neither side") << QRect(300, 100, 700, 500) << QPoint(860, 100);
        QTest::newRow("low on the screen") << QRect(100, 650, 700, 500) << QPoint(812, 500);
    }
    void beside()
    {
        QFETCH(QRect, main);
        QFETCH(QPoint, tipAt);
        QCOMPARE(placeBeside(QRect(0, 0, 1280, 800), main, QSize(420, 300)).topLeft(), tipAt);
    }

    void placement_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QSize>("main");
        QTest::addColumn<QSize>("tip");
        QTest::addColumn<bool>("besideEachOther");

        const QSize main(700, 500), tip(420, 300);
        QTest::newRow("wide screen") << QRect(0, 0, 1920, 1080) << main << tip << true;
        QTest::newRow("screen with a panel on the left")
            << QRect(64, 28, 1216, 772) << main << tip << true;
        QTest::newRow("too narrow for both") << QRect(0, 0, 1024, 768) << main << tip << false;
        QTest::newRow("lower than the main window")
            << QRect(0, 0, 1280, 400) << main << tip << true;
        QTest::newRow("no tip window") << QRect(0, 0, 800, 600) << main << QSize() << false;
    }

    void placement()
    {
        QFETCH(QRect, area);
        QFETCH(QSize, main);
        QFETCH(QSize, tip);
        QFETCH(bool, besideEachOther);
        const Placement placed = placeWindows(area, main, tip);
        QCOMPARE(placed.main.size(), main);
        QCOMPARE(placed.main.top(),
                 std::max(area.top(), area.top() + (area.height() - main.height()) / 2));
        QVERIFY(placed.main.left() >= area.left() && placed.main.right() <= area.right());
        if (tip.isEmpty()) {
            QVERIFY(placed.tip.isEmpty());
            QCOMPARE(placed.main.left(), area.left() + (area.width() - main.width()) / 2);
            return;
        }
        QVERIFY(area.contains(placed.tip));
        QCOMPARE(placed.tip.size(), tip);
        QCOMPARE(placed.tip.intersects(placed.main), !besideEachOther);
    }

private:
    static QString rectText(const QRect &r)
    {
        return QStringLiteral("%1x%2+%3+%4")
            .arg(QString::number(r.width()), QString::number(r.height()), QString::number(r.x()),
                 QString::number(r.y()));
    }

    std::unique_ptr<test::TestDatabase> m_db;
};

// A screen as wide as a small laptop's, where the two start windows fit side by side.
int main(int argc, char *argv[])
{
    test::prepareTestApplication();
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(R"({"screens": [{"name": "wide", "x": 0, "y": 0, "width": 1280, "height": 800,)"
                   R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") < 0)
        return 1;
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    QApplication app(argc, argv);
    test::nameTestApplication(app);
    int result = 0;
    {
        TstUsability tc;
        QTEST_SET_MAIN_SOURCE_PATH
        result = QTest::qExec(&tc, argc, argv);
    }
    test::finishTestApplication();
    return result;
}
#include "tst_usability.moc"
