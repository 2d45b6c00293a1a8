// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/registry.h"
#include "tests/support/testsupport.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QPixmap>

using namespace vantora;

class TstIcons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { test::unloadAllScreens(); }

    // Without Qt's SVG plugins every picture comes out empty: this is where that shows.
    void iconLoads_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("size");
        for (const char *name : {"back", "forward", "stop", "refresh", "home", "search"})
            QTest::newRow(name) << QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)) << 24;
        QTest::newRow("lightbulb") << QStringLiteral(":/icons/lightbulb.svg") << 32;
    }
    void iconLoads()
    {
        QFETCH(QString, file);
        QFETCH(int, size);
        const QPixmap natural(file);
        QVERIFY2(!natural.isNull(), "the SVG image plugin is missing");
        QCOMPARE(natural.size(), QSize(size, size));
        const QPixmap twice = QIcon(file).pixmap(QSize(size, size), 2.0);
        QVERIFY2(!twice.isNull(), "the SVG icon engine is missing");
        QCOMPARE(twice.deviceIndependentSize().toSize(), QSize(size, size));
        QCOMPARE(twice.size(), QSize(2 * size, 2 * size));
    }

    void screensShowTheirIcons()
    {
        Screen *browser = ScreenRegistry::get(QStringLiteral("frmBrowser"));
        browser->load();
        for (const char *name : {"Back", "Forward", "Stop", "Refresh", "Home", "Search"}) {
            const auto *action = test::control<QAction>(browser, QString::fromLatin1(name));
            QVERIFY2(!action->icon().pixmap(24, 24).isNull(), name);
        }
        Screen *tip = ScreenRegistry::get(QStringLiteral("frmTip"));
        tip->load();
        QVERIFY(tip->isLoaded());
        const QPixmap bulb = test::control<QLabel>(tip, QStringLiteral("imgTipIcon"))->pixmap();
        QVERIFY(!bulb.isNull());
        QCOMPARE(bulb.deviceIndependentSize().toSize(), QSize(32, 32));
    }
};

VANTORA_TEST_MAIN(TstIcons)
#include "tst_icons.moc"
