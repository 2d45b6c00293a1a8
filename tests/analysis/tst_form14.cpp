// SPDX-License-Identifier: GPL-3.0-or-later
// The ratings screen, driven through its controls on a real temporary database.
#include "tests/support/screenfixture.h"

#include "analysis/Form14.h"
#include "app/registry.h"
#include "data/binding/datacontrol.h"
#include "data/store/schema.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <cmath>
#include <memory>

using namespace vantora;
using Figures = QList<double>; // L, T, N, H, W, P, S, G, M, one, B, O, Q

namespace {

const QStringList kResultLabels{"Label8", "Label11", "Label12", "Label13", "Label14"};
const QStringList kWorkedExample{"2", "3", "4", "50", "30", "40"};
// The figures of the worked example; S is 4 + 10 + 40/3.
const Figures kWorkedFigures{2, 3, 4, 50, 30, 40, 27.333333333333336, 770, 404, 1, 52, 1182, 53.5};

bool near(double a, double b)
{
    return a == b || std::abs(a - b) <= 1e-12 * std::max(std::abs(a), std::abs(b));
}

struct Stock
{
    const char *name;
    const char *ticker;
    double price, last, thisYear, next, high, low;
    const char *analystRating;
    double safety, growth, marketCap, overall, target;
};

// Stored order differs from both name and ticker order, so that "the first record" tells which
// order a command used.
const Stock kStocks[] = {
    {"Northwind Traders", "NWT", 40, 2, 3, 4, 50, 30, "Buy", 12.5, 7, 8, 9, 10},
    {"Acme Widgets", "ZZW", 25, 1, 2, 3, 30, 20, "Hold", 1, 2, 3, 4, 5},
    {"Blue Harbor Shipping", "BHS", 18, 1.5, 1.8, 2.1, 22, 15, "Sell", 6, 7, 8, 9, 11},
};

} // namespace

class TstForm14 : public QObject, public test::ScreenFixture
{
    Q_OBJECT

public:
    TstForm14()
        : ScreenFixture("Form14")
    {
    }

private Q_SLOTS:
    void init();
    void cleanup() { finish(); }

    void opensOnFirstStockWithNothingChosen();
    void calculation_data();
    void calculation();
    void buyTargetBrackets_data();
    void buyTargetBrackets();
    void failures_data();
    void failures();
    void figuresStartAtZeroOnEveryLoad();
    void resultStoredOnLeavingRecord_data();
    void resultStoredOnLeavingRecord();
    void findByNameDeselectsRating_data();
    void findByNameDeselectsRating();

private:
    Form14 *ratings() const { return qobject_cast<Form14 *>(screen()); }
    QStringList resultTexts() const;
    void setInputs(const QStringList &six);
    void calculate(const QString &option);
    Figures figures() const;
    void compareFigures(const Figures &expected) const;
    QVariant stored(const QString &ticker, const QString &field) const
    {
        return storedStock(ticker, field);
    }
};

void TstForm14::init()
{
    QList<QVariantList> rows;
    for (const Stock &s : kStocks)
        rows << QVariantList{s.name,   s.ticker,    s.price,   s.last,          s.thisYear,
                             s.next,   s.high,      s.low,     s.analystRating, s.safety,
                             s.growth, s.marketCap, s.overall, s.target};
    start(QStringLiteral("stocks"),
          {"Name of Stock", "Ticker Symbol", "Current Price", "Last Years Earnings",
           "This Years Earnings", "Next Years Earnings", "52 Wk Hi", "52 Wk Lo", "AnalystRating",
           "Safety Rating", "Growth", "Market Cap", "Overall Rating", "Buy\\Target Price"},
          rows);
}

QStringList TstForm14::resultTexts() const
{
    QStringList texts;
    for (const QString &name : kResultLabels)
        texts << text(name);
    return texts;
}

void TstForm14::setInputs(const QStringList &six)
{
    for (int i = 0; i < 6; ++i)
        child<QLineEdit>(QStringLiteral("Text%1").arg(3 + i))->setText(six.at(i));
}

void TstForm14::calculate(const QString &option)
{
    if (!option.isEmpty())
        click(option);
    click(QStringLiteral("Command1"));
}

Figures TstForm14::figures() const
{
    const Form14::Figures &f = ratings()->figures();
    return {f.L, f.T, f.N, f.H, f.W, f.P, f.S, f.G, f.M, f.one, f.B, f.O, f.Q};
}

void TstForm14::compareFigures(const Figures &expected) const
{
    static const char *const names[] = {"L", "T", "N",   "H", "W", "P", "S",
                                        "G", "M", "one", "B", "O", "Q"};
    const Figures actual = figures();
    for (int i = 0; i < 13; ++i)
        QVERIFY2(near(actual[i], expected[i]),
                 qPrintable(QStringLiteral("%1 is %2, expected %3")
                                .arg(QLatin1String(names[i]), QString::number(actual[i], 'g', 17),
                                     QString::number(expected[i], 'g', 17))));
}

void TstForm14::opensOnFirstStockWithNothingChosen()
{
    QCOMPARE(screen()->window()->windowTitle(), QStringLiteral("Kestrel Ratings"));
    QCOMPARE(child<DataControl>("Data1")->caption(), QStringLiteral("High Finance"));
    QCOMPARE(child<QLineEdit>("Text1")->text(), QStringLiteral("Northwind Traders"));
    QCOMPARE(child<QLineEdit>("Text9")->text(), QStringLiteral("Buy"));
    QCOMPARE(resultTexts(),
             QStringList({"12.5", "7", "8", "9", "10"}).replaceInStrings(".", test::shown(".")));
    for (const char *option : {"Option1", "Option2", "Option3", "Option4", "Option5", "Option6"})
        QVERIFY2(!child<QRadioButton>(option)->isChecked(), option);
    compareFigures(Figures(13, 0.0));
}

void TstForm14::calculation_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("result");
    QTest::addColumn<Figures>("expected");

    const QStringList priceAboveHigh{"2", "3", "4", "50", "30", "60"};
    // S 4 + 10 + 20, G (80 - 2) x 10 + 10, B -10 + 47, O Int(1229 - 30), Q B + 1.5.
    const Figures aboveHigh{2, 3, 4, 50, 30, 60, 34, 790, 404, 1, 37, 1199, 38.5};
    const QStringList earningsFalling{"10", "5", "4", "50", "30", "40"};
    // S 20 + 16.66... + 8, G (80 - 10) x 10 - 10, B 10 + 34, O Int(1139.66... - 4).
    const Figures falling{10, 5, 4, 50, 30, 40, 44.666666666666671, 690, 404, 1, 44, 1135, 45.5};

    QTest::newRow("worked example, stock safety")
        << kWorkedExample << "Option1"
        << "Label8" << test::shown("27.3333333333333") << kWorkedFigures;
    QTest::newRow("worked example, growth shows (H-W)(N-L)10-(H-P), not G")
        << kWorkedExample << "Option2"
        << "Label11"
        << "390" << kWorkedFigures;
    QTest::newRow("worked example, market cap shows (H-W)^2-N, not M")
        << kWorkedExample << "Option3"
        << "Label12"
        << "396" << kWorkedFigures;
    QTest::newRow("worked example, overall rating rounds before subtracting P/L")
        << kWorkedExample << "Option5"
        << "Label13"
        << "1182" << kWorkedFigures;
    QTest::newRow("worked example, buy price/target")
        << kWorkedExample << "Option6"
        << "Label14" << test::shown("53.5") << kWorkedFigures;
    QTest::newRow("inputs read leniently")
        << QStringList{" 2", "3 ", "4abc", "5E1", "3 0", "40.0"} << "Option6"
        << "Label14" << test::shown("53.5") << kWorkedFigures;
    QTest::newRow("price above the high: growth uses negative H-P") << priceAboveHigh << "Option2"
                                                                    << "Label11"
                                                                    << "410" << aboveHigh;
    QTest::newRow("price above the high: market cap") << priceAboveHigh << "Option3"
                                                      << "Label12"
                                                      << "396" << aboveHigh;
    QTest::newRow("price above the high: overall rating") << priceAboveHigh << "Option5"
                                                          << "Label13"
                                                          << "1199" << aboveHigh;
    QTest::newRow("earnings falling: negative growth shown") << earningsFalling << "Option2"
                                                             << "Label11"
                                                             << "-1210" << falling;
    QTest::newRow("earnings falling: safety rating")
        << earningsFalling << "Option1"
        << "Label8" << test::shown("44.6666666666667") << falling;
    QTest::newRow("overall rating is not an integer when P/L is not")
        << QStringList{"3", "5", "4", "50", "30", "40"} << "Option5"
        << "Label13" << test::shown("1181.66666666667")
        << Figures{3, 5, 4, 50, 30, 40, 30.666666666666664, 760, 404, 1, 51, 1182, 52.5};
}

void TstForm14::calculation()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, option);
    QFETCH(QString, label);
    QFETCH(QString, result);
    QFETCH(Figures, expected);

    QStringList labels = resultTexts();
    setInputs(inputs);
    calculate(option);

    labels[kResultLabels.indexOf(label)] = result;
    QCOMPARE(resultTexts(), labels); // the chosen label changes, and only that one
    compareFigures(expected);
    QVERIFY(m_dialogs->messages().isEmpty());
}

void TstForm14::buyTargetBrackets_data()
{
    QTest::addColumn<QString>("next");
    QTest::addColumn<double>("O");
    QTest::addColumn<double>("B");
    QTest::addColumn<QString>("Q");

    // With L = T = H = W = 1 and P = 0: O = Int(N + 190) and B = N + 1.
    QTest::newRow("O 999: the buy base") << "809" << 999.0 << 810.0 << "810";
    QTest::newRow("O 1000: plus 1.5") << "810" << 1000.0 << 811.0 << test::shown("812.5");
    QTest::newRow("O 2000: plus 1.5") << "1810" << 2000.0 << 1811.0 << test::shown("1812.5");
    QTest::newRow("O 2001: plus 3") << "1811" << 2001.0 << 1812.0 << "1815";
    QTest::newRow("O 3000: plus 3") << "2810" << 3000.0 << 2811.0 << "2814";
    QTest::newRow("O 3001: plus 4") << "2811" << 3001.0 << 2812.0 << "2816";
    QTest::newRow("O 999.75 rounds down to 999")
        << "809.75" << 999.0 << 810.75 << test::shown("810.75");
    QTest::newRow("O -10.5 rounds down to -11")
        << "-200.5" << -11.0 << -199.5 << test::shown("-199.5");
}

void TstForm14::buyTargetBrackets()
{
    QFETCH(QString, next);
    QFETCH(double, O);
    QFETCH(double, B);
    QFETCH(QString, Q);

    setInputs({"1", "1", next, "1", "1", "0"});
    calculate(QStringLiteral("Option6"));

    QCOMPARE(ratings()->figures().O, O);
    QCOMPARE(ratings()->figures().B, B);
    QCOMPARE(text(QStringLiteral("Label14")), Q);
    QVERIFY(m_dialogs->messages().isEmpty());
}

void TstForm14::failures_data()
{
    QTest::addColumn<bool>("afterWorkedExample");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("messages");
    QTest::addColumn<Figures>("expected");

    const QStringList hZero{"5", "3", "4", "0", "30", "40"};
    const Figures before = kWorkedFigures;
    auto readThenKept = [&](Figures read) { return read + before.mid(6); };

    // Steps 3 to 12 still run: G ((-30) x 4 - 5) x 10 + 40, M 900 + 4, B -40 + 39,
    // O Int(S - 1210 + 904 + 1 - 8).
    QTest::newRow("H 0, L 5: one message, S stays 0")
        << false << hZero << "" << 1 << Figures{5, 3, 4, 0, 30, 40, 0, -1210, 904, 1, -1, -313, -1};
    QTest::newRow("H 0, L 5 with stock safety: a second message")
        << false << hZero << "Option1" << 2
        << Figures{5, 3, 4, 0, 30, 40, 0, -1210, 904, 1, -1, -313, -1};
    QTest::newRow("H 0 after a good click: the old S goes into O")
        << true << hZero << "Option1" << 2
        << Figures{5, 3, 4, 0, 30, 40, 27.333333333333336, -1210, 904, 1, -1, -286, -1};
    QTest::newRow("x/0 before 0/0 in one step: message, and the calculation goes on")
        << false << QStringList{"5", "0", "4", "0", "0", "40"} << "" << 1
        << Figures{5, 0, 4, 0, 0, 40, 0, -10, 4, 1, -31, -13, -31};
    QTest::newRow("T 0 with a price: safety skipped twice")
        << false << QStringList{"2", "0", "4", "50", "30", "40"} << "Option1" << 2
        << Figures{2, 0, 4, 50, 30, 40, 0, 770, 404, 1, 52, 1155, 53.5};
    QTest::newRow("N 0: the buy base keeps its value, Q uses it")
        << true << QStringList{"2", "3", "0", "50", "30", "40"} << "" << 1
        << Figures{2, 3, 0, 50, 30, 40, 27.333333333333336, -30, 400, 1, 52, 378, 52};
    QTest::newRow("L 0: O keeps its value, overall rating skipped twice")
        << true << QStringList{"0", "3", "4", "50", "30", "40"} << "Option5" << 2
        << Figures{0, 3, 4, 50, 30, 40, 23.333333333333332, 790, 404, 1, 54, 1182, 55.5};

    QTest::newRow("all empty: stops at step 2 silently")
        << true << QStringList(6, QString()) << "Option6" << 0 << readThenKept({0, 0, 0, 0, 0, 0});
    QTest::newRow("all empty on a fresh screen: nothing after reading")
        << false << QStringList(6, QString()) << "Option1" << 0 << Figures(13, 0.0);
    QTest::newRow("0/0 before x/0 in one step: stops silently")
        << true << QStringList{"0", "3", "4", "0", "0", "40"} << "Option1" << 0
        << readThenKept({0, 3, 4, 0, 0, 40});
    QTest::newRow("L and P 0: stops at O, earlier figures keep their new values")
        << true << QStringList{"0", "3", "4", "50", "30", "0"} << "Option6" << 0
        << Figures{0, 3, 4, 50, 30, 0, 10, 750, 404, 1, 84, 1182, 53.5};
    QTest::newRow("overflow of (H-W)^2: stops at M")
        << true << QStringList{"2", "3", "4", "1e200", "-1e200", "40"} << "Option3" << 0
        << Figures{2, 3, 4, 1e200, -1e200, 40, 40.0 / 3, 7.9e201, 404, 1, 52, 1182, 53.5};
    QTest::newRow("overflow of (H-W)(N)10: stops at G")
        << true << QStringList{"2", "3", "4", "1e307", "-1e307", "40"} << "Option2" << 0
        << Figures{2, 3, 4, 1e307, -1e307, 40, 40.0 / 3, 770, 404, 1, 52, 1182, 53.5};
    QTest::newRow("a number too large to read: stops at that box")
        << true << QStringList{"7", "8", "9", "1e999", "99", "99"} << "Option1" << 0
        << Figures{7, 8, 9, 50, 30, 40, 27.333333333333336, 770, 404, 1, 52, 1182, 53.5};
}

void TstForm14::failures()
{
    QFETCH(bool, afterWorkedExample);
    QFETCH(QStringList, inputs);
    QFETCH(QString, option);
    QFETCH(int, messages);
    QFETCH(Figures, expected);

    if (afterWorkedExample) {
        setInputs(kWorkedExample);
        calculate({});
        compareFigures(kWorkedFigures);
    }
    const QStringList labels = resultTexts();
    setInputs(inputs);
    calculate(option);

    QCOMPARE(resultTexts(), labels);
    compareFigures(expected);
    QCOMPARE(m_dialogs->messages(), QStringList(messages, Form14::computerError()));
    for (const DialogRequest &request : m_dialogs->requests()) {
        QCOMPARE(request.title, QString::fromLatin1(kAppTitle));
        QCOMPARE(request.style, int(OkOnly));
    }
}

void TstForm14::figuresStartAtZeroOnEveryLoad()
{
    setInputs(kWorkedExample);
    calculate(QStringLiteral("Option5"));
    compareFigures(kWorkedFigures);

    screen()->unload();
    test::flushDeletes();
    screen()->show();
    compareFigures(Figures(13, 0.0));
    QVERIFY(!child<QRadioButton>("Option5")->isChecked());

    // A failed safety step now leaves S at 0 rather than at the last visit's figure.
    setInputs({"5", "3", "4", "0", "30", "40"});
    calculate({});
    QCOMPARE(ratings()->figures().S, 0.0);
    QCOMPARE(ratings()->figures().O, -313.0);
}

void TstForm14::resultStoredOnLeavingRecord_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("byClosing");

    QTest::newRow("safety, step away and back") << "Option1"
                                                << "Label8"
                                                << "Safety Rating" << 27.3333333333333 << false;
    QTest::newRow("growth, step away and back") << "Option2"
                                                << "Label11"
                                                << "Growth" << 390.0 << false;
    QTest::newRow("market cap, step away and back") << "Option3"
                                                    << "Label12"
                                                    << "Market Cap" << 396.0 << false;
    QTest::newRow("overall, step away and back") << "Option5"
                                                 << "Label13"
                                                 << "Overall Rating" << 1182.0 << false;
    QTest::newRow("buy/target, step away and back") << "Option6"
                                                    << "Label14"
                                                    << "Buy\\Target Price" << 53.5 << false;
    QTest::newRow("safety, close the screen") << "Option1"
                                              << "Label8"
                                              << "Safety Rating" << 27.3333333333333 << true;
    QTest::newRow("buy/target, close the screen") << "Option6"
                                                  << "Label14"
                                                  << "Buy\\Target Price" << 53.5 << true;
}

void TstForm14::resultStoredOnLeavingRecord()
{
    QFETCH(QString, option);
    QFETCH(QString, label);
    QFETCH(QString, field);
    QFETCH(double, value);
    QFETCH(bool, byClosing);

    const double before = stored("NWT", field).toDouble();
    calculate(option); // the first stock holds the worked example's inputs
    const QString result = text(label);
    QCOMPARE(stored("NWT", field).toDouble(), before); // not before the record is left

    if (byClosing) {
        screen()->window()->close();
        QVERIFY(!screen()->isLoaded());
        test::flushDeletes();
        QCOMPARE(stored("NWT", field).toDouble(), value);
        screen()->show();
    } else {
        click(QStringLiteral("Next"));
        QCOMPARE(child<QLineEdit>("Text1")->text(), QStringLiteral("Acme Widgets"));
        QCOMPARE(stored("NWT", field).toDouble(), value);
        click(QStringLiteral("Previous"));
    }
    QCOMPARE(child<QLineEdit>("Text1")->text(), QStringLiteral("Northwind Traders"));
    QCOMPARE(text(label), result);
    QVERIFY(m_dialogs->messages().isEmpty());
}

void TstForm14::findByNameDeselectsRating_data()
{
    QTest::addColumn<QString>("option");
    for (const char *option : {"Option1", "Option2", "Option3", "Option5", "Option6"})
        QTest::newRow(option) << option;
}

void TstForm14::findByNameDeselectsRating()
{
    QFETCH(QString, option);

    setInputs({"1", "1", "1", "1", "1", "1"});
    calculate(option);
    const QStringList labels = resultTexts();

    click(QStringLiteral("Option4"));
    QVERIFY(!child<QRadioButton>(option)->isChecked());
    setInputs(kWorkedExample);
    click(QStringLiteral("Command1"));

    QCOMPARE(resultTexts(), labels);
    compareFigures(kWorkedFigures); // the calculation itself still runs
}

VANTORA_TEST_MAIN(TstForm14)
#include "tst_form14.moc"
