// SPDX-License-Identifier: GPL-3.0-or-later
// The investment planner, driven through its controls on a real temporary database.
#include "tests/support/screenfixture.h"

#include "app/registry.h"
#include "data/binding/datacontrol.h"
#include "data/store/schema.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <memory>

using namespace vantora;

namespace {

const QString kBuy = QStringLiteral("This is a great buy for the price");
const QString kWait = QStringLiteral("Wait for a while till the price goes down");
const QString kShort = QStringLiteral("This is a great time to short this stock");
const QString kAggressive = QStringLiteral("Buy this stock aggressively for a great gain");
const QString kNoAdvice = QStringLiteral("Sorry, There is no advice at the given time");

const QStringList kFields{"Name of Stock", "Ticker Symbol",   "Shares Owned", "Current Price",
                          "Money",         "Predicted Price", "52 Wk Lo",     "52 Wk Hi",
                          "Status",        "Advice"};

// Stored order differs from ticker order, so that "the first record" tells which order was used.
// The third stock has the second's price, so stepping there changes no price text.
const QList<QVariantList> kStocks{
    {"Northwind Traders", "NWT", 100, 12.5, 5000, 20, 10, 30, "Active", "Hold"},
    {"Acme Widgets", "ACM", 3, 0.1, 250, 0, 0.05, 0.5, "Watch", QVariant()},
    {"Blue Harbor Shipping", "BHS", 40, 0.1, 0, QVariant(), 0.02, 30, QVariant(), "Short"},
    {"Zenith Mining", "ZEN", 7, QVariant(), 80, 15, 9, 16, "New", QVariant()},
};

} // namespace

class TstForm2 : public QObject, public test::ScreenFixture
{
    Q_OBJECT

public:
    TstForm2()
        : ScreenFixture("Form2")
    {
    }

private Q_SLOTS:
    void init() { start(QStringLiteral("stocks"), kFields, kStocks); }
    void cleanup() { finish(); }

    void opensOnFirstStock();
    void advice_data();
    void advice();
    void storedZeroPredictionGivesNoAdvice();
    void shareValueFollowsPrice_data();
    void shareValueFollowsPrice();
    void shareValueFollowsRecords();
    void adviceStoredOnLeaving_data();
    void adviceStoredOnLeaving();
    void buyAndSellChangeNothing_data();
    void buyAndSellChangeNothing();

private:
    QString box(const QString &name) const { return text(name); }
    void typePrice(const QString &price) { retype(QStringLiteral("Text7"), price); }
    QVariant stored(const QString &ticker, const QString &field) const
    {
        return storedStock(ticker, field);
    }
};

void TstForm2::opensOnFirstStock()
{
    QCOMPARE(screen()->window()->windowTitle(), QStringLiteral("Investment Planner"));
    QCOMPARE(data()->caption(), QStringLiteral("I^P"));
    QCOMPARE(box("Text4"), QStringLiteral("Northwind Traders"));
    QCOMPARE(box("Text1"), QStringLiteral("5000"));
    const QStringList labels{text("Label15"), text("Label12"), text("Label2"),
                             text("Label18"), text("Label10"), text("Label17")};
    QCOMPARE(labels, (QStringList{"20", "10", "30", "Active", "Hold", "1250"}));
    QVERIFY(m_dialogs->requests().isEmpty());
}

void TstForm2::advice_data()
{
    QTest::addColumn<QString>("predicted");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("high");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("advice"); // Label10 after each message

    QTest::newRow("D 7.5: buy") << "20"
                                << "12.5"
                                << "30" << QStringList{kBuy} << QStringList{"Buy"};
    QTest::newRow("D 8: aggressive")
        << "20"
        << "12"
        << "30" << QStringList{kAggressive} << QStringList{"Buy Aggresively"};
    QTest::newRow("D 8, E 1: short then aggressive")
        << "20"
        << "12"
        << "13" << QStringList{kShort, kAggressive} << QStringList{"Short", "Buy Aggresively"};
    QTest::newRow("D -1: wait") << "20"
                                << "21"
                                << "30" << QStringList{kWait} << QStringList{"Sell, Wait"};
    QTest::newRow("D -15: wait") << "10"
                                 << "25"
                                 << "30" << QStringList{kWait} << QStringList{"Sell, Wait"};
    QTest::newRow("D -15.5: short") << "10"
                                    << "25.5"
                                    << "30" << QStringList{kShort} << QStringList{"Short"};
    QTest::newRow("D 5, E 1: buy then short")
        << "20"
        << "15"
        << "16" << QStringList{kBuy, kShort} << QStringList{"Buy", "Short"};
    QTest::newRow("D 0: buy") << "20"
                              << "20"
                              << "30" << QStringList{kBuy} << QStringList{"Buy"};
    QTest::newRow("D 2, E 2: buy then short")
        << "30"
        << "28"
        << "30" << QStringList{kBuy, kShort} << QStringList{"Buy", "Short"};
    QTest::newRow("E 2.5: no short") << "30"
                                     << "28"
                                     << "30.5" << QStringList{kBuy} << QStringList{"Buy"};
    QTest::newRow("D -5, E -5: wait then short")
        << "20"
        << "25"
        << "20" << QStringList{kWait, kShort} << QStringList{"Sell, Wait", "Short"};
    QTest::newRow("caption 0: no advice only")
        << "0"
        << "12.5"
        << "13" << QStringList{kNoAdvice} << QStringList{"No advice"};
    QTest::newRow("empty prediction, P 10: wait")
        << ""
        << "10"
        << "30" << QStringList{kWait} << QStringList{"Sell, Wait"};
    QTest::newRow("empty prediction, P 20: short")
        << ""
        << "20"
        << "30" << QStringList{kShort} << QStringList{"Short"};
    QTest::newRow("caption 0.0 is advised")
        << "0.0"
        << "10"
        << "30" << QStringList{kWait} << QStringList{"Sell, Wait"};
    QTest::newRow("lenient texts")
        << " 2 0abc"
        << "12,5"
        << "$30" << QStringList{kShort, kAggressive} << QStringList{"Short", "Buy Aggresively"};
}

void TstForm2::advice()
{
    QFETCH(QString, predicted);
    QFETCH(QString, price);
    QFETCH(QString, high);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, advice);

    child<QLabel>(QStringLiteral("Label15"))->setText(predicted);
    child<QLabel>(QStringLiteral("Label2"))->setText(high);
    typePrice(price);

    // Each message comes before its advice word is set.
    QStringList adviceWhileShown;
    QList<DialogRequest> requests;
    {
        const auto restore =
            qScopeGuard([previous = dialogHandler()] { setDialogHandler(previous); });
        setDialogHandler([&](const DialogRequest &request) {
            requests << request;
            adviceWhileShown << text(QStringLiteral("Label10"));
            return DialogReply{};
        });
        click(QStringLiteral("Command4"));
    }

    QStringList texts;
    for (const DialogRequest &request : requests) {
        QCOMPARE(request.kind, DialogRequest::Message);
        QCOMPARE(request.style, int(OkOnly));
        QCOMPARE(request.title, QString::fromUtf8(kAppTitle));
        texts << request.text;
    }
    QCOMPARE(texts, messages);
    QCOMPARE(adviceWhileShown, QStringList{"Hold"} + advice.mid(0, advice.size() - 1));
    QCOMPARE(text("Label10"), advice.last());
}

void TstForm2::storedZeroPredictionGivesNoAdvice()
{
    click(QStringLiteral("Next"));
    QCOMPARE(text("Label15"), QStringLiteral("0"));
    click(QStringLiteral("Command4"));
    QCOMPARE(m_dialogs->messages(), QStringList{kNoAdvice});
    QCOMPARE(text("Label10"), QStringLiteral("No advice"));
}

void TstForm2::shareValueFollowsPrice_data()
{
    QTest::addColumn<QString>("shares");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("value");

    QTest::newRow("100 at 12.5") << "100"
                                 << "12.5"
                                 << "1250";
    QTest::newRow("3 at 0.1, unrounded") << "3"
                                         << "0.1" << test::shown("0.3");
    QTest::newRow("10000 at 9.16666666666667")
        << "10000"
        << "9.16666666666667" << test::shown("91666.6666666667");
    QTest::newRow("no shares") << ""
                               << "12.5"
                               << "0";
    QTest::newRow("price cleared") << "100"
                                   << ""
                                   << "0";
    QTest::newRow("lenient") << "1,000"
                             << "2.5 dollars" << test::shown("2.5");
    QTest::newRow("huge product, no inf") << "1E200"
                                          << "1E200"
                                          << "";
}

void TstForm2::shareValueFollowsPrice()
{
    QFETCH(QString, shares);
    QFETCH(QString, price);
    QFETCH(QString, value);

    child<QLineEdit>(QStringLiteral("Text6"))->setText(shares);
    QCOMPARE(text("Label17"), QStringLiteral("1250")); // shares alone change nothing
    typePrice(price);
    QCOMPARE(text("Label17"), value);

    QTest::keyClicks(child<QLineEdit>(QStringLiteral("Text6")), QStringLiteral("7"));
    QCOMPARE(text("Label17"), value);
}

void TstForm2::shareValueFollowsRecords()
{
    const QString step[] = {"Next", "Next", "Next", "Previous", "First", "Last"};
    const QStringList expected{"0.3", "4", "0", "4", "1250", "0"};
    QStringList values;
    for (const QString &button : step) {
        click(button);
        values << text("Label17");
    }
    QStringList shownExpected;
    for (const QString &value : expected)
        shownExpected << test::shown(value);
    QCOMPARE(values, shownExpected);
    QVERIFY(m_dialogs->requests().isEmpty());
}

void TstForm2::adviceStoredOnLeaving_data()
{
    QTest::addColumn<bool>("closeScreen");
    QTest::newRow("step away and back") << false;
    QTest::newRow("close the screen") << true;
}

void TstForm2::adviceStoredOnLeaving()
{
    QFETCH(bool, closeScreen);

    click(QStringLiteral("Command4"));
    QCOMPARE(text("Label10"), QStringLiteral("Buy"));
    QCOMPARE(stored("NWT", "Advice").toString(), QStringLiteral("Hold")); // not before leaving

    if (closeScreen) {
        QVERIFY(screen()->unload());
    } else {
        click(QStringLiteral("Next"));
        QCOMPARE(text("Label10"), QString());
        click(QStringLiteral("Previous"));
        QCOMPARE(text("Label10"), QStringLiteral("Buy"));
        QCOMPARE(text("Label17"), QStringLiteral("1250"));
    }
    QCOMPARE(stored("NWT", "Advice").toString(), QStringLiteral("Buy"));
    QCOMPARE(stored("NWT", "Predicted Price").toDouble(), 20.0);
    QCOMPARE(stored("NWT", "Current Price").toDouble(), 12.5);
    QCOMPARE(stored("NWT", "Shares Owned").toDouble(), 100.0);
    QCOMPARE(stored("NWT", "Money").toDouble(), 5000.0);
    QCOMPARE(stored("NWT", "Status").toString(), QStringLiteral("Active"));
}

void TstForm2::buyAndSellChangeNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");

    const QString buy = QStringLiteral("Are you sure you want to buy this stock? ");
    const QString sell = QStringLiteral("Are you sure you want to sell this stock? ");
    QTest::newRow("buy, OK") << "Command2" << int(AnswerOk) << buy << "Buy Stock";
    QTest::newRow("buy, Cancel") << "Command2" << int(AnswerCancel) << buy << "Buy Stock";
    QTest::newRow("sell, OK") << "Command3" << int(AnswerOk) << sell << "Sell Shares";
    QTest::newRow("sell, Cancel") << "Command3" << int(AnswerCancel) << sell << "Sell Shares";
}

void TstForm2::buyAndSellChangeNothing()
{
    QFETCH(QString, button);
    QFETCH(int, answer);
    QFETCH(QString, message);
    QFETCH(QString, title);

    m_dialogs->answerButton(answer);
    click(button);

    QCOMPARE(m_dialogs->requests().size(), 1);
    QCOMPARE(m_dialogs->requests()[0].text, message);
    QCOMPARE(m_dialogs->requests()[0].title, title);
    QCOMPARE(m_dialogs->requests()[0].style, int(OkCancel));
    QVERIFY(!data()->hasChanges());
    QCOMPARE(box("Text6"), QStringLiteral("100"));
    QCOMPARE(box("Text1"), QStringLiteral("5000"));
    QCOMPARE(text("Label17"), QStringLiteral("1250"));
    QVERIFY(screen()->unload());
    QCOMPARE(stored("NWT", "Shares Owned").toDouble(), 100.0);
    QCOMPARE(stored("NWT", "Money").toDouble(), 5000.0);
}

VANTORA_TEST_MAIN(TstForm2)
#include "tst_form2.moc"
