// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forecast/forecast.h"

#include <QChar>
#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <optional>

// How well the forecaster's ranges have done: each forecast high and low against the index's
// real day, beside a naive forecast that repeats the previous trading day's high and low.
namespace vantora {

// One trading day of a symbol as the table of prices keeps it.
struct PriceDay
{
    QDate date;
    double close = 0;
    std::optional<double> high, low; // a file of closes only gives neither
};

// A record of the forecaster: the day D whose high and low it forecasts, and its inputs (the
// closes and changes of the trading day before D, and that day's advances and declines).
struct ForecasterRecord
{
    QDate date;
    MarketDay inputs;
};

// The three indices, in this order everywhere.
enum class MarketIndex { Dow, Nasdaq, Sp500 };
inline constexpr int kMarketIndices = 3;
// "Dow Jones", "Nasdaq", "S&P 500".
QString indexName(MarketIndex index);

struct ScorecardInput
{
    QList<ForecasterRecord> records;                    // in stored order
    std::array<QList<PriceDay>, kMarketIndices> prices; // each index's days, oldest first
};

// A forecast range, put in order.
struct Range
{
    double lower = 0, upper = 0;
    bool holds(double x) const { return lower <= x && x <= upper; }
};

// One scored day of one index.
struct ScoredDay
{
    QDate date;
    double high = 0, low = 0, close = 0; // the real day
    Range forecast;                      // the forecaster's, from the record's inputs
    Range naive;                         // the previous trading day's low and high
};

struct Interval
{
    double lower = 0, upper = 0;
};

// The figures of one forecast over a set of days: shares from 0 to 1, errors in points.
struct Figures
{
    qint64 closeHits = 0;
    double closeInRange = 0; // lower <= close <= upper
    double rangeHeld = 0;    // lower <= low and high <= upper
    double errorHigh = 0;    // mean of |upper - high|
    double errorLow = 0;     // mean of |lower - low|
};

struct IndexScore
{
    QList<ScoredDay> days; // oldest first
    Figures forecaster, naive;
    Interval closeInterval; // Wilson's 95% interval of the forecaster's close in range
    qint64 count() const { return days.size(); }
};

struct Scorecard
{
    std::array<IndexScore, kMarketIndices> indices;
    IndexScore all; // the days of the three indices together
    bool empty() const { return all.days.isEmpty(); }
};

// The days scored for an index are the days D of the records (the first record of a date,
// in stored order) that the index's prices have with a close, a high and a low, and whose
// previous day in those prices (the naive forecast) has a high and a low too; a day the prices
// lack, or whose forecast overflows, is left out. So the forecaster and the naive forecast are
// judged on the same days.
Scorecard scoreForecasts(const ScorecardInput &input);
// The figures of a set of scored days (the days of several indices, too).
IndexScore summarise(QList<ScoredDay> days);

// Wilson's score interval for hits out of n at the normal quantile z (1.96 for 95%); 0 to 1 for
// n = 0.
Interval wilsonInterval(qint64 hits, qint64 n, double z = 1.96);

// Why a scorecard has nothing in it, for a message that goes on from "nothing to score: ".
QString nothingToScoreReason();

// A share as a percentage with one decimal ("61.3%"), and points with one decimal ("85.2").
QString percentText(double share, QChar decimalPoint = u'.');
QString pointsText(double points, QChar decimalPoint = u'.');
// One line of the scorecard as the database tool prints it, for an index or for all three:
// "Dow Jones: 240 days; close in range 61.3% (95% CI 55.0-67.2%); range held 12.1%; mean error
// high 85.2, low 90.1 points; naive: close in range 70.0%, ...".
QString scorecardLine(const QString &name, const IndexScore &score);

} // namespace vantora
