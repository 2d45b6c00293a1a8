// SPDX-License-Identifier: GPL-3.0-or-later
// What every screen gives a user who reads, listens or uses the keyboard: names for every
// control, readable message and input boxes, windows wholly on the screen.
#include "app/navigation.h"
#include "app/placement.h"
#include "app/registry.h"
#include "app/screens.h"
#include "common/dialogs.h"
#include "tests/support/measure.h"
#include "tests/support/testdb.h"
#include "tests/support/testsupport.h"

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
                test::typeText(QStringLiteral("Zoë Ångström"));
                input = test::dialogContrast(box);
            }));
        qInfo("%s: contrast %.2f:1 in a message box, %.2f:1 in an input box", qPrintable(screen),
              message, input);
        QVERIFY(message >= kReadable);
        QVERIFY(input >= kReadable);
    }

    // The start: the main window and the tip window beside it, both wholly on the screen.
    void startWindowsOnScreen()
    {
        QVERIFY(navigate(nullptr, QStringLiteral("Form11")));
        Screen *tip = ScreenRegistry::existing(QStringLiteral("frmTip"));
        QVERIFY(tip && tip->isLoaded());
        QWidget *main = test::mainWindow()->window();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        QVERIFY(QTest::qWaitForWindowExposed(tip->window()));
        QTRY_VERIFY(test::whollyOnScreen(main));
        QTRY_VERIFY(test::whollyOnScreen(tip->window()));
        qInfo("screen %s: main window %s, tip window %s",
              qPrintable(rectText(main->screen()->availableGeometry())),
              qPrintable(rectText(main->frameGeometry())),
              qPrintable(rectText(tip->window()->frameGeometry())));
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
        return QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
    }

    std::unique_ptr<test::TestDatabase> m_db;
};

VANTORA_TEST_MAIN(TstUsability)
#include "tst_usability.moc"
