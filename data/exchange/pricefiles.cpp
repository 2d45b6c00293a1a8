// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/exchange/pricefiles.h"
#include "data/exchange/exchangetexts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace vantora::prices {
namespace {

QString plainName(const QString &name)
{
    QString plain = name.toLower();
    plain.remove(QLatin1Char(' '));
    return plain;
}

} // namespace

std::optional<Layout> recognise(const QStringList &header, QString *problem, int *column)
{
    if (column)
        *column = -1;
    Layout layout;
    const std::pair<const char *, int Layout::*> columns[] = {
        {"date", &Layout::date},         {"timestamp", &Layout::date},
        {"open", &Layout::open},         {"high", &Layout::high},
        {"low", &Layout::low},           {"close", &Layout::close},
        {"volume", &Layout::volume},     {"symbol", &Layout::symbol},
        {"ticker", &Layout::symbol},     {"tickersymbol", &Layout::symbol},
        {"advances", &Layout::advances}, {"declines", &Layout::declines},
    };
    for (int i = 0; i < header.size(); ++i) {
        const QString name = plainName(header[i]);
        for (const auto &[known, member] : columns) {
            if (name != QLatin1String(known))
                continue;
            // Two columns of one meaning ("Date" and "timestamp" too): which to read is unknown.
            if (layout.*member >= 0) {
                *problem = ExchangeTexts::tr("the header names this column twice (first as field "
                                             "%1)")
                               .arg(layout.*member + 1);
                if (column)
                    *column = i;
                return std::nullopt;
            }
            layout.*member = i;
        }
    }
    if (layout.date < 0) {
        *problem = ExchangeTexts::tr("the header names no \"Date\" column");
        return std::nullopt;
    }
    if (layout.close < 0 && !layout.isBreadth()) {
        *problem = ExchangeTexts::tr("the header names no \"Close\" column (nor \"Advances\" and "
                                     "\"Declines\")");
        return std::nullopt;
    }
    return layout;
}

std::optional<QDate> readDay(QStringView text)
{
    const QStringView day = text.trimmed();
    // 2026-12-07 or 20261207: the digits where they belong, and a day the calendar has.
    const bool dashed = day.size() == 10 && day[4] == u'-' && day[7] == u'-';
    if (!dashed && day.size() != 8)
        return std::nullopt;
    int parts[3] = {0, 0, 0};
    const int starts[2][3] = {{0, 4, 6}, {0, 5, 8}};
    const int lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p)
        for (int i = 0; i < lengths[p]; ++i) {
            const QChar c = day[starts[dashed][p] + i];
            if (!c.isDigit() || c.unicode() > u'9')
                return std::nullopt;
            parts[p] = parts[p] * 10 + (c.unicode() - u'0');
        }
    const QDate date(parts[0], parts[1], parts[2]);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<double> readFigure(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > 60)
        return std::nullopt;
    char digits[64];
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const char16_t c = trimmed[i].unicode();
        // A plain decimal number: digits, one sign, a point and an exponent.
        if (!((c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'+' || c == u'e' ||
              c == u'E'))
            return std::nullopt;
        digits[i] = char(c);
    }
    const char *end = digits + trimmed.size();
    const char *first = digits[0] == '+' ? digits + 1 : digits;
    double value = 0;
    const auto [stop, error] = std::from_chars(first, end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isNoTrading(QStringView text)
{
    return text.trimmed().compare(u"null", Qt::CaseInsensitive) == 0;
}

QString symbolFromFileName(const QString &path)
{
    QString name = QFileInfo(path).fileName();
    for (const QLatin1String prefix : {QLatin1String("daily_adjusted_"), QLatin1String("daily_")})
        if (name.startsWith(prefix, Qt::CaseInsensitive) && name.size() > prefix.size() &&
            name[prefix.size()] != QLatin1Char('.')) {
            name.remove(0, prefix.size());
            break;
        }
    qsizetype end = name.size();
    for (const QChar stop : {QLatin1Char('.'), QLatin1Char('_')}) {
        const qsizetype at = name.indexOf(stop);
        if (at > 0)
            end = std::min(end, at);
    }
    return name.left(end).toUpper();
}

QString canonicalSymbol(const QString &symbol)
{
    const QString upper = symbol.trimmed().toUpper();
    static const std::pair<const char *, const QString *> aliases[] = {
        {"DJI", &kDow},    {"^NDQ", &kNasdaq}, {"NDQ", &kNasdaq}, {"IXIC", &kNasdaq},
        {"^SPX", &kSp500}, {"SPX", &kSp500},   {"GSPC", &kSp500},
    };
    for (const auto &[alias, name] : aliases)
        if (upper == QLatin1String(alias))
            return *name;
    return upper;
}

QList<QDate> tradingDays(const Closes &dow, const Closes &nasdaq, const Closes &sp)
{
    QList<QDate> days;
    for (auto it = dow.cbegin(); it != dow.cend(); ++it)
        if (nasdaq.contains(it.key()) && sp.contains(it.key()))
            days << it.key();
    return days;
}

QDate nextTradingDay(const QList<QDate> &days, QDate day)
{
    const auto later = std::upper_bound(days.cbegin(), days.cend(), day);
    // Nor does the day after reach across a hole in the history.
    if (later != days.cend() && day.daysTo(*later) <= kLongestGap)
        return *later;
    QDate next = day.addDays(1);
    while (next.dayOfWeek() > 5)
        next = next.addDays(1);
    return next;
}

namespace {

// A change as the closes show it: no price file writes more than six decimals, and the
// difference of two of them should not show the binary remainder (208.519999999997).
double change(double now, double before)
{
    return std::round((now - before) * 1e6) / 1e6;
}

} // namespace

QList<ForecasterDay> forecasterDays(const Closes &dow, const Closes &nasdaq, const Closes &sp)
{
    const QList<QDate> days = tradingDays(dow, nasdaq, sp);
    QList<ForecasterDay> records;
    for (qsizetype i = 1; i < days.size(); ++i) {
        const QDate x = days[i], before = days[i - 1];
        if (before.daysTo(x) > kLongestGap)
            continue;
        ForecasterDay record;
        record.date = nextTradingDay(days, x);
        record.dow = dow[x];
        record.dowPoints = change(dow[x], dow[before]);
        record.nasdaq = nasdaq[x];
        record.nasdaqPoints = change(nasdaq[x], nasdaq[before]);
        record.sp = sp[x];
        record.spPoints = change(sp[x], sp[before]);
        records << record;
    }
    return records;
}

} // namespace vantora::prices
