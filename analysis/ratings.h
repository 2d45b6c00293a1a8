// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/numbers.h"

#include <optional>

// The ratings calculation: a safety rating, growth, market capitalisation, an overall rating and
// a buy/target price from a stock's earnings, 52-week range and price.
namespace vantora {

// The figures the calculation keeps from one click to the next; all 0 before the first.
struct RatingFigures
{
    double L = 0, T = 0, N = 0, H = 0, W = 0, P = 0; // the inputs as last read
    double S = 0, G = 0, M = 0, one = 0, B = 0, O = 0, Q = 0;
};

// Earnings last, this and next year, the 52-week high and low, and the current price, as read.
struct RatingInputs
{
    double L = 0, T = 0, N = 0, H = 0, W = 0, P = 0;
};

// The figure chosen to be shown. Growth and market cap are shown by other formulas than the
// ones that go into the overall rating, and the overall rating shown is rounded before P / L
// is subtracted, not after.
enum class ShownRating { Safety, Growth, MarketCap, Overall, BuyTarget };

struct RatingOutcome
{
    RatingFigures figures;
    int zeroDivisors = 0;        // how many times the zero-divisor message is to be shown
    std::optional<double> shown; // the chosen figure, unless its step failed
};

// One click of the calculation, step by step in its fixed order: the six inputs, the stored
// figures, the buy/target price by the bracket of O, then the chosen figure. A step whose
// division has a zero divisor and a nonzero dividend counts one message and has no effect, and
// the calculation goes on; 0/0 or an overflow ends it at that step without a message. Either way
// a figure whose step failed keeps its previous value.
RatingOutcome rateStock(const RatingFigures &previous, const RatingInputs &inputs,
                        std::optional<ShownRating> chosen);

} // namespace vantora
