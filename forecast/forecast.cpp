// SPDX-License-Identifier: GPL-3.0-or-later
#include "forecast/forecast.h"

namespace vantora {

ForecastResult forecastDay(const MarketDay &x)
{
    // One pair of complementary comparisons each: the Dow's test is strict, the others not.
    const double dAdjust = x.dowPoints > 100 ? -35.0 : 35.0;
    const double nAdjust = x.nasdaqPoints >= 30 ? -15.0 : 15.0;
    const double sAdjust = x.spPoints >= 10 ? -10.0 : 10.0;

    // The factors are formed as 1 divided by the whole number first and then multiplied; the
    // brackets as written.
    const double B = x.advances - x.declines;
    const double f15 = 1.0 / 15;
    const double f5 = 1.0 / 5;
    const double f10 = 1.0 / 10;
    const double f8 = 1.0 / 8;
    const double f3 = 1.0 / 3;

    IndexForecast f;
    f.dowHigh = (x.dowClose + ((B / 10 + 30) - f15 * x.dowPoints)) + dAdjust;
    f.dowLow = ((x.dowClose + B / 30) - 5 - f5 * x.dowPoints) + dAdjust;
    f.nasdaqHigh = (x.nasdaqClose + ((B / 15 + 10) - f10 * x.nasdaqPoints)) + nAdjust;
    f.nasdaqLow = ((x.nasdaqClose + B / 35) - 10 - f10 * x.nasdaqPoints) + nAdjust;
    f.spHigh = (x.spClose + ((B / 20 + 6) - f8 * x.spPoints)) + sAdjust;
    f.spLow = ((x.spClose + B / 40) - f3 * x.spPoints) + sAdjust;

    if (x.spPoints <= 0 || x.nasdaqPoints <= 0 || x.dowPoints <= 0) {
        f.dowLow = ((x.dowClose + B / 30) + 10 + f5 * x.dowPoints) + dAdjust;
        f.nasdaqLow = ((x.nasdaqClose + B / 35) + 2 + f10 * x.nasdaqPoints) + nAdjust;
        f.spLow = ((x.spClose + B / 40) + 1 + f3 * x.spPoints) + sAdjust;
    }

    for (const double value : {f.dowHigh, f.dowLow, f.nasdaqHigh, f.nasdaqLow, f.spHigh, f.spLow})
        if (!checkedValue(value).ok())
            return {{}, ArithError::Overflow};
    return {f, ArithError::None};
}

} // namespace vantora
