// SPDX-License-Identifier: GPL-3.0-or-later
// The calculations of the planners, the analysis screens and the forecaster, computed directly.
#include "analysis/ledger.h"
#include "analysis/portfolio.h"
#include "analysis/ratings.h"
#include "forecast/forecast.h"
#include "planners/advice.h"
#include "planners/retirement.h"

#include <QTest>
#include <cmath>

using namespace vantora;
using Numbers = QList<double>;
Q_DECLARE_METATYPE(vantora::Checked)

namespace {

constexpr ArithError None = ArithError::None, DivZero = ArithError::DivideByZero,
                     ZeroByZero = ArithError::ZeroByZero, Overflow = ArithError::Overflow;

// The ratings' figures in the order L, T, N, H, W, P, S, G, M, one, B, O, Q.
Numbers list(const RatingFigures &f)
{
    return {f.L, f.T, f.N, f.H, f.W, f.P, f.S, f.G, f.M, f.one, f.B, f.O, f.Q};
}

// Trades written "2025-01-02 Buy 10 40 5" (date, action, shares, price, fees).
QList<Trade> ledger(const QStringList &lines)
{
    QList<Trade> trades;
    for (const QString &line : lines) {
        const QStringList w = line.split(u' ');
        trades << Trade{QDate::fromString(w[0], Qt::ISODate), *tradeAction(w[1]),
                        w.value(2).toDouble(), w.value(3).toDouble(), w.value(4).toDouble()};
    }
    return trades;
}

// The first hand-worked ledger: two lots with fees, a partial sale, a dividend, a split.
const QStringList kAcme{"2025-01-02 Buy 10 40 5", "2025-03-03 Buy 10 50 5",
                        "2025-06-02 Sell 5 55 5", "2025-07-01 Dividend 0 15", "2025-09-01 Split 2"};

const Numbers kWorked{2, 3, 4, 50, 30, 40, 4 + 10 + 40.0 / 3, 770, 404, 1, 52, 1182, 53.5};

} // namespace

class TstFormulas : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void retirement_data()
    {
        QTest::addColumn<bool>("target");  // target savings, else the payment amount
        QTest::addColumn<Numbers>("plan"); // list index of the frequency, C, R, I, A
        QTest::addColumn<Checked>("expected");
        const auto row = [](const char *name, bool target, Numbers plan, Checked expected) {
            QTest::newRow(name) << target << plan << expected;
        };
        row("payment, monthly", false, {3, 30, 60, 7, 100000}, {277});
        row("payment, weekly", false, {1, 30, 60, 5, 100000}, {64});
        row("payment, daily", false, {0, 30, 60, 5, 100000}, {182});
        row("payment, bimonthly counts 26", false, {2, 30, 60, 5, 78000}, {100});
        row("payment, negative rounds down", false, {3, 60, 30, 5, 100000}, {-278});
        row("target, monthly", true, {3, 30, 60, 5, 200}, {3960});
        row("target, monthly, rate 0", true, {3, 30, 60, 0, 200}, {360});
        row("target, daily", true, {0, 30, 60, 5, 200}, {120450});
        row("target, yearly", true, {6, 30, 60, 5, 200}, {330});
        row("payment, equal ages", false, {3, 40, 40, 5, 100000}, {0, DivZero});
        row("payment, daily, rate 0", false, {0, 30, 60, 0, 100000}, {0, DivZero});
        row("payment, nothing at all", false, {1, 0, 0, 0, 0}, {0, ZeroByZero});
        row("payment overflows", false, {6, 0, 1e-10, 0, 1e308}, {0, Overflow});
        row("target overflows", true, {0, 0, 1e300, 1e300, 1e300}, {0, Overflow});
    }

    void retirement()
    {
        QFETCH(bool, target);
        QFETCH(Numbers, plan);
        QFETCH(Checked, expected);
        const RetirementPlan p{plan[1], plan[2], plan[3], plan[4],
                               paymentFrequencyAt(int(plan[0])).value()};
        const Checked result = target ? targetSavings(p) : paymentAmount(p);
        QCOMPARE(result.error, expected.error);
        QCOMPARE(result.value, expected.value);
    }

    void advice_data()
    {
        QTest::addColumn<Numbers>("prices"); // predicted, current, 52-week high
        QTest::addColumn<QString>("given");  // in the order of the messages
        QTest::newRow("D 7.5") << Numbers{20, 12.5, 30} << "Buy";
        QTest::newRow("D 8") << Numbers{20, 12, 30} << "Buy Aggresively";
        QTest::newRow("D 8, E 1") << Numbers{20, 12, 13} << "Short / Buy Aggresively";
        QTest::newRow("D -1") << Numbers{20, 21, 30} << "Sell, Wait";
        QTest::newRow("D -15") << Numbers{10, 25, 30} << "Sell, Wait";
        QTest::newRow("D -15.5") << Numbers{10, 25.5, 30} << "Short";
        QTest::newRow("D 5, E 1") << Numbers{20, 15, 16} << "Buy / Short";
        QTest::newRow("D 0") << Numbers{20, 20, 30} << "Buy";
        QTest::newRow("D -2, E 2") << Numbers{10, 12, 14} << "Sell, Wait / Short";
        QTest::newRow("no numbers") << Numbers{qInf(), qInf(), qInf()} << "";
    }

    void advice()
    {
        QFETCH(Numbers, prices);
        QFETCH(QString, given);
        QStringList texts;
        for (const Advice advice : adviseOn(prices[0], prices[1], prices[2]))
            texts << adviceText(advice);
        QCOMPARE(texts.join(QLatin1String(" / ")), given);
    }

    void portfolio_data()
    {
        QTest::addColumn<Numbers>("holding"); // C, B, E, S
        QTest::addColumn<int>("figure");
        QTest::addColumn<Checked>("expected");
        using F = PortfolioFigure;
        const auto row = [](const char *name, Numbers holding, F figure, Checked expected) {
            QTest::newRow(name) << holding << int(figure) << expected;
        };
        const Numbers worked{50, 40, 5, 100};
        row("worked: P/E (C)", worked, F::CurrentPriceEarnings, {10});
        row("worked: profit", worked, F::ProfitLoss, {1000});
        row("worked: money spent", worked, F::MoneySpent, {4000});
        row("worked: P/E (B)", worked, F::PurchasePriceEarnings, {8});
        row("worked: rating", worked, F::Rating, {987});
        row("loss lowers the rating", {30, 40, 5, 100}, F::Rating, {-1009});
        row("negative earnings round down", {50, 40, -3, 100}, F::CurrentPriceEarnings, {-17});
        row("profit without earnings", {50, 40, 0, 100}, F::ProfitLoss, {1000});
        row("E 0", {50, 40, 0, 100}, F::CurrentPriceEarnings, {0, DivZero});
        row("E 0, B 0", {50, 0, 0, 100}, F::PurchasePriceEarnings, {0, ZeroByZero});
        row("E 0, rating", {0, 40, 0, 100}, F::Rating, {0, ZeroByZero});
        row("rating overflows", {1e300, 40, 5, 1e300}, F::Rating, {0, Overflow});
    }

    void portfolio()
    {
        QFETCH(Numbers, holding);
        QFETCH(int, figure);
        QFETCH(Checked, expected);
        const Checked result = portfolioFigure({holding[0], holding[1], holding[2], holding[3]},
                                               PortfolioFigure(figure));
        QCOMPARE(result.error, expected.error);
        QCOMPARE(result.value, expected.value);
    }

    void ratings_data()
    {
        QTest::addColumn<bool>("afterWorked"); // the figures before: the worked example's, or 0
        QTest::addColumn<Numbers>("inputs");   // L, T, N, H, W, P
        QTest::addColumn<int>("chosen");       // a ShownRating, or -1
        QTest::addColumn<Numbers>("expected");
        QTest::addColumn<int>("messages");
        QTest::addColumn<Numbers>("shown"); // empty: no label changes
        using R = ShownRating;
        const auto row = [](const char *name, bool afterWorked, Numbers inputs, int chosen,
                            Numbers expected, int messages, Numbers shown) {
            QTest::newRow(name) << afterWorked << inputs << chosen << expected << messages << shown;
        };
        const Numbers worked = kWorked.mid(0, 6);
        row("worked: safety", false, worked, int(R::Safety), kWorked, 0, {kWorked[6]});
        row("worked: growth shown", false, worked, int(R::Growth), kWorked, 0, {390});
        row("worked: market cap shown", false, worked, int(R::MarketCap), kWorked, 0, {396});
        row("worked: overall shown", false, worked, int(R::Overall), kWorked, 0, {1182});
        row("worked: nothing chosen", false, worked, -1, kWorked, 0, {});

        // With L = T = H = W = 1 and P = 0: O is Int(N + 190) and B is N + 1.
        const auto bracket = [&row](const char *name, double n, double q) {
            row(name, false, {1, 1, n, 1, 1, 0}, int(R::BuyTarget),
                {1, 1, n, 1, 1, 0, 200, -11, n, 1, n + 1, n + 190, q}, 0, {q});
        };
        bracket("O 999: B", 809, 810);
        bracket("O 1000: B + 1.5", 810, 812.5);
        bracket("O 2000: B + 1.5", 1810, 1812.5);
        bracket("O 2001: B + 3", 1811, 1815);
        bracket("O 3000: B + 3", 2810, 2814);
        bracket("O 3001: B + 4", 2811, 2816);

        // The H 0 step is skipped and the rest runs: O is Int(S - 1210 + 904 + 1 - 8).
        const Numbers hZero{5, 3, 4, 0, 30, 40};
        row("H 0: one message, S stays 0", false, hZero, -1,
            {5, 3, 4, 0, 30, 40, 0, -1210, 904, 1, -1, -313, -1}, 1, {});
        row("H 0, safety: a second message", true, hZero, int(R::Safety),
            {5, 3, 4, 0, 30, 40, kWorked[6], -1210, 904, 1, -1, -286, -1}, 2, {});
        row("N 0: B kept", true, {2, 3, 0, 50, 30, 40}, int(R::BuyTarget),
            {2, 3, 0, 50, 30, 40, kWorked[6], -30, 400, 1, 52, 378, 52}, 1, {52});
        row("0/0: ends silently after reading", true, Numbers(6, 0.0), int(R::BuyTarget),
            Numbers(6, 0.0) + kWorked.mid(6), 0, {});
        row("(H-W)^2 overflows: ends at M", true, {2, 3, 4, 1e200, -1e200, 40}, int(R::MarketCap),
            {2, 3, 4, 1e200, -1e200, 40, 40.0 / 3, 7.9e201, 404, 1, 52, 1182, 53.5}, 0, {});
        row("an input too large: ends there", true, {7, 8, 9, qInf(), 99, 99}, int(R::Safety),
            Numbers{7, 8, 9} + kWorked.mid(3), 0, {});
    }

    void ratings()
    {
        QFETCH(bool, afterWorked);
        QFETCH(Numbers, inputs);
        QFETCH(int, chosen);
        QFETCH(Numbers, expected);
        QFETCH(int, messages);
        QFETCH(Numbers, shown);
        const Numbers v = afterWorked ? kWorked : Numbers(13, 0.0);
        const RatingFigures previous{v[0], v[1], v[2], v[3],  v[4],  v[5], v[6],
                                     v[7], v[8], v[9], v[10], v[11], v[12]};
        const RatingOutcome outcome =
            rateStock(previous, {inputs[0], inputs[1], inputs[2], inputs[3], inputs[4], inputs[5]},
                      chosen < 0 ? std::nullopt : std::optional(ShownRating(chosen)));
        QCOMPARE(list(outcome.figures), expected); // exactly, element by element
        QCOMPARE(outcome.zeroDivisors, messages);
        QCOMPARE(outcome.shown ? Numbers{*outcome.shown} : Numbers(), shown);
    }

    void forecast_data()
    {
        // Closes, advances, declines and point changes; high and low of the Dow, the Nasdaq and
        // the S&P 500, or nothing when they overflow.
        QTest::addColumn<Numbers>("day");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, Numbers day, const char *expected) {
            QTest::newRow(name) << day << QString::fromLatin1(expected);
        };
        row("rising day", {10000, 2000, 1300, 1500, 1200, 50, 20, 5},
            "10091.6666666667 10030 2043 2011.57142857143 1330.375 1315.83333333333");
        row("changes exactly 100, 30 and 10", {10000, 2000, 1300, 1500, 1200, 100, 30, 10},
            "10088.3333333333 10020 2012 1980.57142857143 1309.75 1294.16666666667");
        row("falling Dow and S&P switch the lows", {10000, 2000, 1300, 1200, 1500, -120, 25, -8},
            "10043 10011 2002.5 2010.92857142857 1302 1300.83333333333");
        row("unchanged Nasdaq alone switches all three lows",
            {10000, 2000, 1300, 1500, 1200, 50, 0, 5},
            "10091.6666666667 10065 2045 2025.57142857143 1330.375 1320.16666666667");
        row("all 0", Numbers(8, 0.0), "65 45 25 17 16 11");
        row("Dow 100.5 and Nasdaq 29.99", {10000, 2000, 1300, 1500, 1200, 100.5, 29.99, 5},
            "10018.3 9949.9 2042.001 2010.57242857143 1330.375 1315.83333333333");
        row("breadth overflows", {10000, 2000, 1300, 1e308, -1e308, 50, 20, 5}, "");
        row("Dow high alone overflows", {1.7e308, 2000, 1300, 1500, 1200, -1.7e308, 20, 5}, "");
    }

    void forecast()
    {
        QFETCH(Numbers, day);
        QFETCH(QString, expected);
        const ForecastResult result =
            forecastDay({day[0], day[1], day[2], day[3], day[4], day[5], day[6], day[7]});
        QCOMPARE(result.error, expected.isEmpty() ? Overflow : None);
        const IndexForecast &f = result.value;
        QStringList texts;
        for (const double v : {f.dowHigh, f.dowLow, f.nasdaqHigh, f.nasdaqLow, f.spHigh, f.spLow})
            texts << formatNumber(v, u'.');
        QCOMPARE(result.ok() ? texts.join(u' ') : QString(), expected);
    }

    // Shares, average cost, realized and dividends worked out by hand.
    void ledgers_data()
    {
        QTest::addColumn<QStringList>("trades");
        QTest::addColumn<Numbers>("expected"); // shares, average, realized, dividends; {} refused
        QTest::newRow("two lots with fees") << kAcme.mid(0, 2) << Numbers{20, 45.5, 0, 0};
        // 5 x (55 - 45.5) - 5; the average stays.
        QTest::newRow("a partial sale") << kAcme.mid(0, 3) << Numbers{15, 45.5, 42.5, 0};
        QTest::newRow("a dividend, a split") << kAcme << Numbers{30, 22.75, 42.5, 15};
        // 100 x (12 - 10.10) - 10; then a fresh lot at its own cost.
        QTest::newRow("a full sale, bought again")
            << QStringList{"2025-02-03 Buy 100 10 10", "2025-04-01 Sell 100 12 10",
                           "2025-05-02 Buy 50 8"}
            << Numbers{50, 8, 180, 0};
        QTest::newRow("fractions sold whole")
            << QStringList{"2025-01-02 Buy 0.1 10", "2025-01-03 Buy 0.2 10",
                           "2025-01-04 Sell 0.3 10"}
            << Numbers{0, 0, 0, 0};
        QTest::newRow("selling more than is held")
            << QStringList{"2025-01-02 Buy 10 40", "2025-01-03 Sell 11 40"} << Numbers{};
    }
    void ledgers()
    {
        QFETCH(QStringList, trades);
        QFETCH(Numbers, expected);
        Position p;
        bool refused = false;
        for (const Trade &t : ledger(trades))
            refused = refused || !applyTrade(p, t);
        QCOMPARE(refused, expected.isEmpty());
        const Numbers got{p.shares, p.average, p.realized, p.dividends};
        for (qsizetype i = 0; !refused && i < got.size(); ++i)
            QVERIFY2(std::abs(got[i] - expected[i]) < 1e-9, qPrintable(QString::number(got[i])));
    }

    // Against an independent XIRR (bisection on r in Python, the same 365-day years).
    void moneyWeighted_data()
    {
        QTest::addColumn<QStringList>("flows"); // "date amount"
        QTest::addColumn<double>("percent");    // -1000 for none
        QTest::newRow("the worked ledger")
            << QStringList{"2025-01-02 -405", "2025-03-03 -505", "2025-06-02 270", "2025-07-01 15",
                           "2025-12-31 750"}
            << 19.0196;
        QTest::newRow("a year, 10%") << QStringList{"2025-01-01 -100", "2026-01-01 110"} << 10.0;
        QTest::newRow("a loss") << QStringList{"2024-01-01 -1000", "2024-07-01 500",
                                               "2025-01-01 400"}
                                << -13.4872;
        QTest::newRow("short and steep")
            << QStringList{"2025-01-01 -100", "2025-01-31 150"} << 13781.7319;
        QTest::newRow("all paid in") << QStringList{"2025-01-01 -100", "2025-02-01 -50"} << -1000.0;
        QTest::newRow("all on one day")
            << QStringList{"2025-01-01 -100", "2025-01-01 120"} << -1000.0;
    }
    void moneyWeighted()
    {
        QFETCH(QStringList, flows);
        QFETCH(double, percent);
        QList<CashFlow> list;
        for (const QString &f : flows)
            list << CashFlow{QDate::fromString(f.section(u' ', 0, 0), Qt::ISODate),
                             f.section(u' ', 1).toDouble()};
        const std::optional<double> rate = moneyWeightedRate(list);
        QCOMPARE(rate.has_value(), percent != -1000);
        if (rate)
            QVERIFY2(std::abs(*rate * 100 - percent) < 0.0001 * std::max(1.0, std::abs(percent)),
                     qPrintable(QString::number(*rate * 100, 'f', 6)));
    }

    // The whole report of the worked ledger, valued with these closes, and the index's change.
    void returnsOfALedger_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("closeBetween"); // "date close", a day between the trades
        // Time-weighted: 400/405 x 1000/905 x 1095/1000 x 795/825 x 720/780 x 750/720 - 1.
        QTest::newRow("whole") << ""
                               << "2025-12-31"
                               << "ACME: 30 shares at average cost 22.75; realized 42.50; "
                                  "dividends 15.00; unrealized 67.50; money-weighted 19.02% a "
                                  "year; time-weighted 10.73%; S&P 500 10.00%"
                               << "";
        // The 10 held were worth 450 at the close before the second buy (not the 400 of the
        // first day): 400/405 x 450/400 x 1000/955 x 1095/1000 x 795/825 x 720/780 x 750/720.
        QTest::newRow("a close between the trades")
            << ""
            << "2025-12-31"
            << "ACME: 30 shares at average cost 22.75; realized 42.50; dividends 15.00; "
               "unrealized 67.50; money-weighted 19.02% a year; time-weighted 18.05%; S&P 500 "
               "10.00%"
            << "2025-02-14 45";
        // 10 held at 50 bought on the first day; 1000/1005 x 1095/1000 x 795/825 - 1.
        QTest::newRow("from, to") << "2025-03-03"
                                  << "2025-07-01"
                                  << "ACME: 15 shares at average cost 45.50; realized 42.50; "
                                     "dividends 15.00; unrealized 97.50; money-weighted 20.68% "
                                     "a year; time-weighted 4.99%; S&P 500 0.00%"
                                  << "";
        QTest::newRow("before any trade") << ""
                                          << "2024-12-31"
                                          << ""
                                          << "";
    }
    void returnsOfALedger()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, line);
        QFETCH(QString, closeBetween);
        StockLedger acme{QStringLiteral("ACME"), ledger(kAcme), {}, std::nullopt};
        QList<std::pair<QString, double>> closes{{"2025-01-02", 40}, {"2025-03-03", 50},
                                                 {"2025-06-02", 55}, {"2025-07-01", 52},
                                                 {"2025-09-01", 24}, {"2025-12-31", 25}};
        if (!closeBetween.isEmpty())
            closes << std::pair{closeBetween.section(u' ', 0, 0),
                                closeBetween.section(u' ', 1).toDouble()};
        std::sort(closes.begin(), closes.end());
        for (const auto &[day, close] : std::as_const(closes))
            acme.closes.append(QDate::fromString(day, Qt::ISODate), close);
        CloseSeries index;
        index.append(QDate(2025, 1, 2), 5000);
        index.append(QDate(2025, 12, 31), 5500);
        const ReturnsResult result = ledgerReturns({&acme}, QDate::fromString(from, Qt::ISODate),
                                                   QDate::fromString(to, Qt::ISODate), index);
        QVERIFY(!result.failure);
        QCOMPARE(result.line.name.isEmpty() ? QString() : returnsLine(result.line), line);
        if (!line.isEmpty()) // the decimal comma goes into every figure, and only there
            QCOMPARE(returnsLine(result.line, u',').count(u','), 7);
    }
};

QTEST_GUILESS_MAIN(TstFormulas)
#include "tst_formulas.moc"
