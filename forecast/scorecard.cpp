// SPDX-License-Identifier: GPL-3.0-or-later
#include "forecast/scorecard.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace vantora {
namespace {

Range ordered(double a, double b)
{
    return a <= b ? Range{a, b} : Range{b, a};
}

// The forecaster's own high and low of one index, as it computes them: unordered.
Range forecastOf(const IndexForecast &f, MarketIndex index)
{
    switch (index) {
    case MarketIndex::Dow:
        return ordered(f.dowLow, f.dowHigh);
    case MarketIndex::Nasdaq:
        return ordered(f.nasdaqLow, f.nasdaqHigh);
    case MarketIndex::Sp500:
        return ordered(f.spLow, f.spHigh);
    }
    return {};
}

bool hasRange(const PriceDay &day)
{
    return day.high.has_value() && day.low.has_value();
}

Figures figuresOf(const QList<ScoredDay> &days, Range ScoredDay::*which)
{
    Figures f;
    if (days.isEmpty())
        return f;
    qint64 held = 0;
    double errorHigh = 0, errorLow = 0;
    for (const ScoredDay &day : days) {
        const Range &range = day.*which;
        if (range.holds(day.close))
            ++f.closeHits;
        if (range.lower <= day.low && day.high <= range.upper)
            ++held;
        errorHigh += std::abs(range.upper - day.high);
        errorLow += std::abs(range.lower - day.low);
    }
    const double n = double(days.size());
    f.closeInRange = double(f.closeHits) / n;
    f.rangeHeld = double(held) / n;
    f.errorHigh = errorHigh / n;
    f.errorLow = errorLow / n;
    return f;
}

QString oneDecimal(double value, QChar decimalPoint)
{
    QString text = QString::number(value, 'f', 1);
    if (decimalPoint != u'.')
        text.replace(u'.', decimalPoint);
    return text;
}

} // namespace

QString indexName(MarketIndex index)
{
    switch (index) {
    case MarketIndex::Dow:
        return QStringLiteral("Dow Jones");
    case MarketIndex::Nasdaq:
        return QStringLiteral("Nasdaq");
    case MarketIndex::Sp500:
        return QStringLiteral("S&P 500");
    }
    return {};
}

IndexScore summarise(QList<ScoredDay> days)
{
    IndexScore score;
    score.forecaster = figuresOf(days, &ScoredDay::forecast);
    score.naive = figuresOf(days, &ScoredDay::naive);
    score.closeInterval = wilsonInterval(score.forecaster.closeHits, days.size());
    score.days = std::move(days);
    return score;
}

Scorecard scoreForecasts(const ScorecardInput &input)
{
    // A date that several records hold is scored once, with the first of them.
    QList<ForecasterRecord> records;
    QSet<QDate> seen;
    for (const ForecasterRecord &record : input.records)
        if (record.date.isValid() && !seen.contains(record.date)) {
            seen.insert(record.date);
            records << record;
        }

    Scorecard card;
    QList<ScoredDay> all;
    for (int i = 0; i < kMarketIndices; ++i) {
        const auto index = MarketIndex(i);
        const QList<PriceDay> &prices = input.prices[std::size_t(i)];
        QHash<QDate, qsizetype> position;
        for (qsizetype p = 0; p < prices.size(); ++p)
            position.insert(prices[p].date, p);

        QList<ScoredDay> days;
        for (const ForecasterRecord &record : std::as_const(records)) {
            const qsizetype p = position.value(record.date, -1);
            if (p < 1 || !hasRange(prices[p]) || !hasRange(prices[p - 1]))
                continue;
            const ForecastResult forecast = forecastDay(record.inputs);
            if (!forecast.ok())
                continue;
            const PriceDay &day = prices[p], &before = prices[p - 1];
            days << ScoredDay{record.date,
                              *day.high,
                              *day.low,
                              day.close,
                              forecastOf(forecast.value, index),
                              ordered(*before.low, *before.high)};
        }
        std::sort(days.begin(), days.end(),
                  [](const ScoredDay &a, const ScoredDay &b) { return a.date < b.date; });
        all << days;
        card.indices[std::size_t(i)] = summarise(std::move(days));
    }
    card.all = summarise(std::move(all));
    return card;
}

Interval wilsonInterval(qint64 hits, qint64 n, double z)
{
    if (n <= 0)
        return {0, 1};
    const double total = double(n);
    const double p = double(hits) / total;
    const double z2 = z * z;
    const double denominator = 1 + z2 / total;
    const double centre = (p + z2 / (2 * total)) / denominator;
    const double half = z * std::sqrt(p * (1 - p) / total + z2 / (4 * total * total)) / denominator;
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

QString nothingToScoreReason()
{
    return QCoreApplication::translate(
        "Scorecard", "no record of the forecaster with all its inputs (the three closes and "
                     "changes, advances and declines) has its day, and the trading day before it, "
                     "among the prices of an index with a high, a low and a close");
}

QString percentText(double share, QChar decimalPoint)
{
    return oneDecimal(share * 100, decimalPoint) + u'%';
}

QString pointsText(double points, QChar decimalPoint)
{
    return oneDecimal(points, decimalPoint);
}

QString scorecardLine(const QString &name, const IndexScore &score)
{
    const qint64 n = score.count();
    if (n == 0)
        return QStringLiteral("%1: 0 days; nothing to score").arg(name);
    const Figures &f = score.forecaster, &naive = score.naive;
    return QStringLiteral("%1: %2 %3; close in range %4 (95% CI %5-%6); range held %7; mean error "
                          "high %8, low %9 points; ")
               .arg(name, QString::number(n),
                    n == 1 ? QStringLiteral("day") : QStringLiteral("days"),
                    percentText(f.closeInRange), oneDecimal(score.closeInterval.lower * 100, u'.'),
                    percentText(score.closeInterval.upper), percentText(f.rangeHeld),
                    pointsText(f.errorHigh), pointsText(f.errorLow)) +
           QStringLiteral("naive: close in range %1, range held %2, mean error high %3, low %4 "
                          "points")
               .arg(percentText(naive.closeInRange), percentText(naive.rangeHeld),
                    pointsText(naive.errorHigh), pointsText(naive.errorLow));
}

} // namespace vantora
