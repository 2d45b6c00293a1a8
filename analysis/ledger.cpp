// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ledger.h"

#include "common/numbers.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace vantora {
namespace {

struct TradeTexts
{
    Q_DECLARE_TR_FUNCTIONS(Trades)
};

// Shares left over by sums of fractions (0.1 + 0.2 - 0.3) count as none.
constexpr double kShareDust = 1e-9;

// The trade as the subject of a sentence.
QString actionName(TradeAction action)
{
    switch (action) {
    case TradeAction::Buy:
        return TradeTexts::tr("a buy");
    case TradeAction::Sell:
        return TradeTexts::tr("a sale");
    case TradeAction::Dividend:
        return TradeTexts::tr("a dividend");
    case TradeAction::Split:
        return TradeTexts::tr("a split");
    }
    return {};
}

// The sum of the flows discounted at exp(x) - 1 a year; x is log(1 + r), so that any x is a
// rate above -100%.
double presentValue(const QList<CashFlow> &flows, const QList<double> &years, double x)
{
    double sum = 0;
    for (qsizetype i = 0; i < flows.size(); ++i)
        sum += flows[i].amount * std::exp(-x * years[i]);
    return sum;
}

int signOf(double v)
{
    return v > 0 ? 1 : v < 0 ? -1 : 0;
}

QString withPoint(QString text, QChar decimalPoint)
{
    if (decimalPoint != u'.')
        text.replace(u'.', decimalPoint);
    return text;
}

} // namespace

std::optional<TradeAction> tradeAction(QStringView text)
{
    for (const TradeAction action :
         {TradeAction::Buy, TradeAction::Sell, TradeAction::Dividend, TradeAction::Split})
        if (text.trimmed().compare(actionText(action), Qt::CaseInsensitive) == 0 ||
            text.trimmed().compare(actionCaption(action), Qt::CaseInsensitive) == 0)
            return action;
    return std::nullopt;
}

QString actionCaption(TradeAction action)
{
    switch (action) {
    case TradeAction::Buy:
        return TradeTexts::tr("Buy");
    case TradeAction::Sell:
        return TradeTexts::tr("Sell");
    case TradeAction::Dividend:
        return TradeTexts::tr("Dividend");
    case TradeAction::Split:
        return TradeTexts::tr("Split");
    }
    return {};
}

QString actionText(TradeAction action)
{
    switch (action) {
    case TradeAction::Buy:
        return QStringLiteral("Buy");
    case TradeAction::Sell:
        return QStringLiteral("Sell");
    case TradeAction::Dividend:
        return QStringLiteral("Dividend");
    case TradeAction::Split:
        return QStringLiteral("Split");
    }
    return {};
}

std::optional<TradeProblem> tradeProblem(TradeAction action, std::optional<double> shares,
                                         std::optional<double> price, std::optional<double> fees)
{
    const QString what = actionName(action);
    for (const std::optional<double> *x : {&shares, &price, &fees})
        if (*x && !std::isfinite(**x))
            return TradeProblem{x == &shares  ? TradeField::Shares
                                : x == &price ? TradeField::Price
                                              : TradeField::Fees,
                                TradeTexts::tr("the number is beyond what can be computed with")};
    switch (action) {
    case TradeAction::Buy:
    case TradeAction::Sell:
        if (!shares || *shares <= 0)
            return TradeProblem{
                TradeField::Shares,
                TradeTexts::tr("%1 needs its number of shares, more than 0").arg(what)};
        if (!price || *price < 0)
            return TradeProblem{
                TradeField::Price,
                TradeTexts::tr("%1 needs its price per share, 0 or more").arg(what)};
        if (fees && *fees < 0)
            return TradeProblem{TradeField::Fees, TradeTexts::tr("fees cannot be less than 0")};
        return std::nullopt;
    case TradeAction::Dividend:
        if (shares)
            return TradeProblem{TradeField::Shares,
                                TradeTexts::tr("a dividend has no shares; leave them empty")};
        if (!price || *price < 0)
            return TradeProblem{
                TradeField::Price,
                TradeTexts::tr("a dividend needs the cash received as its price, 0 or more")};
        break;
    case TradeAction::Split:
        if (!shares || *shares <= 0)
            return TradeProblem{
                TradeField::Shares,
                TradeTexts::tr("a split needs the new shares per old share, more than 0 (2 for "
                               "a two-for-one)")};
        if (price)
            return TradeProblem{TradeField::Price,
                                TradeTexts::tr("a split has no price; leave it empty")};
        break;
    }
    if (fees && *fees != 0)
        return TradeProblem{TradeField::Fees,
                            TradeTexts::tr("%1 has no fees; leave them empty").arg(what)};
    return std::nullopt;
}

bool applyTrade(Position &p, const Trade &t)
{
    switch (t.action) {
    case TradeAction::Buy: {
        const double cost = p.shares * p.average + t.shares * t.price + t.fees;
        p.shares += t.shares;
        p.average = p.shares > kShareDust ? cost / p.shares : 0;
        break;
    }
    case TradeAction::Sell:
        if (t.shares > p.shares + kShareDust * std::max(1.0, p.shares))
            return false;
        p.realized += t.shares * (t.price - p.average) - t.fees;
        p.shares -= t.shares;
        if (p.shares <= kShareDust * std::max(1.0, t.shares)) {
            p.shares = 0;
            p.average = 0;
        }
        break;
    case TradeAction::Dividend:
        p.dividends += t.price;
        break;
    case TradeAction::Split:
        if (t.shares > 0) {
            p.shares *= t.shares;
            p.average /= t.shares;
        }
        break;
    }
    return true;
}

double moneyIn(const Trade &t)
{
    return t.action == TradeAction::Buy ? t.shares * t.price + t.fees : 0;
}

double moneyOut(const Trade &t)
{
    switch (t.action) {
    case TradeAction::Sell:
        return t.shares * t.price - t.fees;
    case TradeAction::Dividend:
        return t.price;
    default:
        return 0;
    }
}

std::optional<double> moneyWeightedRate(const QList<CashFlow> &flows)
{
    if (flows.isEmpty())
        return std::nullopt;
    QDate first = flows.constFirst().date;
    for (const CashFlow &flow : flows)
        first = std::min(first, flow.date);
    QList<double> years;
    years.reserve(flows.size());
    for (const CashFlow &flow : flows)
        years << double(first.daysTo(flow.date)) / 365.0;

    const double atZero = presentValue(flows, years, 0);
    if (atZero == 0 &&
        std::any_of(flows.cbegin(), flows.cend(), [](const CashFlow &f) { return f.amount != 0; }))
        return 0.0;
    // Outward from a rate of 0 in steps that double, both ways, for the nearest change of sign.
    double low = 0, high = 0;
    bool found = false;
    double lastUp = 0, lastDown = 0;
    bool up = true, down = true;
    for (double step = 0.001; step < 16 && !found && (up || down); step *= 2) {
        for (const int direction : {1, -1}) {
            bool &open = direction > 0 ? up : down;
            double &last = direction > 0 ? lastUp : lastDown;
            if (!open || found)
                continue;
            const double x = direction * step;
            const double v = presentValue(flows, years, x);
            if (!std::isfinite(v)) {
                open = false;
                continue;
            }
            if (signOf(v) != signOf(atZero)) {
                low = std::min(last, x);
                high = std::max(last, x);
                found = true;
            }
            last = x;
        }
    }
    if (!found)
        return std::nullopt;
    const int lowSign = signOf(presentValue(flows, years, low));
    for (int i = 0; i < 200 && high - low > 1e-15; ++i) {
        const double middle = (low + high) / 2;
        if (signOf(presentValue(flows, years, middle)) == lowSign)
            low = middle;
        else
            high = middle;
    }
    const double rate = std::expm1((low + high) / 2);
    return std::isfinite(rate) ? std::optional<double>(rate) : std::nullopt;
}

std::optional<double> timeWeightedReturn(double startValue, const QList<ValuedDay> &days)
{
    double product = 1, last = startValue;
    bool any = false;
    for (const ValuedDay &day : days) {
        // From the last day valued to the close before this one no money moved.
        const double before = day.before.value_or(last);
        if (last > 0)
            product *= before / last;
        const double base = before + day.moneyIn;
        if (base > 0) {
            product *= (day.value + day.moneyOut) / base;
            any = true;
        }
        last = day.value;
    }
    if (!any || !std::isfinite(product))
        return std::nullopt;
    return product - 1;
}

void CloseSeries::append(QDate day, double close)
{
    m_days << day.toJulianDay();
    m_closes << close;
}

std::optional<double> CloseSeries::on(QDate day) const
{
    const auto after = std::upper_bound(m_days.cbegin(), m_days.cend(), day.toJulianDay());
    if (after == m_days.cbegin())
        return std::nullopt;
    return m_closes[after - m_days.cbegin() - 1];
}

std::optional<double> CloseSeries::onInOrder(QDate day, qsizetype *cursor) const
{
    const qint64 julian = day.toJulianDay();
    const qsizetype size = m_days.size();
    const qint64 *days = m_days.constData();
    while (*cursor < size && days[*cursor] <= julian)
        ++*cursor;
    if (*cursor == 0)
        return std::nullopt;
    return m_closes.at(*cursor - 1);
}

double StockLedger::priceOnInOrder(QDate day, qsizetype *cursor) const
{
    if (const std::optional<double> close = closes.onInOrder(day, cursor))
        return *close;
    return currentPrice.value_or(0);
}

double StockLedger::priceOn(QDate day) const
{
    if (const std::optional<double> close = closes.on(day))
        return *close;
    return currentPrice.value_or(0);
}

QString LedgerFailure::text() const
{
    return QStringLiteral("%1 sells %2 shares on %3, when %4 are held")
        .arg(ticker, formatNumber(sold, u'.'), date.toString(Qt::ISODate),
             formatNumber(held, u'.'));
}

namespace {

// One stock's walk through its trades, day by day.
struct LedgerState
{
    const StockLedger *stock;
    Position position;
    qsizetype next = 0;
    qsizetype close = 0; // the days are valued in order
};

// The first day of the period: `from`, else the first trade on or before `to`; none when no
// trade is.
QDate firstDay(const QList<const StockLedger *> &stocks, QDate from, QDate to)
{
    QDate start = from;
    for (const StockLedger *stock : stocks)
        if (!from.isValid() && !stock->trades.isEmpty() && stock->trades.constFirst().date <= to &&
            (!start.isValid() || stock->trades.constFirst().date < start))
            start = stock->trades.constFirst().date;
    return start;
}

// Applies the stock's trade; a sale of more than is held is the result's failure.
bool applyIn(LedgerState &s, const Trade &trade, ReturnsResult *result)
{
    if (applyTrade(s.position, trade))
        return true;
    result->failure = LedgerFailure{s.stock->ticker, trade.date, trade.shares, s.position.shares};
    return false;
}

double valueOn(QList<LedgerState> &states, QDate day)
{
    double value = 0;
    for (LedgerState &s : states)
        if (s.position.shares != 0)
            value += s.position.shares * s.stock->priceOnInOrder(day, &s.close);
    return value;
}

// The days on which any stock still trades, up to `to`, in order and each once.
QList<QDate> tradeDays(const QList<LedgerState> &states, QDate to)
{
    QList<QDate> days;
    for (const LedgerState &s : states)
        for (qsizetype i = s.next; i < s.stock->trades.size(); ++i)
            if (s.stock->trades[i].date <= to)
                days << s.stock->trades[i].date;
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

// The line's figures summed over the stocks; one stock's line is that stock's.
void addPositions(ReturnsLine &line, const QList<LedgerState> &states, QDate to)
{
    for (const LedgerState &s : states) {
        line.position.realized += s.position.realized;
        line.position.dividends += s.position.dividends;
        line.unrealized += s.position.shares * (s.stock->priceOn(to) - s.position.average);
    }
    if (states.size() == 1) {
        line.name = states.constFirst().stock->ticker;
        line.position = states.constFirst().position;
    }
}

} // namespace

ReturnsResult ledgerReturns(const QList<const StockLedger *> &stocks, QDate from, QDate to,
                            const CloseSeries &index)
{
    ReturnsResult result;
    const QDate start = firstDay(stocks, from, to);
    if (!start.isValid())
        return result;
    QList<LedgerState> states;
    for (const StockLedger *stock : stocks)
        states << LedgerState{stock, {}, 0, 0};

    // What was held before the first day is bought at that day's value.
    QList<CashFlow> flows;
    double startValue = 0;
    if (from.isValid()) {
        for (LedgerState &s : states) {
            const QList<Trade> &trades = s.stock->trades;
            for (; s.next < trades.size() && trades[s.next].date < from; ++s.next)
                if (!applyIn(s, trades[s.next], &result))
                    return result;
            s.position.realized = s.position.dividends = 0;
        }
        startValue = valueOn(states, from);
        if (startValue != 0)
            flows << CashFlow{from, -startValue};
    }

    const QList<QDate> days = tradeDays(states, to);
    QList<ValuedDay> valued;
    valued.reserve(days.size() + 1);
    for (const QDate day : days) {
        ValuedDay v;
        // Money moves at the start of its day, after the close before it.
        if (!from.isValid() || day > from)
            v.before = valueOn(states, day.addDays(-1));
        for (LedgerState &s : states) {
            const QList<Trade> &trades = s.stock->trades;
            for (; s.next < trades.size() && trades[s.next].date == day; ++s.next) {
                v.moneyIn += moneyIn(trades[s.next]);
                v.moneyOut += moneyOut(trades[s.next]);
                if (!applyIn(s, trades[s.next], &result))
                    return result;
            }
        }
        v.value = valueOn(states, day);
        if (v.moneyOut != v.moneyIn)
            flows << CashFlow{day, v.moneyOut - v.moneyIn};
        valued << v;
    }
    const double endValue = valueOn(states, to);
    if (days.isEmpty() || days.constLast() != to)
        valued << ValuedDay{0, 0, endValue, endValue};
    if (endValue != 0)
        flows << CashFlow{to, endValue};

    ReturnsLine &line = result.line;
    line.value = endValue;
    addPositions(line, states, to);
    line.moneyWeighted = moneyWeightedRate(flows);
    line.timeWeighted = timeWeightedReturn(startValue, valued);
    const std::optional<double> first = index.on(start), last = index.on(to);
    if (first && last && *first > 0)
        line.index = *last / *first - 1;
    return result;
}

QString moneyText(double value, QChar decimalPoint)
{
    QString text = QString::number(value, 'f', 2);
    if (text == QLatin1String("-0.00"))
        text = QStringLiteral("0.00");
    return withPoint(text, decimalPoint);
}

QString percentText(std::optional<double> fraction, QChar decimalPoint)
{
    if (!fraction || !std::isfinite(*fraction * 100))
        return QStringLiteral("n/a");
    return moneyText(*fraction * 100, decimalPoint) + u'%';
}

namespace {

QString returnsTail(const ReturnsLine &line, QChar dp)
{
    const QString rate = line.moneyWeighted
                             ? percentText(line.moneyWeighted, dp) + QStringLiteral(" a year")
                             : QStringLiteral("n/a");
    return QStringLiteral("realized %1; dividends %2; unrealized %3; money-weighted %4; "
                          "time-weighted %5; S&P 500 %6")
        .arg(moneyText(line.position.realized, dp), moneyText(line.position.dividends, dp),
             moneyText(line.unrealized, dp), rate, percentText(line.timeWeighted, dp),
             percentText(line.index, dp));
}

} // namespace

QString returnsLine(const ReturnsLine &line, QChar dp)
{
    return QStringLiteral("%1: %2 shares at average cost %3; %4")
        .arg(line.name, formatNumber(line.position.shares, dp),
             moneyText(line.position.average, dp), returnsTail(line, dp));
}

QString portfolioLine(const ReturnsLine &line, QChar dp)
{
    return QStringLiteral("Portfolio: value %1; %2")
        .arg(moneyText(line.value, dp), returnsTail(line, dp));
}

} // namespace vantora
