// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

// A stock's ledger of trades and what the money in it earned: shares and average cost,
// realized gains, dividends, and the money-weighted and true time-weighted rates of return.
namespace vantora {

enum class TradeAction { Buy, Sell, Dividend, Split };

// "Buy", "Sell", "Dividend" or "Split" (or the caption in the user's language), letter case
// aside.
std::optional<TradeAction> tradeAction(QStringView text);
// The action as stored and written to files: "Buy", "Sell", "Dividend" or "Split".
QString actionText(TradeAction action);
// The action as the user reads it, in the user's language.
QString actionCaption(TradeAction action);

// One trade. Buy and Sell: shares, price per share and the fees of the trade. Dividend: the
// cash received in total as the price. Split: new shares per old share as the shares.
struct Trade
{
    QDate date;
    TradeAction action = TradeAction::Buy;
    double shares = 0;
    double price = 0;
    double fees = 0;
};

// What a trade needs filled in, and what it must leave empty; the field that is wrong and why.
enum class TradeField { Shares, Price, Fees };
struct TradeProblem
{
    TradeField field;
    QString text;
};
std::optional<TradeProblem> tradeProblem(TradeAction action, std::optional<double> shares,
                                         std::optional<double> price, std::optional<double> fees);

struct Position
{
    double shares = 0;
    double average = 0; // cost per held share
    double realized = 0;
    double dividends = 0;
};

// Applies one trade: a buy adds shares x price + fees to the cost, a sell takes out the average
// cost of the shares sold and realizes shares x (price - average) - fees, a split multiplies the
// shares and divides the average. False, and the position as it was, for a sale of more shares
// than are held.
bool applyTrade(Position &position, const Trade &trade);

// The money a trade puts into the holding (buys with their fees) and takes out of it (sales'
// proceeds after fees, dividends).
double moneyIn(const Trade &trade);
double moneyOut(const Trade &trade);

struct CashFlow
{
    QDate date;
    double amount = 0; // paid in negative, received positive
};

// The yearly rate r with sum(amount / (1 + r)^(days / 365)) = 0, days counted from the first
// flow; the root nearest to 0 when there are several. Nothing when the flows have no such rate
// (all of one sign, or all on one day).
std::optional<double> moneyWeightedRate(const QList<CashFlow> &flows);

// One valuation of a holding: the money put in and taken out at the start of the day, and the
// value at its close.
struct ValuedDay
{
    double moneyIn = 0;
    double moneyOut = 0;
    double value = 0;
    // The value at the close before the day of what was held before its trades; none when no
    // close came between it and the day valued last (the value then is that day's).
    std::optional<double> before;
};
// The true time-weighted return, not annualised: the product over the days of (value + money
// out) / (value of the day before + money in), minus 1, valued on the days money moves (and
// the close before each): between them the product telescopes. Days with nothing held and
// nothing put in are skipped; nothing when every day is.
std::optional<double> timeWeightedReturn(double startValue, const QList<ValuedDay> &days);

// The closes of one symbol, oldest first, for valuing on any day.
class CloseSeries
{
public:
    void append(QDate day, double close);
    void reserve(qsizetype days)
    {
        m_days.reserve(days);
        m_closes.reserve(days);
    }
    // The latest close on or before the day.
    std::optional<double> on(QDate day) const;
    // The same, for days asked in order: the cursor (0 at first) moves on with them.
    std::optional<double> onInOrder(QDate day, qsizetype *cursor) const;
    bool isEmpty() const { return m_days.isEmpty(); }

private:
    QList<qint64> m_days;
    QList<double> m_closes;
};

// A stock's trades (by date, in the order they were entered on a day) and its prices.
struct StockLedger
{
    QString ticker;
    QList<Trade> trades;
    CloseSeries closes;
    std::optional<double> currentPrice; // the value of a share on days without a close
    double priceOn(QDate day) const;
    double priceOnInOrder(QDate day, qsizetype *cursor) const;
};

struct ReturnsLine
{
    QString name;
    Position position; // at the end; realized and dividends of the period only
    double value = 0;
    double unrealized = 0;
    std::optional<double> moneyWeighted, timeWeighted, index;
};

// What went wrong in a ledger: a sale of more shares than were held.
struct LedgerFailure
{
    QString ticker;
    QDate date;
    double sold = 0, held = 0;
    QString text() const;
};

// The returns of the stocks together from `from` (invalid: from their first trade) to `to`,
// with the index's change over the same days. Trades after `to` are left out.
struct ReturnsResult
{
    std::optional<LedgerFailure> failure;
    ReturnsLine line;
};
ReturnsResult ledgerReturns(const QList<const StockLedger *> &stocks, QDate from, QDate to,
                            const CloseSeries &index);

// A line as the returns report writes it, money and percentages with two decimals:
// "ACME: 20 shares at average cost 48.10; realized 35.00; ...". The portfolio's line starts
// with its value instead of the shares.
QString returnsLine(const ReturnsLine &line, QChar decimalPoint = u'.');
QString portfolioLine(const ReturnsLine &line, QChar decimalPoint = u'.');
// Money with two decimals, never "-0.00"; a percentage of a fraction ("12.34%"), "n/a" for none.
QString moneyText(double value, QChar decimalPoint = u'.');
QString percentText(std::optional<double> fraction, QChar decimalPoint = u'.');

} // namespace vantora
