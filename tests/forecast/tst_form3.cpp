// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/navigation.h"
#include "app/registry.h"
#include "common/config.h"
#include "data/binding/datacontrol.h"
#include "data/store/schema.h"
#include "forecast/Form3.h"
#include "tests/support/screenfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

using namespace vantora;

namespace {

const QStringList kInputs{"d1", "n1", "s1", "Text5", "Text6", "d2", "n2", "s2"};
const QStringList kOutputs{"d3", "d4", "n3", "n4", "s3", "s4"};
// The columns that keep each output box, in the order of kOutputs.
const QStringList kOutputFields{"DF", "DL", "NF", "NL", "SF", "SL"};

// Three days, stored out of date order: the first in stored order is 5 March, the first by date
// 1 March. Each day's Dow close tells it apart.
struct Day
{
    const char *date;
    double dow, nasdaq, sp, advances, declines, dd, dn, ds;
};
const Day kDays[] = {
    {"2024-03-05", 10000, 2000, 1300, 1500, 1200, 50, 20, 5},
    {"2024-03-01", 9800, 1950, 1280, 1100, 1700, -40, -12, -6},
    {"2024-03-04", 9900, 1975, 1290, 1400, 1300, 20, 8, 3},
};

} // namespace

class TstForm3 : public QObject, public test::ScreenFixture
{
    Q_OBJECT

public:
    TstForm3()
        : ScreenFixture("Form3")
    {
    }

private:
    QLineEdit *box(const QString &name) const { return child<QLineEdit>(name); }
    // A field of a stored day, read straight from the file.
    QVariant stored(const char *date, const QString &field) const
    {
        return ScreenFixture::stored(QStringLiteral("Forecaster"), QStringLiteral("Date"),
                                     QString::fromLatin1(date), field);
    }
    qint64 storedDays() const { return m_db->count(QStringLiteral("Forecaster")); }

private Q_SLOTS:
    void init()
    {
        QList<QVariantList> rows;
        for (const Day &day : kDays)
            rows << QVariantList{QString::fromLatin1(day.date),
                                 day.dow,
                                 day.nasdaq,
                                 day.sp,
                                 day.advances,
                                 day.declines,
                                 day.dd,
                                 day.dn,
                                 day.ds};
        start(QStringLiteral("Forecaster"),
              {"Date", "Dow Yesterday", "NasdaQ Yesterday", "SP 500 Yesterday", "Advances",
               "Declines", "DD", "Dn", "Ds"},
              rows);
    }

    void cleanup() { finish(); }

    void opensOnTheFirstStoredDay()
    {
        QCOMPARE(screen()->window()->windowTitle(), QStringLiteral("Dow ForeCaster"));
        QCOMPARE(child<DataControl>(QStringLiteral("Data1"))->caption(),
                 QStringLiteral("ForeCaster"));
        QCOMPARE(text(QStringLiteral("d1")), QStringLiteral("10000"));
        QCOMPARE(text(QStringLiteral("n2")), QStringLiteral("20"));
        QCOMPARE(text(QStringLiteral("s2")), QStringLiteral("5"));
        for (const QString &box : kOutputs)
            QCOMPARE(text(box), QString());
    }

    // Every box through the real screen; "-" in an output box marks a box left as it was.
    void forecast_data()
    {
        QTest::addColumn<QStringList>("inputs");  // d1 n1 s1 Text5 Text6 d2 n2 s2
        QTest::addColumn<QStringList>("outputs"); // d3 d4 n3 n4 s3 s4

        const auto closes = [](const char *adv, const char *dec, const char *d2, const char *n2,
                               const char *s2) {
            return QStringList{"10000", "2000", "1300", adv, dec, d2, n2, s2};
        };
        QTest::newRow("rising day, all adjustments up")
            << closes("1500", "1200", "50", "20", "5")
            << QStringList{"10091.6666666667", "10030",    "2043",
                           "2011.57142857143", "1330.375", "1315.83333333333"};
        QTest::newRow("point changes exactly 100, 30 and 10")
            << closes("1500", "1200", "100", "30", "10")
            << QStringList{"10088.3333333333", "10020",   "2012",
                           "1980.57142857143", "1309.75", "1294.16666666667"};
        QTest::newRow("falling Dow and S&P recompute the lows")
            << closes("1200", "1500", "-120", "25", "-8")
            << QStringList{"10043", "10011",           "2002.5", "2010.92857142857",
                           "1302",  "1300.83333333333"};
        QTest::newRow("every input empty") << QStringList{"", "", "", "", "", "", "", ""}
                                           << QStringList{"65", "45", "25", "17", "16", "11"};
        QTest::newRow("lows above their highs are shown so")
            << closes("0", "3000", "50", "20", "5")
            << QStringList{"9761.66666666667", "9920",     "1823",
                           "1917.28571428571", "1165.375", "1233.33333333333"};
        QTest::newRow("Dow 100.5 and Nasdaq 29.99")
            << closes("1500", "1200", "100.5", "29.99", "5")
            << QStringList{"10018.3",          "9949.9",   "2042.001",
                           "2010.57242857143", "1330.375", "1315.83333333333"};
        QTest::newRow("S&P 9.99 keeps its adjustment up")
            << closes("1500", "1200", "50", "20", "9.99")
            << QStringList{"10091.6666666667", "10030",      "2043",
                           "2011.57142857143", "1329.75125", "1314.17"};
        QTest::newRow("letter-led Dow change reads 0 and switches the lows")
            << closes("1500", "1200", "x50", "20", "5")
            << QStringList{"10095",    "10055",           "2043", "2027.57142857143",
                           "1330.375", "1320.16666666667"};
        QTest::newRow("letter-led Nasdaq change switches all three lows")
            << closes("1500", "1200", "50", "n20", "5")
            << QStringList{"10091.6666666667", "10065",    "2045",
                           "2025.57142857143", "1330.375", "1320.16666666667"};
        QTest::newRow("small falling S&P switches all three lows")
            << closes("1500", "1200", "50", "20", "-0.5")
            << QStringList{"10091.6666666667", "10065",     "2043",
                           "2027.57142857143", "1331.0625", "1318.33333333333"};
        QTest::newRow("numbers read leniently: 1,500 advances read 1")
            << closes("1,500", "1200", " 5 0", "20", "5abc")
            << QStringList{"9941.76666666667", "9980.03333333333", "1943.06666666667",
                           "1968.74285714286", "1255.425",         "1278.35833333333"};
        QTest::newRow("overflowing breadth leaves every box as it was")
            << closes("1e308", "-1e308", "50", "20", "5")
            << QStringList{"-", "-", "-", "-", "-", "-"};
        QTest::newRow("overflowing Dow high alone leaves every box as it was")
            << QStringList{"1.7e308", "2000", "1300", "1500", "1200", "-1.7e308", "20", "5"}
            << QStringList{"-", "-", "-", "-", "-", "-"};
    }

    void forecast()
    {
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, outputs);
        for (int i = 0; i < kInputs.size(); ++i)
            box(kInputs.at(i))->setText(inputs.at(i));
        for (const QString &output : kOutputs)
            box(output)->setText(QStringLiteral("-"));
        const QString date = text(QStringLiteral("text1"));

        test::ScriptedDialogs dialogs;
        QTest::mouseClick(child<QPushButton>(QStringLiteral("Command3")), Qt::LeftButton);

        QStringList actual;
        for (const QString &box : kOutputs)
            actual << text(box);
        QStringList expected;
        for (const QString &value : outputs)
            expected << test::shown(value);
        QCOMPARE(actual, expected);
        // The inputs and the day stay as they were; only a forecast that cannot be computed says
        // so.
        for (int i = 0; i < kInputs.size(); ++i)
            QCOMPARE(text(kInputs.at(i)), inputs.at(i));
        QCOMPARE(text(QStringLiteral("text1")), date);
        QCOMPARE(dialogs.messages(), outputs.first() == QLatin1String("-")
                                         ? QStringList{Form3::tooLargeMessage()}
                                         : QStringList());
        // Every box shows the beginning of its figure.
        for (const QString &output : kOutputs)
            QCOMPARE(box(output)->cursorPosition(), outputs.first() == QLatin1String("-") ? 1 : 0);
    }

    // After a forecast, leaving the day by any way stores all six forecasts with it, and the
    // point changes keep their own columns.
    void storedWhenLeavingTheDay_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("next day") << QStringLiteral("Next");
        QTest::newRow("Home") << QStringLiteral("Command4");
        QTest::newRow("Help") << QStringLiteral("Command5");
        QTest::newRow("Find") << QStringLiteral("Command2");
    }

    void storedWhenLeavingTheDay()
    {
        QFETCH(QString, how);
        test::ScriptedDialogs dialogs;
        dialogs.answerText(QStringLiteral("2024-03-04"));

        click("Command3");
        QStringList forecasts;
        for (const QString &box : kOutputs)
            forecasts << text(box);
        // Nothing reaches the file before the day is left.
        QVERIFY(stored("2024-03-05", QStringLiteral("DF")).isNull());

        if (how == QLatin1String("Next"))
            step("Next");
        else
            click(how.toLatin1().constData());

        for (int i = 0; i < kOutputFields.size(); ++i) {
            const QVariant value = stored("2024-03-05", kOutputFields.at(i));
            QVERIFY2(!value.isNull(), qPrintable(kOutputFields.at(i)));
            QCOMPARE(test::shown(schema::shownText(value)), forecasts.at(i));
        }
        QCOMPARE(stored("2024-03-05", QStringLiteral("DD")), QVariant(50.0));
        QCOMPARE(stored("2024-03-05", QStringLiteral("Dn")), QVariant(20.0));
        QCOMPARE(stored("2024-03-05", QStringLiteral("Ds")), QVariant(5.0));
        QCOMPARE(storedDays(), 3);
    }

    // "Hel&p" then "&Go Back" brings back a forecaster as from the menu: a new window on the
    // first stored day, in stored order again, with nothing of the last visit on screen.
    void helpThenGoBack()
    {
        test::ScriptedDialogs dialogs;
        dialogs.answerText(QStringLiteral("2024-03-04"));
        click("Command2");
        QCOMPARE(text(QStringLiteral("d1")), QStringLiteral("9900"));
        click("Command3");
        QPointer<QWidget> oldWindow = screen()->window();

        click("Command5");
        Screen *help = ScreenRegistry::get(QStringLiteral("Form5"));
        QVERIFY(help->isLoaded());
        QVERIFY(!screen()->isLoaded());
        test::control<QPushButton>(help, QStringLiteral("Command1"))->click();
        test::flushDeletes();

        QVERIFY(!help->isLoaded());
        QVERIFY(screen()->isLoaded());
        QVERIFY(oldWindow.isNull());
        QVERIFY(screen()->window()->isVisible());
        QCOMPARE(text(QStringLiteral("d1")), QStringLiteral("10000"));
        for (const QString &box : kOutputs)
            QCOMPARE(text(box), QString());
        step("Next");
        QCOMPARE(text(QStringLiteral("d1")), QStringLiteral("9800"));
        // The forecast made on 4 March went with that day.
        QVERIFY(!stored("2024-03-04", QStringLiteral("DF")).isNull());
    }

    // Find reads the date as people type it; a text that is no date is simply not found.
    void findAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("dow");
        QTest::addColumn<QStringList>("messages");
        const QStringList found;
        const QStringList notFound{QStringLiteral("Sorry, I couldn't find your date. ")};
        QTest::newRow("ISO") << "2024-03-04"
                             << "9900" << found;
        QTest::newRow("ISO without leading zeros") << "2024-3-4"
                                                   << "9900" << found;
        QTest::newRow("eight digits") << "20240304"
                                      << "9900" << found;
        QTest::newRow("no such day") << "2024-3-40"
                                     << "9800" << notFound;
        QTest::newRow("no date") << "next Monday"
                                 << "9800" << notFound;
    }

    void findAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, dow);
        QFETCH(QStringList, messages);
        test::ScriptedDialogs dialogs;
        dialogs.answerText(typed);
        click("Command2");
        QVERIFY(dialogs.requests().first().text.contains(QStringLiteral("2025-03-03")));
        QCOMPARE(dialogs.messages(), messages);
        QCOMPARE(text(QStringLiteral("d1")), dow);
    }

    void homeAndHelp_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("target");
        QTest::newRow("Home") << "Command4"
                              << "&Home"
                              << "Form11";
        QTest::newRow("Help") << "Command5"
                              << "Hel&p"
                              << "Form5";
    }

    void homeAndHelp()
    {
        QFETCH(QString, button);
        QFETCH(QString, caption);
        QFETCH(QString, target);
        test::ScriptedDialogs dialogs;
        auto *command = child<QPushButton>(button);
        QCOMPARE(command->text(), caption);
        command->click();
        QVERIFY(!screen()->isLoaded());
        QVERIFY(ScreenRegistry::get(target)->isLoaded());
    }
};

VANTORA_TEST_MAIN(TstForm3)
#include "tst_form3.moc"
