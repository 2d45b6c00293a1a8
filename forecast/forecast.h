// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/numbers.h"

// The next trading day's highs and lows of the Dow Jones, the Nasdaq and the S&P 500.
namespace vantora {

// The figures of the day before.
struct MarketDay
{
    double dowClose = 0, nasdaqClose = 0, spClose = 0;
    double advances = 0, declines = 0;
    double dowPoints = 0, nasdaqPoints = 0, spPoints = 0; // the change of each index
};

struct IndexForecast
{
    double dowHigh = 0, dowLow = 0;
    double nasdaqHigh = 0, nasdaqLow = 0;
    double spHigh = 0, spLow = 0;
};

// On an error the forecast is all 0.
struct ForecastResult
{
    IndexForecast value;
    ArithError error = ArithError::None;
    bool ok() const { return error == ArithError::None; }
};

// The six forecasts, in the forecaster's own order of evaluation. A falling or unchanged index
// anywhere switches the lows of all three to other formulas. Nothing checks or orders the
// results: a low can lie above its high. Overflow when any forecast is beyond the double's range.
ForecastResult forecastDay(const MarketDay &day);

} // namespace vantora
