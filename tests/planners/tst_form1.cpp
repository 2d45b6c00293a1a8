// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/registry.h"
#include "planners/form1.h"
#include "tests/support/testsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

using namespace vantora;

class TstForm1 : public QObject
{
    Q_OBJECT

private:
    Screen *m_screen = nullptr;

    template <typename T> T *control(const char *name) const
    {
        return test::control<T>(m_screen, QString::fromLatin1(name));
    }

    void fill(const QString &c, const QString &r, const QString &i, const QString &a)
    {
        control<QLineEdit>("Text1")->setText(c);
        control<QLineEdit>("Text2")->setText(r);
        control<QLineEdit>("Text3")->setText(i);
        control<QLineEdit>("Text4")->setText(a);
    }

    void chooseFrequency(int row)
    {
        auto *list = control<QListWidget>("List1");
        list->clearSelection();
        if (row >= 0)
            list->item(row)->setSelected(true);
    }

    void calculate() { control<QPushButton>("Command1")->click(); }
    QString result() const { return control<QLabel>("Label8")->text(); }

private Q_SLOTS:
    void init()
    {
        m_screen = ScreenRegistry::get(QStringLiteral("form1"));
        m_screen->show();
    }

    void cleanup()
    {
        m_screen->unload();
        test::flushDeletes();
    }

    void initialState()
    {
        QCOMPARE(m_screen->window()->windowTitle(), QStringLiteral("Retirement Planner"));
        QCOMPARE(control<QLabel>("Label4")->text(), QStringLiteral("Interest Rate "));
        QCOMPARE(control<QListWidget>("List1")->count(), 7);
        QVERIFY(control<QListWidget>("List1")->selectedItems().isEmpty());
        QVERIFY(!control<QRadioButton>("Option1")->isChecked());
        QVERIFY(!control<QRadioButton>("Option2")->isChecked());
        QCOMPARE(result(), QString());
    }

    void figures_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("retire");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("expected");

        QTest::newRow("payment monthly") << "Option1" << 3 << "30"
                                         << "60"
                                         << "7"
                                         << "100000"
                                         << "277";
        QTest::newRow("payment monthly, rate ignored") << "Option1" << 3 << "30"
                                                       << "60"
                                                       << "0"
                                                       << "100000"
                                                       << "277";
        QTest::newRow("payment weekly") << "Option1" << 1 << "30"
                                        << "60"
                                        << "5"
                                        << "100000"
                                        << "64";
        QTest::newRow("payment daily") << "Option1" << 0 << "30"
                                       << "60"
                                       << "5"
                                       << "100000"
                                       << "182";
        QTest::newRow("payment bimonthly counts 26") << "Option1" << 2 << "30"
                                                     << "60"
                                                     << "5"
                                                     << "78000"
                                                     << "100";
        QTest::newRow("payment quarterly") << "Option1" << 4 << "30"
                                           << "60"
                                           << "5"
                                           << "12000"
                                           << "100";
        QTest::newRow("payment semiyearly") << "Option1" << 5 << "30"
                                            << "60"
                                            << "5"
                                            << "6000"
                                            << "100";
        QTest::newRow("payment yearly") << "Option1" << 6 << "30"
                                        << "60"
                                        << "5"
                                        << "3000"
                                        << "100";
        QTest::newRow("payment negative rounds down") << "Option1" << 3 << "60"
                                                      << "30"
                                                      << "5"
                                                      << "100000"
                                                      << "-278";
        QTest::newRow("target monthly") << "Option2" << 3 << "30"
                                        << "60"
                                        << "5"
                                        << "200"
                                        << "3960";
        QTest::newRow("target monthly rate 0") << "Option2" << 3 << "30"
                                               << "60"
                                               << "0"
                                               << "200"
                                               << "360";
        QTest::newRow("target payment 0") << "Option2" << 3 << "30"
                                          << "60"
                                          << "5"
                                          << "0"
                                          << "360";
        QTest::newRow("target daily") << "Option2" << 0 << "30"
                                      << "60"
                                      << "5"
                                      << "200"
                                      << "120450";
        QTest::newRow("target yearly") << "Option2" << 6 << "30"
                                       << "60"
                                       << "5"
                                       << "200"
                                       << "330";
        QTest::newRow("target bimonthly counts 26") << "Option2" << 2 << "30"
                                                    << "60"
                                                    << "0"
                                                    << "200"
                                                    << "780";
        QTest::newRow("lenient input") << "Option2" << 6 << " 3 0"
                                       << "60abc"
                                       << "5,5"
                                       << "&HC8"
                                       << "330";
    }

    void figures()
    {
        QFETCH(QString, option);
        QFETCH(int, frequency);
        QFETCH(QString, current);
        QFETCH(QString, retire);
        QFETCH(QString, rate);
        QFETCH(QString, amount);
        QFETCH(QString, expected);

        test::ScriptedDialogs dialogs;
        fill(current, retire, rate, amount);
        chooseFrequency(frequency);
        control<QRadioButton>(qPrintable(option))->click();
        calculate();
        QCOMPARE(result(), expected);
        QCOMPARE(dialogs.beeps(), 2);
        QVERIFY(dialogs.requests().isEmpty());
    }

    // Nothing to compute with: the result keeps what it showed; a figure that cannot be computed
    // says why.
    void resultKept_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("retire");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QStringList>("messages");

        const QStringList none;
        const QStringList choose{QStringLiteral("Please choose a calculation")};
        QTest::newRow("no option") << "" << 3 << "30"
                                   << "60"
                                   << "5" << choose;
        QTest::newRow("no frequency") << "Option1" << -1 << "30"
                                      << "60"
                                      << "5" << none;
        QTest::newRow("target, no frequency") << "Option2" << -1 << "30"
                                              << "60"
                                              << "5" << none;
        const QStringList equalAges{form1::equalAgesMessage()};
        QTest::newRow("equal ages") << "Option1" << 3 << "40"
                                    << "40"
                                    << "5" << equalAges;
        QTest::newRow("both ages empty") << "Option1" << 1 << ""
                                         << ""
                                         << "5" << equalAges;
        QTest::newRow("daily, rate 0") << "Option1" << 0 << "30"
                                       << "60"
                                       << "0" << QStringList{form1::noDailyRateMessage()};
        QTest::newRow("overflow") << "Option2" << 0 << "0"
                                  << "1e300"
                                  << "1e300" << QStringList{form1::tooLargeMessage()};
        QTest::newRow("payment overflows") << "Option1" << 3 << "0"
                                           << "1e-305"
                                           << "5" << QStringList{form1::tooLargeMessage()};
    }

    void resultKept()
    {
        QFETCH(QString, option);
        QFETCH(int, frequency);
        QFETCH(QString, current);
        QFETCH(QString, retire);
        QFETCH(QString, rate);
        QFETCH(QStringList, messages);

        control<QLabel>("Label8")->setText(QStringLiteral("123"));
        test::ScriptedDialogs dialogs;
        fill(current, retire, rate, QStringLiteral("100000"));
        chooseFrequency(frequency);
        if (!option.isEmpty())
            control<QRadioButton>(qPrintable(option))->click();
        calculate();
        QCOMPARE(result(), QStringLiteral("123"));
        QCOMPARE(dialogs.beeps(), 2);
        QCOMPARE(dialogs.messages(), messages);
        for (const DialogRequest &request : dialogs.requests()) {
            QCOMPARE(request.title, QString::fromUtf8(kAppTitle));
            QCOMPARE(request.style, int(OkOnly));
        }
    }

    void optionsSwapCaptions()
    {
        control<QLabel>("Label8")->setText(QStringLiteral("42"));
        control<QRadioButton>("Option2")->click();
        QCOMPARE(control<QLabel>("Label6")->text(), QStringLiteral("Payment (A)"));
        QCOMPARE(control<QLabel>("Label7")->text(), QStringLiteral("Target Savings"));
        control<QRadioButton>("Option1")->click();
        QCOMPARE(control<QLabel>("Label6")->text(), QStringLiteral("Target Savings"));
        QCOMPARE(control<QLabel>("Label7")->text(), QStringLiteral("Payment (A)"));
        QCOMPARE(result(), QStringLiteral("42"));
    }

    void reloadStartsFresh()
    {
        fill(QStringLiteral("30"), QStringLiteral("60"), QStringLiteral("5"),
             QStringLiteral("200"));
        chooseFrequency(3);
        control<QRadioButton>("Option2")->click();
        test::ScriptedDialogs dialogs;
        calculate();
        m_screen->unload();
        m_screen->show();
        QCOMPARE(control<QLineEdit>("Text1")->text(), QString());
        QCOMPARE(result(), QString());
        QCOMPARE(control<QLabel>("Label6")->text(), QStringLiteral("Target Savings"));
        QVERIFY(!control<QRadioButton>("Option2")->isChecked());
    }
};

VANTORA_TEST_MAIN(TstForm1)
#include "tst_form1.moc"
