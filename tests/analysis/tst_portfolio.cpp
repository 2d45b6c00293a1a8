// The portfolio's figures, computed directly.
#include "analysis/portfolio.h"

#include <QTest>

using namespace vantora;

Q_DECLARE_METATYPE(vantora::ArithError)
Q_DECLARE_METATYPE(vantora::PortfolioFigure)

class TstPortfolio : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void figures_data()
    {
        QTest::addColumn<QList<double>>("cbes");
        QTest::addColumn<PortfolioFigure>("figure");
        QTest::addColumn<double>("expected");
        QTest::addColumn<ArithError>("error");

        using F = PortfolioFigure;
        const auto row = [](const char *name, QList<double> cbes, F figure, double expected,
                            ArithError error = ArithError::None) {
            QTest::newRow(name) << cbes << figure << expected << error;
        };
        const QList<double> worked{50, 40, 5, 100};
        row("worked: P/E (C)", worked, F::CurrentPriceEarnings, 10);
        row("worked: profit", worked, F::ProfitLoss, 1000);
        row("worked: money spent", worked, F::MoneySpent, 4000);
        row("worked: P/E (B)", worked, F::PurchasePriceEarnings, 8);
        row("worked: rating", worked, F::Rating, 987);
        row("loss lowers the rating", {30, 40, 5, 100}, F::Rating, -1009);
        row("negative earnings round down", {50, 40, -3, 100}, F::CurrentPriceEarnings, -17);
        row("P/E 4.5 gives 4", {45, 40, 10, 1}, F::CurrentPriceEarnings, 4);
        row("profit without earnings", {50, 40, 0, 100}, F::ProfitLoss, 1000);
        row("E 0: P/E (C)", {50, 40, 0, 100}, F::CurrentPriceEarnings, 0, ArithError::DivideByZero);
        row("E 0: P/E (B), 0/0", {50, 0, 0, 100}, F::PurchasePriceEarnings, 0,
            ArithError::ZeroByZero);
        row("E 0: rating", {0, 40, 0, 100}, F::Rating, 0, ArithError::ZeroByZero);
        row("rating overflows", {1e300, 40, 5, 1e300}, F::Rating, 0, ArithError::Overflow);
        row("P/E (C) overflows", {1e300, 40, 1e-300, 1}, F::CurrentPriceEarnings, 0,
            ArithError::Overflow);
    }

    void figures()
    {
        QFETCH(QList<double>, cbes);
        QFETCH(PortfolioFigure, figure);
        QFETCH(double, expected);
        QFETCH(ArithError, error);

        const Checked result = portfolioFigure({cbes[0], cbes[1], cbes[2], cbes[3]}, figure);
        QCOMPARE(result.error, error);
        QCOMPARE(result.value, expected);
    }
};

QTEST_GUILESS_MAIN(TstPortfolio)
#include "tst_portfolio.moc"
