// SPDX-License-Identifier: GPL-3.0-or-later
// The forecaster's scorecard: Wilson's interval, and the figures of vantora-db scorecard on a
// few days per index worked out by hand.
#include "tests/support/testdb.h"
#include "tests/support/testsupport.h"

#include "app/registry.h"
#include "forecast/scorecard.h"

#include <QLabel>
#include <QTableWidget>

using namespace vantora;

namespace {

// The record's date and its eight inputs.
const QStringList kRecordFields =
    QStringLiteral("Date,Dow Yesterday,NasdaQ Yesterday,SP 500 Yesterday,Advances,Declines,DD,Dn,"
                   "Ds")
        .split(QLatin1Char(','));

// The changes 30, 10 and 6 give the adjustments +35, +15 and +10, and no lows computed again.
// With advances equal to declines the forecasts are: Dow close + 24 to + 63, Nasdaq close + 4
// to + 24, S&P 500 close + 8 to + 15.25. With 0 and 3000 each high comes out below its low:
// Dow close - 237 and - 76, Nasdaq close - 176 and - 81.71.
const QList<QVariantList> kRecords{
    {"2026-03-03", 1000, 500, 100, 1500, 1500, 30, 10, 6}, // 1024-1063, 504-524, 108-115.25
    {"2026-03-03", 9000, 9000, 9000, 1, 1, 1, 1, 1},       // a second record of the day: left out
    {"2026-03-04", 1050, 520, 110, 0, 3000, 30, 10, 6},    // 813-974, 344-438.29
    {"2026-03-05", 900, 450, 100, 1500, 1500, 30, 10, 6},  // 924-963, 454-474, 108-115.25
    {"2026-03-06", 950, 470, 104, 1500, 1500, 30, 10, 6},  // 974-1013, 474-494, 112-119.25
    {"2026-03-09", 950, 470, 104, QVariant(), 1500, 30, 10, 6}, // no advances: left out
};

const QStringList kPriceFields{"Ticker Symbol", "Date", "High", "Low", "Close"};

// The real days; a day's comment says how the forecast and the naive forecast (the range of
// the row before) did: the close in range or not, the range held or not.
const QList<QVariantList> kPrices{
    {"^DJI", "2026-03-02", 1010, 990, 1000},
    {"^DJI", "2026-03-03", 1060, 1030, 1050}, // hit, held; naive 990-1010: miss
    {"^DJI", "2026-03-04", 960, 880, 900},    // hit only in order, held; naive miss
    // 03-05 missing: not scored, and 03-06 gets the range of 03-04 as its naive forecast.
    {"^DJI", "2026-03-06", 1001, 940, 970}, // miss; naive 880-960: miss
    {"^DJI", "2026-03-09", 1000, 950, 980},
    {"^IXIC", "2026-03-02", 505, 495, 500},
    {"^IXIC", "2026-03-03", 526, 505, 524}, // hit on the upper end, not held; naive miss
    {"^IXIC", "2026-03-04", 450, 430, 440}, // miss; naive 505-526: miss
    {"^IXIC", "2026-03-05", 470, 456, 460}, // hit, held; naive miss
    {"^IXIC", "2026-03-06", 491, 477, 480}, // hit, held; naive 456-470: miss
    {"^GSPC", "2026-03-02", 101, 99, 100},
    {"^GSPC", "2026-03-03", 112.25, 104, 110}, // hit, not held; naive 99-101: miss
    // A close only: 03-04 is not scored, nor 03-05, whose naive forecast would be 03-04's.
    {"^GSPC", "2026-03-04", QVariant(), QVariant(), 100},
    {"^GSPC", "2026-03-05", 106, 99, 104},
    {"^GSPC", "2026-03-06", 108.3, 103, 105}, // miss; naive 99-106: hit, not held
};

const QStringList kHandLines{
    "Dow Jones: 3 days; close in range 66.7% (95% CI 20.8-93.9%); range held 66.7%; mean error "
    "high 9.7, low 35.7 points; naive: close in range 0.0%, range held 0.0%, mean error high "
    "63.7, low 83.3 points",
    "Nasdaq: 4 days; close in range 75.0% (95% CI 30.1-95.4%); range held 50.0%; mean error high "
    "5.2, low 23.0 points; naive: close in range 0.0%, range held 0.0%, mean error high 34.5, "
    "low 33.0 points",
    "S&P 500: 2 days; close in range 50.0% (95% CI 9.5-90.5%); range held 0.0%; mean error high "
    "7.0, low 6.5 points; naive: close in range 50.0%, range held 0.0%, mean error high 6.8, low "
    "4.5 points",
    "All three: 9 days; close in range 66.7% (95% CI 35.4-87.9%); range held 44.4%; mean error "
    "high 7.1, low 23.6 points; naive: close in range 11.1%, range held 0.0%, mean error high "
    "38.1, low 43.4 points",
};

enum class Content { HandTable, NoBreadth, NoPrices, NothingAtAll };

void fill(test::TestDatabase &db, Content content)
{
    if (content == Content::NothingAtAll)
        return;
    for (QVariantList record : kRecords) {
        if (content == Content::NoBreadth)
            record[4] = QVariant();
        QVERIFY(db.insert(QStringLiteral("Forecaster"), kRecordFields, record));
    }
    if (content != Content::NoPrices)
        for (const QVariantList &day : kPrices)
            QVERIFY(db.insert(QStringLiteral("Prices"), kPriceFields, day));
}

} // namespace

Q_DECLARE_METATYPE(Content)

class TstScorecard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Newcombe (1998), Statistics in Medicine 17, 857-872, Table II: the score interval.
    void wilson_data()
    {
        QTest::addColumn<int>("hits");
        QTest::addColumn<int>("n");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::newRow("81 of 263") << 81 << 263 << 0.2553 << 0.3662;
        QTest::newRow("15 of 148") << 15 << 148 << 0.0624 << 0.1605;
        QTest::newRow("0 of 20") << 0 << 20 << 0.0 << 0.1611;
        QTest::newRow("1 of 29") << 1 << 29 << 0.0061 << 0.1718;
        QTest::newRow("29 of 29") << 29 << 29 << 0.8830 << 1.0;
        QTest::newRow("nothing scored") << 0 << 0 << 0.0 << 1.0;
    }
    void wilson()
    {
        QFETCH(int, hits);
        QFETCH(int, n);
        QFETCH(double, lower);
        QFETCH(double, upper);
        const Interval interval = wilsonInterval(hits, n);
        QVERIFY2(qAbs(interval.lower - lower) < 5e-5, qPrintable(QString::number(interval.lower)));
        QVERIFY2(qAbs(interval.upper - upper) < 5e-5, qPrintable(QString::number(interval.upper)));
    }

    void tool_data()
    {
        QTest::addColumn<Content>("content");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("lines");
        const QStringList nothing{
            "vantora-db: \"%1\" has nothing to score: no record of the forecaster with all its "
            "inputs (the three closes and changes, advances and declines) has its day, and the "
            "trading day before it, among the prices of an index with a high, a low and a close."};
        QTest::newRow("worked by hand") << Content::HandTable << 0 << kHandLines;
        QTest::newRow("no advances") << Content::NoBreadth << 1 << nothing;
        QTest::newRow("no prices") << Content::NoPrices << 1 << nothing;
        QTest::newRow("empty") << Content::NothingAtAll << 1 << nothing;
    }
    void tool()
    {
        QFETCH(Content, content);
        QFETCH(int, exitCode);
        QFETCH(QStringList, lines);
        test::TestDatabase db;
        fill(db, content);
        const test::ToolRun run = test::runDatabaseTool({QStringLiteral("scorecard"), db.path()});
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.output.trimmed().split(QLatin1Char('\n')),
                 lines.replaceInStrings(QStringLiteral("%1"), db.path()));
    }

    // The screen shows the tool's figures for all three beside the disclaimer's promise.
    void screen()
    {
        test::TestDatabase db;
        fill(db, Content::HandTable);
        Screen *screen = ScreenRegistry::get(QStringLiteral("frmScorecard"));
        screen->show();
        const auto restore = qScopeGuard([] { test::unloadAllScreens(); });
        QCOMPARE(test::control<QLabel>(screen, QStringLiteral("lblPromised"))->text(),
                 QStringLiteral("89.4%"));
        QCOMPARE(test::control<QLabel>(screen, QStringLiteral("lblMeasured"))->text(),
                 QStringLiteral("66.7%"));
        auto *grid = test::control<QTableWidget>(screen, QStringLiteral("grdScore"));
        QCOMPARE(grid->verticalHeaderItem(3)->text(), QStringLiteral("All three"));
        QCOMPARE(grid->item(3, 0)->text(), QStringLiteral("9"));
        QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("75.0%"));
        // Each header says what it measures and in which unit.
        QCOMPARE(grid->horizontalHeaderItem(4)->text(),
                 QStringLiteral("Mean error of\nthe high (points)"));
        QVERIFY(grid->horizontalHeaderItem(3)->text().endsWith(QStringLiteral("(%)")));
        QVERIFY(grid->horizontalHeaderItem(3)->toolTip().contains(QStringLiteral("forecast low")));
    }
};

VANTORA_TEST_MAIN(TstScorecard)
#include "tst_scorecard.moc"
