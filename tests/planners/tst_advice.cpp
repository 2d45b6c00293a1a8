// The investment planner's share value and advice, computed directly.
#include "planners/advice.h"

#include <QTest>

using namespace vantora;

class TstAdvice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void advice_data()
    {
        QTest::addColumn<double>("predicted");
        QTest::addColumn<double>("price");
        QTest::addColumn<double>("high");
        QTest::addColumn<QStringList>("given"); // in the order of the messages

        QTest::newRow("D 7.5: a") << 20.0 << 12.5 << 30.0 << QStringList{"Buy"};
        QTest::newRow("D 8: d") << 20.0 << 12.0 << 30.0 << QStringList{"Buy Aggresively"};
        QTest::newRow("D 8, E 1: c, d")
            << 20.0 << 12.0 << 13.0 << QStringList{"Short", "Buy Aggresively"};
        QTest::newRow("D -1: b") << 20.0 << 21.0 << 30.0 << QStringList{"Sell, Wait"};
        QTest::newRow("D -15: b") << 10.0 << 25.0 << 30.0 << QStringList{"Sell, Wait"};
        QTest::newRow("D -15.5: c") << 10.0 << 25.5 << 30.0 << QStringList{"Short"};
        QTest::newRow("D 5, E 1: a, c") << 20.0 << 15.0 << 16.0 << QStringList{"Buy", "Short"};
        QTest::newRow("D 0: a") << 20.0 << 20.0 << 30.0 << QStringList{"Buy"};
        QTest::newRow("D -2, E 2: b, c")
            << 10.0 << 12.0 << 14.0 << QStringList{"Sell, Wait", "Short"};
        QTest::newRow("no prediction, P 20: c") << 0.0 << 20.0 << 30.0 << QStringList{"Short"};
        QTest::newRow("no numbers: nothing") << qInf() << qInf() << qInf() << QStringList();
    }

    void advice()
    {
        QFETCH(double, predicted);
        QFETCH(double, price);
        QFETCH(double, high);
        QFETCH(QStringList, given);

        QStringList texts;
        for (const Advice advice : adviseOn(predicted, price, high))
            texts << adviceText(advice);
        QCOMPARE(texts, given);
    }

    void shareValue_data()
    {
        QTest::addColumn<double>("shares");
        QTest::addColumn<double>("price");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("ok");

        QTest::newRow("100 at 12.5") << 100.0 << 12.5 << 1250.0 << true;
        QTest::newRow("3 at 0.1, unrounded") << 3.0 << 0.1 << 3 * 0.1 << true;
        QTest::newRow("overflow") << 1e200 << 1e200 << 0.0 << false;
    }

    void shareValue()
    {
        QFETCH(double, shares);
        QFETCH(double, price);
        QFETCH(double, value);
        QFETCH(bool, ok);

        const Checked result = vantora::shareValue(shares, price);
        QCOMPARE(result.ok(), ok);
        QCOMPARE(result.value, value);
    }
};

QTEST_GUILESS_MAIN(TstAdvice)
#include "tst_advice.moc"
