// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// Files of daily market history as the well-known sources write them, and what the program
// makes of them: the price of every symbol and day, and the inputs of the forecaster's days.
namespace vantora::prices {

// The columns of a file, found by its header: names compared without regard to case and
// spaces, extra columns ignored. -1 for a column the file does not have.
struct Layout
{
    int date = -1; // "Date", or "timestamp"
    int open = -1, high = -1, low = -1, close = -1, volume = -1;
    // "Symbol", "Ticker" or "Ticker Symbol" (the table's own, as export-csv writes it): one file
    // holds many symbols
    int symbol = -1;
    int advances = -1, declines = -1; // a file of market breadth: Date,Advances,Declines
    bool isBreadth() const { return close < 0 && advances >= 0 && declines >= 0; }
};

// The layout of a header. Nothing, and *problem says why, for a header without a date, with
// neither a close nor advances and declines, or naming a column twice (*column is then the
// second, else -1).
std::optional<Layout> recognise(const QStringList &header, QString *problem, int *column = nullptr);

// A day as these files write it: 2026-12-07 or 20261207.
std::optional<QDate> readDay(QStringView text);
// A price or a volume: a plain decimal number with "." as the point. Nothing for anything else.
std::optional<double> readFigure(QStringView text);
// A field that marks a day without trading ("null").
bool isNoTrading(QStringView text);

// The symbol a file's name gives: its name up to the first "." or "_", upper-cased
// ("aapl.us.csv" is AAPL, "^spx_d.csv" is ^SPX); after "daily_" or "daily_adjusted_", as
// Alpha Vantage names its files ("daily_IBM.csv" is IBM).
QString symbolFromFileName(const QString &path);
// The symbol as the program keeps it, upper-cased: the three indices under one name each,
// "^DJI" (also written DJI), "^IXIC" (^NDQ, NDQ, IXIC) and "^GSPC" (^SPX, SPX, GSPC).
QString canonicalSymbol(const QString &symbol);
inline const QString kDow = QStringLiteral("^DJI");
inline const QString kNasdaq = QStringLiteral("^IXIC");
inline const QString kSp500 = QStringLiteral("^GSPC");

// The inputs of one record of the forecaster: the day whose high and low are forecast, and the
// closes and changes of the trading day before it.
struct ForecasterDay
{
    QDate date;
    double dow = 0, dowPoints = 0;
    double nasdaq = 0, nasdaqPoints = 0;
    double sp = 0, spPoints = 0;
};
using Closes = QMap<QDate, double>;

// The longest gap between a day and the trading day before it: a weekend and a holiday.
constexpr int kLongestGap = 5;
// The trading day after `day`: the next day of `days` (the days all three indices closed) when
// it lies at most kLongestGap calendar days later, else the next Monday to Friday.
QDate nextTradingDay(const QList<QDate> &days, QDate day);
// For every day X on which all three indices closed and that has such a day before it, at most
// kLongestGap calendar days before (a weekend and a holiday; a longer gap is a hole in the
// history, not a day before), the record of the trading day after X, with X's closes and their
// changes from the day before.
QList<ForecasterDay> forecasterDays(const Closes &dow, const Closes &nasdaq, const Closes &sp);
// The days on which all three indices closed, in order.
QList<QDate> tradingDays(const Closes &dow, const Closes &nasdaq, const Closes &sp);

} // namespace vantora::prices
