// The ratings calculation, step by step, computed directly.
#include "analysis/ratings.h"

#include <QTest>

using namespace vantora;

using Figures = QList<double>; // L, T, N, H, W, P, S, G, M, one, B, O, Q
Q_DECLARE_METATYPE(std::optional<vantora::ShownRating>)

namespace {

const Figures kWorked{2, 3, 4, 50, 30, 40, 4 + 10 + 40.0 / 3, 770, 404, 1, 52, 1182, 53.5};

Figures list(const RatingFigures &f)
{
    return {f.L, f.T, f.N, f.H, f.W, f.P, f.S, f.G, f.M, f.one, f.B, f.O, f.Q};
}

RatingFigures figures(const Figures &v)
{
    return {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12]};
}

} // namespace

class TstRatings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void steps_data()
    {
        QTest::addColumn<Figures>("previous");
        QTest::addColumn<Figures>("inputs"); // L, T, N, H, W, P
        QTest::addColumn<std::optional<ShownRating>>("chosen");
        QTest::addColumn<Figures>("expected");
        QTest::addColumn<int>("messages");
        QTest::addColumn<QList<double>>("shown"); // empty: no label changes

        using R = ShownRating;
        const Figures fresh(13, 0.0);
        const Figures worked = kWorked.mid(0, 6);
        const auto row = [](const char *name, const Figures &previous, const Figures &inputs,
                            std::optional<R> chosen, const Figures &expected, int messages,
                            QList<double> shown) {
            QTest::newRow(name) << previous << inputs << chosen << expected << messages << shown;
        };
        row("worked: safety", fresh, worked, R::Safety, kWorked, 0, {kWorked[6]});
        row("worked: growth shown", fresh, worked, R::Growth, kWorked, 0, {390});
        row("worked: market cap shown", fresh, worked, R::MarketCap, kWorked, 0, {396});
        row("worked: overall shown", fresh, worked, R::Overall, kWorked, 0, {1182});
        row("worked: buy/target", fresh, worked, R::BuyTarget, kWorked, 0, {53.5});
        row("worked, nothing chosen", fresh, worked, std::nullopt, kWorked, 0, {});

        // The H 0 step is skipped and the rest runs: O is Int(S - 1210 + 904 + 1 - 8).
        const Figures hZero{5, 3, 4, 0, 30, 40};
        row("H 0: one message, S stays 0", fresh, hZero, std::nullopt,
            {5, 3, 4, 0, 30, 40, 0, -1210, 904, 1, -1, -313, -1}, 1, {});
        row("H 0 with safety: a second message, nothing shown", kWorked, hZero, R::Safety,
            {5, 3, 4, 0, 30, 40, kWorked[6], -1210, 904, 1, -1, -286, -1}, 2, {});
        row("N 0: B keeps its value", kWorked, {2, 3, 0, 50, 30, 40}, R::BuyTarget,
            {2, 3, 0, 50, 30, 40, kWorked[6], -30, 400, 1, 52, 378, 52}, 1, {52});
        row("0/0: ends silently after reading", kWorked, Figures(6, 0.0), R::BuyTarget,
            Figures(6, 0.0) + kWorked.mid(6), 0, {});
        row("overflow of (H-W)^2: ends at M", kWorked, {2, 3, 4, 1e200, -1e200, 40}, R::MarketCap,
            {2, 3, 4, 1e200, -1e200, 40, 40.0 / 3, 7.9e201, 404, 1, 52, 1182, 53.5}, 0, {});
        row("an input too large: ends at that input", kWorked, {7, 8, 9, qInf(), 99, 99}, R::Safety,
            Figures{7, 8, 9} + kWorked.mid(3), 0, {});
    }

    void steps()
    {
        QFETCH(Figures, previous);
        QFETCH(Figures, inputs);
        QFETCH(std::optional<ShownRating>, chosen);
        QFETCH(Figures, expected);
        QFETCH(int, messages);
        QFETCH(QList<double>, shown);

        const RatingOutcome outcome =
            rateStock(figures(previous),
                      {inputs[0], inputs[1], inputs[2], inputs[3], inputs[4], inputs[5]}, chosen);
        QCOMPARE(list(outcome.figures), expected);
        QCOMPARE(outcome.zeroDivisors, messages);
        QCOMPARE(outcome.shown ? QList<double>{*outcome.shown} : QList<double>(), shown);
    }

    // With L = T = H = W = 1 and P = 0, O is Int(N + 190) and B is N + 1.
    void buyTargetBrackets_data()
    {
        QTest::addColumn<double>("next");
        QTest::addColumn<double>("O");
        QTest::addColumn<double>("Q");

        QTest::newRow("999: B") << 809.0 << 999.0 << 810.0;
        QTest::newRow("1000: B + 1.5") << 810.0 << 1000.0 << 812.5;
        QTest::newRow("2000: B + 1.5") << 1810.0 << 2000.0 << 1812.5;
        QTest::newRow("2001: B + 3") << 1811.0 << 2001.0 << 1815.0;
        QTest::newRow("3000: B + 3") << 2810.0 << 3000.0 << 2814.0;
        QTest::newRow("3001: B + 4") << 2811.0 << 3001.0 << 2816.0;
    }

    void buyTargetBrackets()
    {
        QFETCH(double, next);
        QFETCH(double, O);
        QFETCH(double, Q);

        const RatingOutcome outcome = rateStock({}, {1, 1, next, 1, 1, 0}, ShownRating::BuyTarget);
        QCOMPARE(outcome.figures.O, O);
        QCOMPARE(outcome.figures.Q, Q);
        QCOMPARE(outcome.shown, std::optional<double>(Q));
    }
};

QTEST_GUILESS_MAIN(TstRatings)
#include "tst_ratings.moc"
