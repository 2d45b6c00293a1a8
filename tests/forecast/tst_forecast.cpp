// The index forecast, computed directly.
#include "forecast/forecast.h"

#include <QTest>

using namespace vantora;

class TstForecast : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void forecast_data()
    {
        // The day: closes, advances, declines, point changes. The forecast: high and low of the
        // Dow, the Nasdaq and the S&P 500; none when it overflows.
        QTest::addColumn<QList<double>>("day");
        QTest::addColumn<QStringList>("expected");

        const auto closes = [](double advances, double declines, double d, double n, double s) {
            return QList<double>{10000, 2000, 1300, advances, declines, d, n, s};
        };
        QTest::newRow("rising day")
            << closes(1500, 1200, 50, 20, 5)
            << QStringList{"10091.6666666667", "10030",    "2043",
                           "2011.57142857143", "1330.375", "1315.83333333333"};
        QTest::newRow("changes exactly 100, 30 and 10")
            << closes(1500, 1200, 100, 30, 10)
            << QStringList{"10088.3333333333", "10020",   "2012",
                           "1980.57142857143", "1309.75", "1294.16666666667"};
        QTest::newRow("falling Dow and S&P switch the lows")
            << closes(1200, 1500, -120, 25, -8)
            << QStringList{"10043", "10011",           "2002.5", "2010.92857142857",
                           "1302",  "1300.83333333333"};
        QTest::newRow("unchanged Nasdaq alone switches all three lows")
            << closes(1500, 1200, 50, 0, 5)
            << QStringList{"10091.6666666667", "10065",    "2045",
                           "2025.57142857143", "1330.375", "1320.16666666667"};
        QTest::newRow("all 0") << QList<double>(8, 0.0)
                               << QStringList{"65", "45", "25", "17", "16", "11"};
        QTest::newRow("lows above their highs")
            << closes(0, 3000, 50, 20, 5)
            << QStringList{"9761.66666666667", "9920",     "1823",
                           "1917.28571428571", "1165.375", "1233.33333333333"};
        QTest::newRow("Dow 100.5 and Nasdaq 29.99")
            << closes(1500, 1200, 100.5, 29.99, 5)
            << QStringList{"10018.3",          "9949.9",   "2042.001",
                           "2010.57242857143", "1330.375", "1315.83333333333"};
        QTest::newRow("breadth overflows") << closes(1e308, -1e308, 50, 20, 5) << QStringList();
        QTest::newRow("Dow high alone overflows")
            << QList<double>{1.7e308, 2000, 1300, 1500, 1200, -1.7e308, 20, 5} << QStringList();
    }

    void forecast()
    {
        QFETCH(QList<double>, day);
        QFETCH(QStringList, expected);

        const ForecastResult result =
            forecastDay({day[0], day[1], day[2], day[3], day[4], day[5], day[6], day[7]});
        QCOMPARE(result.error, expected.isEmpty() ? ArithError::Overflow : ArithError::None);
        if (!result.ok())
            return;
        const IndexForecast &f = result.value;
        QStringList texts;
        for (const double value :
             {f.dowHigh, f.dowLow, f.nasdaqHigh, f.nasdaqLow, f.spHigh, f.spLow})
            texts << formatNumber(value, u'.');
        QCOMPARE(texts, expected);
    }
};

QTEST_GUILESS_MAIN(TstForecast)
#include "tst_forecast.moc"
