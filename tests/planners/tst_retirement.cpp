// The retirement planner's figures, computed directly.
#include "planners/retirement.h"

#include <QTest>

using namespace vantora;

Q_DECLARE_METATYPE(vantora::ArithError)

class TstRetirement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void figures_data()
    {
        QTest::addColumn<bool>("payment"); // payment amount, else target savings
        QTest::addColumn<int>("frequency");
        QTest::addColumn<double>("current");
        QTest::addColumn<double>("retire");
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("amount");
        QTest::addColumn<double>("expected");
        QTest::addColumn<ArithError>("error");

        const auto row = [](const char *name, bool payment, int frequency, double current,
                            double retire, double rate, double amount, double expected,
                            ArithError error = ArithError::None) {
            QTest::newRow(name) << payment << frequency << current << retire << rate << amount
                                << expected << error;
        };
        row("payment, monthly", true, 3, 30, 60, 7, 100000, 277);
        row("payment, weekly", true, 1, 30, 60, 5, 100000, 64);
        row("payment, daily", true, 0, 30, 60, 5, 100000, 182);
        row("payment, bimonthly counts 26", true, 2, 30, 60, 5, 78000, 100);
        row("payment, negative rounds down", true, 3, 60, 30, 5, 100000, -278);
        row("target, monthly", false, 3, 30, 60, 5, 200, 3960);
        row("target, monthly, rate 0", false, 3, 30, 60, 0, 200, 360);
        row("target, daily", false, 0, 30, 60, 5, 200, 120450);
        row("target, yearly", false, 6, 30, 60, 5, 200, 330);
        row("target, bimonthly counts 26", false, 2, 30, 60, 0, 200, 780);
        row("payment, equal ages", true, 3, 40, 40, 5, 100000, 0, ArithError::DivideByZero);
        row("payment, daily, rate 0", true, 0, 30, 60, 0, 100000, 0, ArithError::DivideByZero);
        row("payment, nothing at all", true, 1, 0, 0, 0, 0, 0, ArithError::ZeroByZero);
        row("payment overflows", true, 6, 0, 1e-10, 0, 1e308, 0, ArithError::Overflow);
        row("target overflows", false, 0, 0, 1e300, 1e300, 1e300, 0, ArithError::Overflow);
    }

    void figures()
    {
        QFETCH(bool, payment);
        QFETCH(int, frequency);
        QFETCH(double, current);
        QFETCH(double, retire);
        QFETCH(double, rate);
        QFETCH(double, amount);
        QFETCH(double, expected);
        QFETCH(ArithError, error);

        const std::optional<PaymentFrequency> chosen = paymentFrequencyAt(frequency);
        QVERIFY(chosen);
        const RetirementPlan plan{current, retire, rate, amount, *chosen};
        const Checked result = payment ? paymentAmount(plan) : targetSavings(plan);
        QCOMPARE(result.error, error);
        QCOMPARE(result.value, expected);
    }

    void listIndices()
    {
        QCOMPARE(paymentFrequencyAt(-1), std::nullopt);
        QCOMPARE(paymentFrequencyAt(7), std::nullopt);
        const int perYear[] = {365, 52, 26, 12, 4, 2, 1};
        for (int i = 0; i < 7; ++i)
            QCOMPARE(paymentsPerYear(*paymentFrequencyAt(i)), perYear[i]);
    }
};

QTEST_GUILESS_MAIN(TstRetirement)
#include "tst_retirement.moc"
