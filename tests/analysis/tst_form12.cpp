// SPDX-License-Identifier: GPL-3.0-or-later
// The portfolio screen, driven through its controls on a real temporary database.
#include "tests/support/screenfixture.h"

#include "app/registry.h"
#include "data/binding/datacontrol.h"
#include "data/store/schema.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <memory>

using namespace vantora;

namespace {

const QString kNoEarnings = QStringLiteral("Next year's earnings must not be 0 for this figure.");

const QStringList kFields{"Name of Stock", "Ticker Symbol",     "Stock Exchange",
                          "Current Price", "Purchase Price",    "Next Years Earnings",
                          "Shares Owned",  "Analyst's Comments"};

// Stored order differs from name order, so that "the first record" tells which order was used.
const QList<QVariantList> kStocks{
    {"Northwind Traders", "NWT", "NYSE", 50, 40, 5, 100, "Steady grower"},
    {"Zenith Mining", "ZEN", "NASDAQ", 45, 50, 10, 20, "Cheap"},
    {"Blue Harbor Shipping", "BHS", "AMEX", 30, 40, 0, 10, QVariant()},
};

} // namespace

class TstForm12 : public QObject, public test::ScreenFixture
{
    Q_OBJECT

public:
    TstForm12()
        : ScreenFixture("Form12")
    {
    }

private Q_SLOTS:
    void init() { start(QStringLiteral("stocks"), kFields, kStocks); }
    void cleanup() { finish(); }

    void opensOnFirstStock();
    void figures_data();
    void figures();
    void noEarnings_data();
    void noEarnings();
    void labelUnchanged_data();
    void labelUnchanged();
    void exchangeNeverStored_data();
    void exchangeNeverStored();

private:
    QString box(const QString &name) const { return text(name); }
    QString result() const { return text(QStringLiteral("Label8")); }
    void setInputs(const QStringList &cbes);
    void calculate(const QString &option);
    QVariant stored(const QString &ticker, const QString &field) const
    {
        return storedStock(ticker, field);
    }
};

// C, B, E and S into Text3, Text4, Text5 and Text6.
void TstForm12::setInputs(const QStringList &cbes)
{
    const char *const boxes[] = {"Text3", "Text4", "Text5", "Text6"};
    for (int i = 0; i < 4; ++i) {
        QLineEdit *edit = child<QLineEdit>(QString::fromLatin1(boxes[i]));
        edit->clear();
        QTest::keyClicks(edit, cbes.at(i));
    }
}

void TstForm12::calculate(const QString &option)
{
    if (!option.isEmpty())
        click(option);
    click(QStringLiteral("Command1"));
}

void TstForm12::opensOnFirstStock()
{
    QCOMPARE(screen()->window()->windowTitle(), QStringLiteral("Portfolio"));
    QCOMPARE(data()->caption(), QStringLiteral("Stock"));
    QCOMPARE(box("Text1"), QStringLiteral("Northwind Traders"));
    QCOMPARE(box("Text7"), QStringLiteral("Steady grower"));
    QCOMPARE(result(), QStringLiteral("NYSE"));
    for (int i = 1; i <= 5; ++i)
        QVERIFY(!child<QRadioButton>(QStringLiteral("Option%1").arg(i))->isChecked());
}

void TstForm12::figures_data()
{
    QTest::addColumn<QStringList>("cbes");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("figure");

    const QStringList worked{"50", "40", "5", "100"};
    QTest::newRow("worked: P/E (C)") << worked << "Option1"
                                     << "10";
    QTest::newRow("worked: profit") << worked << "Option2"
                                    << "1000";
    QTest::newRow("worked: money spent") << worked << "Option3"
                                         << "4000";
    QTest::newRow("worked: P/E (B)") << worked << "Option4"
                                     << "8";
    QTest::newRow("worked: rating") << worked << "Option5"
                                    << "987";

    const QStringList loss{"30", "40", "5", "100"};
    QTest::newRow("loss") << loss << "Option2"
                          << "-1000";
    QTest::newRow("loss lowers the rating") << loss << "Option5"
                                            << "-1009";
    QTest::newRow("negative earnings: P/E (C) rounds down")
        << QStringList{"50", "40", "-3", "100"} << "Option1"
        << "-17";
    QTest::newRow("negative earnings: P/E (B) rounds down")
        << QStringList{"50", "40", "-3", "100"} << "Option4"
        << "-14";
    QTest::newRow("P/E 4.5 shows 4") << QStringList{"45", "40", "10", "1"} << "Option1"
                                     << "4";
    QTest::newRow("rating -1.5 shows -2") << QStringList{"1", "0", "-2", "0"} << "Option5"
                                          << "-2";
    QTest::newRow("rating 1.5 shows 1") << QStringList{"1", "0", "2", "0"} << "Option5"
                                        << "1";
    QTest::newRow("profit unrounded")
        << QStringList{"10.25", "10", "5", "3"} << "Option2" << test::shown("0.75");
    QTest::newRow("money spent unrounded")
        << QStringList{"1", "0.1", "5", "3"} << "Option3" << test::shown("0.3");
    QTest::newRow("lenient texts") << QStringList{"50abc", "4e1", " 5", "1,000"} << "Option3"
                                   << "40";
}

void TstForm12::figures()
{
    QFETCH(QStringList, cbes);
    QFETCH(QString, option);
    QFETCH(QString, figure);

    setInputs(cbes);
    calculate(option);
    QCOMPARE(result(), figure);
    QVERIFY(m_dialogs->requests().isEmpty());
}

void TstForm12::noEarnings_data()
{
    QTest::addColumn<QString>("earnings");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("figure"); // empty: the message instead

    QTest::newRow("0, P/E (C)") << "0"
                                << "Option1"
                                << "";
    QTest::newRow("empty, P/E (B)") << ""
                                    << "Option4"
                                    << "";
    QTest::newRow("text, rating") << "n/a"
                                  << "Option5"
                                  << "";
    QTest::newRow("0.0, rating") << "0.0"
                                 << "Option5"
                                 << "";
    QTest::newRow("empty, profit still shown") << ""
                                               << "Option2"
                                               << "1000";
    QTest::newRow("0, money spent still shown") << "0"
                                                << "Option3"
                                                << "4000";
}

void TstForm12::noEarnings()
{
    QFETCH(QString, earnings);
    QFETCH(QString, option);
    QFETCH(QString, figure);

    setInputs({"50", "40", earnings, "100"});
    calculate(option);
    if (!figure.isEmpty()) {
        QCOMPARE(result(), figure);
        QVERIFY(m_dialogs->requests().isEmpty());
        return;
    }
    QCOMPARE(result(), QStringLiteral("NYSE"));
    QCOMPARE(m_dialogs->messages(), QStringList{kNoEarnings});
    QCOMPARE(m_dialogs->requests()[0].title, QString::fromUtf8(kAppTitle));
    QCOMPARE(m_dialogs->requests()[0].style, int(OkOnly));
}

void TstForm12::labelUnchanged_data()
{
    QTest::addColumn<QStringList>("cbes");
    QTest::addColumn<QString>("option");

    QTest::newRow("no option chosen") << QStringList{"50", "40", "5", "100"} << "";
    QTest::newRow("P/E (C) overflows") << QStringList{"1E300", "40", "1E-300", "1"} << "Option1";
    QTest::newRow("profit overflows") << QStringList{"1E300", "-1E300", "5", "1E300"} << "Option2";
    QTest::newRow("profit inf - inf") << QStringList{"1E300", "1E300", "5", "1E300"} << "Option2";
    QTest::newRow("money spent overflows") << QStringList{"1", "1E300", "5", "1E300"} << "Option3";
    QTest::newRow("P/E (B) overflows") << QStringList{"1", "1E300", "1E-300", "1"} << "Option4";
    QTest::newRow("rating overflows") << QStringList{"1E300", "40", "5", "1E300"} << "Option5";
}

void TstForm12::labelUnchanged()
{
    QFETCH(QStringList, cbes);
    QFETCH(QString, option);

    // The result of an earlier calculation stays as it is.
    setInputs({"50", "40", "5", "100"});
    calculate(QStringLiteral("Option3"));
    QCOMPARE(result(), QStringLiteral("4000"));

    setInputs(cbes);
    calculate(option);
    QCOMPARE(result(), QStringLiteral("4000"));
    QVERIFY(m_dialogs->requests().isEmpty());
}

void TstForm12::exchangeNeverStored_data()
{
    QTest::addColumn<bool>("closeScreen");
    QTest::newRow("step away and back") << false;
    QTest::newRow("close the screen") << true;
}

void TstForm12::exchangeNeverStored()
{
    QFETCH(bool, closeScreen);

    // An edit of the same record is stored; the figure shown in the exchange's place is not.
    child<QLineEdit>(QStringLiteral("Text7"))->setText(QStringLiteral("Raised guidance"));
    calculate(QStringLiteral("Option2"));
    QCOMPARE(result(), QStringLiteral("1000"));

    if (closeScreen) {
        QVERIFY(screen()->unload());
    } else {
        click(QStringLiteral("Next"));
        QCOMPARE(result(), QStringLiteral("NASDAQ"));
        click(QStringLiteral("Previous"));
        QCOMPARE(result(), QStringLiteral("NYSE"));
        QCOMPARE(box("Text7"), QStringLiteral("Raised guidance"));
    }
    QCOMPARE(stored("NWT", "Stock Exchange").toString(), QStringLiteral("NYSE"));
    QCOMPARE(stored("NWT", "Analyst's Comments").toString(), QStringLiteral("Raised guidance"));
}

VANTORA_TEST_MAIN(TstForm12)
#include "tst_form12.moc"
