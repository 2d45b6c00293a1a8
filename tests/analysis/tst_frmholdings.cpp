// SPDX-License-Identifier: GPL-3.0-or-later
// The holdings overview on a small table worked out by hand, its sorting, and a million stocks.
#include "tests/support/screenfixture.h"

#include "analysis/holdingsmodel.h"
#include "app/chartview.h"
#include "app/registry.h"
#include "app/report.h"

#include <QCheckBox>
#include <QDate>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTableView>

using namespace vantora;

namespace {

const QStringList kFields{"Name of Stock",  "Ticker Symbol",       "Current Price",
                          "Purchase Price", "Next Years Earnings", "Shares Owned",
                          "Advice",         "Overall Rating"};

const QList<QVariantList> kStocks{
    {"Northwind Traders", "NWT", 50, 40, 6, 100, "Buy", 7},
    {"Zenith Mining", "ZEN", 45, 50, 0, 20, "Sell", 3},            // no earnings: no P/E
    {"Blue Harbor Shipping", "BHS", 30, 40, 10, 0, QVariant(), 5}, // no shares: hidden
    {"Harbor Lights", "hlx", "12.5", 10, -5, 8, "Short", 4.5},     // Int(-2.5) is -3
};

} // namespace

class TstFrmHoldings : public QObject, public test::ScreenFixture
{
    Q_OBJECT

public:
    TstFrmHoldings()
        : ScreenFixture("frmHoldings")
    {
    }

private Q_SLOTS:
    void init() { start(QStringLiteral("stocks"), kFields, kStocks); }
    void cleanup() { finish(); }

    void columns_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("profit") << 0
                                << QStringList{"Northwind Traders",
                                               "NWT",
                                               "100",
                                               "50",
                                               "5000",
                                               "40",
                                               "1000",
                                               "8",
                                               "Buy",
                                               "7",
                                               "100.00",
                                               "30.00",
                                               "25.90%"};
        QTest::newRow("loss, no earnings")
            << 1 << QStringList{"Zenith Mining", "ZEN", "20", "45", "900", "50", "-100", "",
                                "Sell",          "3",   "",   "",   ""};
        QTest::newRow("no shares") << 2 << QStringList{"Blue Harbor Shipping",
                                                       "BHS",
                                                       "0",
                                                       "30",
                                                       "0",
                                                       "40",
                                                       "0",
                                                       "3",
                                                       "",
                                                       "5",
                                                       "",
                                                       "",
                                                       ""};
        QTest::newRow("figures as text, negative P/E")
            << 3 << QStringList{"Harbor Lights", "hlx", "8", "12.5", "100", "10", "20", "-3",
                                "Short",         "4.5", "",  "",     ""};
    }
    void columns()
    {
        QFETCH(int, row);
        QFETCH(QStringList, cells);
        // NWT's trades, valued on the last day of prices: the yearly rate of -4800 on 2 January
        // 2025, +900 on 1 July, +30 on 1 October and +5000 on 2 January 2026 (an independent
        // XIRR gives 25.901%).
        QVERIFY(m_db->insert(QStringLiteral("Prices"), {"Ticker Symbol", "Date", "Close"},
                             {"NWT", "2026-01-02", 50}));
        for (const QVariantList &trade : QList<QVariantList>{{"2025-01-02", "Buy", 120, 40},
                                                             {"2025-07-01", "Sell", 20, 45},
                                                             {"2025-10-01", "Dividend", {}, 30}})
            QVERIFY(m_db->insert(QStringLiteral("Trades"),
                                 {"Ticker Symbol", "Date", "Action", "Shares", "Price"},
                                 QVariantList{"nwt"} + trade));
        screen()->unload();
        screen()->show();
        QTest::mouseClick(child<QCheckBox>(QStringLiteral("chkAllStocks")), Qt::LeftButton);
        QStringList shown, headers;
        for (int column = 0; column < model()->columnCount(); ++column) {
            shown << model()->index(row, column).data().toString();
            headers << model()->headerData(column, Qt::Horizontal).toString();
        }
        QCOMPARE(shown, cells);
        QCOMPARE(headers,
                 QStringList({"Name of Stock", "Ticker Symbol", "Shares Owned", "Current Price",
                              "Value", "Purchase Price", "Profit/Loss", "P/E Ratio(C)", "Advice",
                              "Overall Rating", "Realized", "Dividends", "Return a Year"}));
        QCOMPARE(model()->index(row, HoldingsModel::Value).data(Qt::TextAlignmentRole).toInt() &
                     Qt::AlignRight,
                 Qt::AlignRight);
    }

    void totals_data()
    {
        QTest::addColumn<bool>("allStocks");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("tickers");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("profit");
        QTest::newRow("shares owned") << false << "" << QStringList{"NWT", "ZEN", "hlx"} << "6000"
                                      << "920";
        QTest::newRow("all stocks")
            << true << "" << QStringList{"NWT", "ZEN", "BHS", "hlx"} << "6000"
            << "920";
        QTest::newRow("name, owned") << false << "HARBOR" << QStringList{"hlx"} << "100"
                                     << "20";
        QTest::newRow("name, all") << true << "harbor" << QStringList{"BHS", "hlx"} << "100"
                                   << "20";
        QTest::newRow("ticker") << false << "zE" << QStringList{"ZEN"} << "900"
                                << "-100";
        QTest::newRow("nothing") << true << "xyz" << QStringList{} << "0"
                                 << "0";
    }
    void totals()
    {
        QFETCH(bool, allStocks);
        QFETCH(QString, filter);
        QFETCH(QStringList, tickers);
        QFETCH(QString, value);
        QFETCH(QString, profit);
        if (allStocks)
            QTest::mouseClick(child<QCheckBox>(QStringLiteral("chkAllStocks")), Qt::LeftButton);
        if (!filter.isEmpty())
            retype(QStringLiteral("txtFilter"), filter);
        QTRY_COMPARE(shownTickers(), tickers);
        QCOMPARE(text(QStringLiteral("lblTotalValue")), value);
        QCOMPARE(text(QStringLiteral("lblTotalProfit")), profit);
        QCOMPARE(text(QStringLiteral("lblCount")), QString::number(tickers.size()));
    }

    // The report as PDF, read back as text: the stocks the filter shows, the totals, the day.
    void reportPdf_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("hidden");
        QTest::addColumn<QString>("count");
        QTest::newRow("every stock owned")
            << "" << QStringList{"Northwind Traders", "Zenith Mining", "6000", "920"}
            << QStringList{"Blue Harbor Shipping"} << "3";
        QTest::newRow("filtered") << "harbor" << QStringList{"Harbor Lights", "100", "20"}
                                  << QStringList{"Northwind Traders", "Zenith Mining"} << "1";
    }
    void reportPdf()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, hidden);
        QFETCH(QString, count);
        if (!filter.isEmpty())
            retype(QStringLiteral("txtFilter"), filter);
        QTRY_COMPARE(text(QStringLiteral("lblCount")), count);
        const QString pdf = m_db->folder() + QStringLiteral("/report.pdf");
        QCOMPARE(writeReportPdf(screen()->report(), pdf), QString());
        QProcess reader;
        reader.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(reader.waitForFinished(30000));
        const QString text = QString::fromUtf8(reader.readAllStandardOutput()).simplified();
        for (const QString &expected :
             shown + QStringList{QStringLiteral("Holdings Overview"),
                                 QLocale().toString(QDate::currentDate(), QLocale::LongFormat),
                                 QFileInfo(m_db->path()).fileName()})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" in ") + text));
        for (const QString &absent : hidden)
            QVERIFY2(!text.contains(absent), qPrintable(absent));
    }

    // No purchase price: no profit or loss, and the total says how many it leaves out.
    void withoutPurchasePrice_data()
    {
        QTest::addColumn<QVariant>("purchase");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("total");
        QTest::newRow("none stored") << QVariant() << ""
                                     << "1000 (2 stocks with no purchase price left out)";
        QTest::newRow("empty text") << QVariant(QStringLiteral(" ")) << ""
                                    << "1000 (2 stocks with no purchase price left out)";
        QTest::newRow("bought for nothing") << QVariant(0) << "450"
                                            << "1450 (1 stock with no purchase price left out)";
    }
    void withoutPurchasePrice()
    {
        QFETCH(QVariant, purchase);
        QFETCH(QString, cell);
        QFETCH(QString, total);
        start(QStringLiteral("stocks"), kFields,
              {{"Northwind Traders", "NWT", 50, 40, 6, 100, "Buy", 7},
               {"Zenith Mining", "ZEN", 45, purchase, 0, 10, "Sell", 3},
               {"Gift", "GFT", 10, QVariant(), 0, 5, "Hold", 1}});
        QTRY_COMPARE(shownTickers(), QStringList({"NWT", "ZEN", "GFT"}));
        QCOMPARE(model()->index(1, HoldingsModel::ProfitLoss).data().toString(), cell);
        QCOMPARE(model()->index(2, HoldingsModel::ProfitLoss).data().toString(), QString());
        QCOMPARE(text(QStringLiteral("lblTotalProfit")), total);
    }

    void sort_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QStringList>("tickers");
        QTest::newRow("name") << int(HoldingsModel::Name) << 1
                              << QStringList{"BHS", "hlx", "NWT", "ZEN"};
        QTest::newRow("ticker, letter case ignored")
            << int(HoldingsModel::Ticker) << 2 << QStringList{"ZEN", "NWT", "hlx", "BHS"};
        QTest::newRow("price, a number as text")
            << int(HoldingsModel::Price) << 1 << QStringList{"hlx", "BHS", "ZEN", "NWT"};
        QTest::newRow("value, down")
            << int(HoldingsModel::Value) << 2 << QStringList{"NWT", "ZEN", "hlx", "BHS"};
        QTest::newRow("P/E, the empty one last")
            << int(HoldingsModel::PriceEarnings) << 1 << QStringList{"hlx", "BHS", "NWT", "ZEN"};
        QTest::newRow("P/E down, the empty one still last")
            << int(HoldingsModel::PriceEarnings) << 2 << QStringList{"NWT", "BHS", "hlx", "ZEN"};
        QTest::newRow("realized, stocks without trades last")
            << int(HoldingsModel::Realized) << 1 << QStringList{"hlx", "NWT", "ZEN", "BHS"};
    }
    void sort()
    {
        QFETCH(int, column);
        QFETCH(int, clicks);
        QFETCH(QStringList, tickers);
        for (const QVariantList &trade :
             QList<QVariantList>{{"HLX", "Sell", 2, 9}, {"NWT", "Sell", 1, 50}})
            QVERIFY(m_db->insert(QStringLiteral("Trades"),
                                 {"Ticker Symbol", "Action", "Shares", "Price", "Date"},
                                 trade + QVariantList{"2025-01-02"}));
        for (const char *ticker : {"HLX", "NWT"})
            QVERIFY(m_db->insert(QStringLiteral("Trades"),
                                 {"Ticker Symbol", "Action", "Shares", "Price", "Date"},
                                 {ticker, "Buy", 10, 10, "2025-01-01"}));
        screen()->unload();
        screen()->show();
        QTest::mouseClick(child<QCheckBox>(QStringLiteral("chkAllStocks")), Qt::LeftButton);
        auto *grid = child<QTableView>(QStringLiteral("grdHoldings"));
        grid->scrollTo(model()->index(0, column));
        QHeaderView *header = grid->horizontalHeader();
        const QPoint middle(header->sectionViewportPosition(column) +
                                header->sectionSize(column) / 2,
                            header->height() / 2);
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
        QCOMPARE(shownTickers(), tickers);
        QCOMPARE(text(QStringLiteral("lblTotalValue")), QStringLiteral("6000"));
    }

    // Texts sort by their full case folding (as Find compares them), however their rows were
    // written, a key the same in another case in stored order; missing ones come last.
    void sortByFoldedText_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("tickers");
        QTest::newRow("names up") << int(HoldingsModel::Name) << int(Qt::AscendingOrder)
                                  << QStringList{"C", "D", "A", "B", "E"};
        QTest::newRow("names down") << int(HoldingsModel::Name) << int(Qt::DescendingOrder)
                                    << QStringList{"B", "A", "C", "D", "E"};
        QTest::newRow("advice up") << int(HoldingsModel::Advice) << int(Qt::AscendingOrder)
                                   << QStringList{"B", "C", "D", "A", "E"};
    }
    void sortByFoldedText()
    {
        QFETCH(int, column);
        QFETCH(int, order);
        QFETCH(QStringList, tickers);
        QVERIFY(m_db->exec(QStringLiteral("DELETE FROM stocks")));
        // "ÉB" folds to "éb", after "éa" (SQLite's NOCASE would put it first); D is "STRASSE"
        // and C "Straße", the same once folded.
        const QList<QVariantList> stocks{{"éa", "A", 1, "hold"},
                                         {"ÉB", "B", 1, "Buy"},
                                         {"Straße", "C", 1, "buy"},
                                         {"other", "D", 1, "BUY"},
                                         {QVariant(), "E", 1, QVariant()}};
        for (const QVariantList &stock : stocks)
            QVERIFY(m_db->insert(QStringLiteral("stocks"),
                                 {"Name of Stock", "Ticker Symbol", "Shares Owned", "Advice"},
                                 stock));
        // Renamed by another program: its folded key is emptied, to be filled later.
        QVERIFY(m_db->exec(QStringLiteral(
            "UPDATE stocks SET \"Name of Stock\" = 'STRASSE' WHERE \"Ticker Symbol\" = 'D'")));
        screen()->unload();
        screen()->show();
        model()->sort(column, Qt::SortOrder(order));
        QCOMPARE(shownTickers(), tickers);
    }

    // A sort orders the rows selected, whatever happened to the table since: a stock added or
    // given shares stays out, one deleted keeps its row, so that the count and totals hold.
    void sortKeepsTheSelection_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("tickers");
        QTest::newRow("by name, read again")
            << int(HoldingsModel::Name) << QStringList{"hlx", "NWT", ""};
        QTest::newRow("by value, as selected")
            << int(HoldingsModel::Value) << QStringList{"hlx", "", "NWT"};
    }
    void sortKeepsTheSelection()
    {
        QFETCH(int, column);
        QFETCH(QStringList, tickers);
        screen()->unload();
        screen()->show();
        QVERIFY(m_db->exec(QStringLiteral("DELETE FROM stocks WHERE \"Ticker Symbol\" = 'ZEN'")));
        QVERIFY(m_db->exec(QStringLiteral(
            "UPDATE stocks SET \"Shares Owned\" = 10 WHERE \"Ticker Symbol\" = 'BHS'")));
        QVERIFY(m_db->insert(QStringLiteral("stocks"),
                             {"Name of Stock", "Ticker Symbol", "Shares Owned", "Current Price"},
                             {"Acme", "AAA", 5, 1}));
        model()->sort(column, Qt::AscendingOrder);
        QCOMPARE(shownTickers(), tickers);
    }

    // Only the rows on show are read, whatever the size of the table.
    void millionStocks()
    {
        QVERIFY(m_db->exec(QStringLiteral(
            "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n LIMIT 1000000) "
            "INSERT INTO stocks (\"Name of Stock\", \"Ticker Symbol\", \"Current Price\", "
            "\"Shares Owned\") SELECT 'Company ' || x, 'T' || x, 1, x % 4 FROM n")));
        screen()->unload();
        screen()->show();
        // Three in four of the million have shares, and the table's own three.
        QCOMPARE(model()->rowCount(), 750003);
        QCOMPARE(text(QStringLiteral("lblTotalValue")), QStringLiteral("1506000"));
        QVERIFY2(model()->rowsRead() < 1000, qPrintable(QString::number(model()->rowsRead())));
    }

    void chart_data()
    {
        QTest::addColumn<QList<QVariantList>>("prices");
        QTest::addColumn<bool>("compare");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("series");
        QTest::addColumn<bool>("trades");
        const QList<QVariantList> stock{{"NWT", "2025-03-03", 48, 47, 47.5},
                                        {"nwt", "2025-03-04", 51, 48, 50}};
        const QList<QVariantList> index{{"^GSPC", "2025-03-04", 5900, 5800, 5850}};
        const QStringList drawn{"52-week high and low", "Close", "Purchase price"};
        QTest::newRow("no history") << QList<QVariantList>{} << false
                                    << "No price history for NWT. Import prices from the File menu."
                                    << QStringList{} << false;
        QTest::newRow("history") << stock << false << "" << drawn << false;
        QTest::newRow("compared") << stock + index << true << ""
                                  << drawn + QStringList{"S&P 500, scaled"} << false;
        QTest::newRow("buys and sells marked")
            << stock << false << "" << drawn + QStringList{"Buys", "Sells"} << true;
    }
    void chart()
    {
        QFETCH(QList<QVariantList>, prices);
        QFETCH(bool, compare);
        QFETCH(QString, message);
        QFETCH(QStringList, series);
        QFETCH(bool, trades);
        // A buy on the first day of the chart, a sale on its last.
        for (const QVariantList &trade :
             QList<QVariantList>{{"2025-03-03", "Buy", 10, 48}, {"2025-03-04", "Sell", 5, 51}})
            QVERIFY(!trades || m_db->insert(QStringLiteral("Trades"),
                                            {"Date", "Action", "Shares", "Price", "Ticker Symbol"},
                                            trade + QVariantList{"NWT"}));
        for (const QVariantList &day : prices)
            QVERIFY(m_db->insert(QStringLiteral("Prices"),
                                 {"Ticker Symbol", "Date", "High", "Low", "Close"}, day));
        screen()->unload();
        screen()->show();
        if (compare)
            QTest::mouseClick(child<QCheckBox>(QStringLiteral("chkCompare")), Qt::LeftButton);
        auto *chart = child<ChartView>(QStringLiteral("chtPrice"));
        QCOMPARE(chart->message(), message);
        QStringList names;
        for (const QAbstractSeries *drawnSeries : chart->chart()->series())
            names << drawnSeries->name();
        QCOMPARE(names, series);
    }

    void goesHome_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("holdings") << "frmHoldings"
                                  << "Holdings Overview";
        QTest::newRow("scorecard") << "frmScorecard"
                                   << "Forecast Scorecard";
    }
    void goesHome()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        test::unloadAllScreens();
        Screen *target = ScreenRegistry::get(name);
        target->show();
        QCOMPARE(target->window()->windowTitle(), caption);
        QTest::mouseClick(test::control<QPushButton>(target, QStringLiteral("cmdHome")),
                          Qt::LeftButton);
        QVERIFY(!target->isLoaded());
        QVERIFY(test::mainWindow()->isLoaded());
    }

private:
    HoldingsModel *model() const
    {
        return qobject_cast<HoldingsModel *>(
            child<QTableView>(QStringLiteral("grdHoldings"))->model());
    }
    QStringList shownTickers() const
    {
        QStringList tickers;
        for (int row = 0; row < model()->rowCount(); ++row)
            tickers << model()->index(row, HoldingsModel::Ticker).data().toString();
        return tickers;
    }
};

VANTORA_TEST_MAIN(TstFrmHoldings)
#include "tst_frmholdings.moc"
