// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/database.h"

#include "analysis/ratings.h"
#include "data/store/connection.h"
#include "data/store/foldedkeys.h"
#include "data/store/schema.h"
#include "forecast/forecast.h"
#include "planners/advice.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <cmath>

// The sample market: invented companies, analysts and a few weeks of index days with the
// indices' prices, with the computed fields filled in as the screens would compute them.
namespace vantora {
namespace {

struct SampleStock
{
    const char *name;
    const char *ticker;
    const char *exchange;
    double price;
    double lastEps;
    double thisEps;
    double nextEps;
    const char *rating;
    const char *comment;
};

const SampleStock kStocks[] = {
    {"Northwind Logistics Corp", "NWLC", "NYSE", 48.20, 2.10, 2.45, 2.80, "Buy",
     "Steady freight volumes; new hub in Memphis lifts margins."},
    {"Bramblecrest Foods Inc", "BRCF", "NYSE", 31.75, 1.62, 1.71, 1.85, "Hold",
     "Packaged foods under price pressure; dividend looks safe."},
    {"Castlerock Semiconductor", "CRSM", "NASDAQ", 112.40, 3.05, 3.90, 4.85, "Strong Buy",
     "Design wins in automotive chips should carry earnings for two years."},
    {"Harbourline Energy", "HBLE", "NYSE", 64.10, 4.80, 4.35, 4.60, "Hold",
     "Earnings follow oil prices; low debt cushions a downturn."},
    {"Quillfeather Software", "QLFS", "NASDAQ", 86.55, 1.20, 1.75, 2.40, "Buy",
     "Subscription revenue up a third; watch sales costs."},
    {"Ashgrove Medical Devices", "AGMD", "NYSE", 142.80, 5.40, 5.95, 6.70, "Buy",
     "Approval of the new heart pump expected next spring."},
    {"Pinecrest Regional Bank", "PCRB", "NYSE", 39.60, 3.10, 3.25, 3.35, "Hold",
     "Solid deposits; loan growth slowing with the local economy."},
    {"Silverbirch Telecom", "SBTC", "NYSE", 22.35, 1.05, 0.98, 1.10, "Sell",
     "Losing subscribers to cable rivals; capital spending heavy."},
    {"Redfield Aerospace", "RDAS", "NYSE", 97.25, 4.20, 4.70, 5.30, "Buy",
     "Order backlog at a record; deliveries ramp through next year."},
    {"Meadowgate Retail Group", "MGRG", "NYSE", 27.90, 1.95, 1.80, 1.90, "Hold",
     "Store traffic flat; online sales growing from a small base."},
    {"Lanternfish Biotech", "LNFB", "NASDAQ", 18.45, -0.85, -0.40, 0.35, "Speculative Buy",
     "Phase III results due in the autumn decide everything."},
    {"Copperleaf Mining Co", "CPLM", "NYSE", 41.30, 2.60, 3.15, 3.05, "Buy",
     "Copper demand from grid upgrades; new mine on schedule."},
    {"Everhollow Insurance", "EVHI", "NYSE", 58.70, 4.45, 4.90, 5.20, "Buy",
     "Pricing discipline and few storm losses this year."},
    {"Driftwood Hotels & Resorts", "DWHR", "NYSE", 73.15, 2.95, 3.60, 4.05, "Buy",
     "Occupancy back above pre-slump levels; room rates rising."},
    {"Kingsmere Pharmaceuticals", "KMPH", "NYSE", 66.40, 3.80, 3.55, 3.95, "Hold",
     "Patent expiry on its best seller weighs on next year."},
    {"Tidewater Shipping Lines", "TDSL", "NYSE", 15.85, 1.40, 2.10, 1.65, "Hold",
     "Freight rates volatile; earnings peak this year."},
    {"Oakhurst Home Builders", "OKHB", "NYSE", 52.95, 4.10, 4.65, 4.90, "Buy",
     "Order book strong in the South-East; land bank cheap."},
    {"Brightwater Utilities", "BWUT", "NYSE", 44.25, 2.35, 2.45, 2.55, "Hold",
     "Regulated returns; a bond substitute with a 4% yield."},
    {"Falconridge Networks", "FRNW", "NASDAQ", 128.60, 3.70, 4.45, 5.35, "Strong Buy",
     "Data-centre switching share gains; margins widening."},
    {"Greystone Industrial", "GYSI", "NYSE", 83.10, 5.15, 5.40, 5.85, "Buy",
     "Infrastructure spending fills the order book."},
    {"Willowmere Apparel", "WLMA", "NASDAQ", 19.20, 0.95, 1.10, 1.25, "Hold",
     "Brand refresh under way; inventories still high."},
    {"Stonebridge Chemicals", "SBCH", "NYSE", 61.85, 4.90, 4.20, 4.55, "Hold",
     "Feedstock costs squeeze margins; cash flow still healthy."},
    {"Larkspur Payments", "LKPY", "NASDAQ", 94.75, 2.55, 3.20, 3.95, "Buy",
     "Transaction volumes up 25%; new merchant contracts in Europe."},
    {"Coldharbour Foods", "CHBF", "AMEX", 12.40, 0.70, 0.78, 0.85, "Hold",
     "Small frozen-foods maker; family control limits upside."},
    {"Ridgeview Healthcare", "RVHC", "NYSE", 117.30, 6.20, 6.85, 7.40, "Buy",
     "Clinics expanding into three new states."},
    {"Marshgate Railways", "MGRW", "NYSE", 154.90, 8.10, 8.75, 9.40, "Buy",
     "Pricing power on coal and grain routes; buying back shares."},
    {"Glenmoor Software Systems", "GMSS", "NASDAQ", 47.60, 0.85, 1.30, 1.80, "Speculative Buy",
     "Turning profitable; small but fast-growing security business."},
    {"Heatherfield Motors", "HFMT", "NYSE", 34.15, 3.40, 2.90, 3.20, "Sell",
     "Dealers overstocked; discounts will hurt next quarter."},
    {"Summerlake Beverages", "SLBV", "NYSE", 57.35, 2.75, 2.95, 3.15, "Hold",
     "Reliable grower; shares already price it in."},
    {"Blackthorn Defence Systems", "BTDS", "NYSE", 188.20, 9.60, 10.40, 11.30, "Buy",
     "Multi-year contracts give rare visibility of earnings."},
    {"Amberline Media", "ABMD", "NASDAQ", 24.80, 1.15, 1.05, 1.20, "Hold",
     "Advertising slowdown; streaming unit still loss-making."},
    {"Fernhill Agricultural", "FHAG", "NYSE", 69.45, 4.35, 4.80, 5.10, "Buy",
     "Strong crop prices help equipment and seed sales."},
    {"Ironvale Steel Works", "IVSW", "NYSE", 29.55, 3.85, 2.95, 3.30, "Hold",
     "Steel prices past their peak; cheap on book value."},
    {"Westbury Cloud Services", "WBCS", "NASDAQ", 211.45, 4.10, 5.60, 7.15, "Strong Buy",
     "Enterprise customers moving workloads faster than expected."},
    {"Moorland Water Co", "MLWC", "AMEX", 36.90, 1.80, 1.88, 1.95, "Hold",
     "Small regulated utility; rate case decision due in June."},
    {"Sandpiper Travel Group", "SPTG", "NASDAQ", 42.05, 1.35, 2.05, 2.60, "Buy",
     "Bookings strong for summer; online share rising."},
};

struct SampleAnalyst
{
    const char *name;
    const char *picks;
    const char *outlook;
    const char *credibility;
};

const SampleAnalyst kAnalysts[] = {
    {"Margaret Whitfield", "CRSM, FRNW, WBCS",
     "Bullish on technology: spending on data centres has years to run.",
     "High: right on 8 of her last 10 calls"},
    {"Daniel Okafor", "PCRB, EVHI, BWUT",
     "Cautious: expects slower growth and favours steady dividends.",
     "High: rarely wrong on financials"},
    {"Priya Raman", "AGMD, RVHC, KMPH",
     "Neutral on the market, positive on healthcare as people age.",
     "Good: strong record in healthcare, weaker elsewhere"},
    {"Thomas Lindqvist", "CPLM, IVSW, GYSI",
     "Bullish on materials while governments rebuild infrastructure.",
     "Medium: early on trends, sometimes too early"},
    {"Elena Castillo", "LKPY, QLFS, GMSS",
     "Positive: software and payments keep taking share from cash and paper.",
     "Good: six years of above-market picks"},
    {"Robert Haines", "HBLE, TDSL, MGRW",
     "Bearish near term: thinks the market is ahead of earnings.",
     "Medium: called the last correction, missed the rebound"},
    {"Keiko Tanabe", "RDAS, BTDS, NWLC",
     "Bullish on industrials and transport as supply chains come home.",
     "High: consistent, well-researched calls"},
    {"Samuel Brandt", "OKHB, DWHR, SPTG", "Optimistic: consumers are spending on homes and travel.",
     "Medium: good in upswings, slow to turn cautious"},
    {"Grace O'Donnell", "SLBV, BRCF, MLWC",
     "Defensive: prefers companies that sell what people buy in any economy.",
     "High: low-risk picks that rarely disappoint"},
    {"Marcus Delaney", "LNFB, GMSS, ABMD",
     "Speculative: looks for small companies before the crowd finds them.",
     "Low: big winners and big losers"},
    {"Ingrid Sorensen", "FHAG, CPLM, SBCH",
     "Neutral: expects commodities to outperform shares this year.",
     "Good: thorough on commodity cycles"},
    {"Victor Almeida", "SBTC, HFMT, WLMA",
     "Contrarian: buys unloved shares when the news is worst.",
     "Medium: patient picks that take years to pay"},
};

// A small fixed-seed generator: the sample is the same on every machine.
class Dice
{
public:
    explicit Dice(unsigned long long seed = 20240601ULL)
        : m_state(seed)
    {
    }
    double next() // in [0, 1)
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return double(m_state >> 11) / double(1ULL << 53);
    }
    double between(double low, double high) { return low + (high - low) * next(); }

private:
    unsigned long long m_state;
};

double cents(double value)
{
    return std::round(value * 100.0) / 100.0;
}

double whole(double value)
{
    return std::round(value);
}

DbError writeFailed(const QSqlError &error)
{
    return {DbError::Failed,
            QStringLiteral("Writing the sample rows failed: %1").arg(engineDetail(error))};
}

DbError run(QSqlQuery &query)
{
    return query.exec() ? DbError() : writeFailed(query.lastError());
}

QString insertSql(const char *table, const QStringList &fields)
{
    QStringList columns, marks;
    for (const QString &field : fields) {
        columns << schema::quoted(field);
        marks << QStringLiteral("?");
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(schema::quoted(QString::fromLatin1(table)), columns.join(QLatin1String(", ")),
             marks.join(QLatin1String(", ")));
}

DbError insertStocks(QSqlDatabase &db, Dice &dice)
{
    const QStringList fields = {QStringLiteral("Name of Stock"),
                                QStringLiteral("Ticker Symbol"),
                                QStringLiteral("Stock Exchange"),
                                QStringLiteral("Current Price"),
                                QStringLiteral("Purchase Price"),
                                QStringLiteral("Shares Owned"),
                                QStringLiteral("Last Years Earnings"),
                                QStringLiteral("This Years Earnings"),
                                QStringLiteral("Next Years Earnings"),
                                QStringLiteral("52 Wk Hi"),
                                QStringLiteral("52 Wk Lo"),
                                QStringLiteral("Analyst's Comments"),
                                QStringLiteral("AnalystRating"),
                                QStringLiteral("Safety Rating"),
                                QStringLiteral("Growth"),
                                QStringLiteral("Market Cap"),
                                QStringLiteral("Overall Rating"),
                                QStringLiteral("Buy\\Target Price"),
                                QStringLiteral("Money"),
                                QStringLiteral("Predicted Price"),
                                QStringLiteral("Advice"),
                                QStringLiteral("Status")};
    QSqlQuery query(db);
    query.prepare(insertSql("stocks", fields));
    for (const SampleStock &s : kStocks) {
        const double P = s.price, L = s.lastEps, T = s.thisEps, N = s.nextEps;
        const double H = cents(P * dice.between(1.06, 1.35));
        const double W = cents(P * dice.between(0.62, 0.93));
        // The ratings and the advice as the screens compute them.
        const RatingInputs inputs{L, T, N, H, W, P};
        const auto rated = [&inputs](ShownRating figure) {
            return rateStock({}, inputs, figure).shown.value_or(0.0);
        };
        const double predicted = cents(P * dice.between(0.8, 1.3));
        const QList<Advice> given = adviseOn(predicted, P, H);
        const QString advice = given.isEmpty() ? QString() : adviceText(given.constLast());
        const bool owned = dice.next() < 0.7;
        const double shares = owned ? whole(dice.between(1, 40)) * 25 : 0;
        const double purchase = owned ? cents(P * dice.between(0.7, 1.15)) : 0;
        const double money = whole(dice.between(2, 50)) * 500;

        const QVariantList values = {QString::fromUtf8(s.name),
                                     QString::fromUtf8(s.ticker),
                                     QString::fromUtf8(s.exchange),
                                     P,
                                     purchase,
                                     shares,
                                     L,
                                     T,
                                     N,
                                     H,
                                     W,
                                     QString::fromUtf8(s.comment),
                                     QString::fromUtf8(s.rating),
                                     cents(rated(ShownRating::Safety)),
                                     cents(rated(ShownRating::Growth)),
                                     cents(rated(ShownRating::MarketCap)),
                                     cents(rated(ShownRating::Overall)),
                                     cents(rated(ShownRating::BuyTarget)),
                                     money,
                                     predicted,
                                     advice,
                                     owned ? QStringLiteral("Holding")
                                           : QStringLiteral("Watching")};
        for (qsizetype i = 0; i < values.size(); ++i)
            query.bindValue(int(i), values[i]);
        if (const DbError failure = run(query))
            return failure;
    }
    return {};
}

DbError insertAnalysts(QSqlDatabase &db)
{
    QSqlQuery query(db);
    query.prepare(
        insertSql("Analyst", {QStringLiteral("Analyst's Name"), QStringLiteral("Stock Picks"),
                              QStringLiteral("Market Outlook"), QStringLiteral("Credibility")}));
    for (const SampleAnalyst &a : kAnalysts) {
        query.bindValue(0, QString::fromUtf8(a.name));
        query.bindValue(1, QString::fromUtf8(a.picks));
        query.bindValue(2, QString::fromUtf8(a.outlook));
        query.bindValue(3, QString::fromUtf8(a.credibility));
        if (const DbError failure = run(query))
            return failure;
    }
    return {};
}

// The closes of the three indices on one trading day.
struct IndexCloses
{
    QDate day;
    double dow, nasdaq, sp;
};

DbError insertDays(QSqlDatabase &db, Dice &dice, QList<IndexCloses> *closes)
{
    QSqlQuery query(db);
    query.prepare(insertSql("Forecaster",
                            {QStringLiteral("Date"), QStringLiteral("Dow Yesterday"),
                             QStringLiteral("NasdaQ Yesterday"), QStringLiteral("SP 500 Yesterday"),
                             QStringLiteral("Advances"), QStringLiteral("Declines"),
                             QStringLiteral("DD"), QStringLiteral("Dn"), QStringLiteral("Ds"),
                             QStringLiteral("DF"), QStringLiteral("DL"), QStringLiteral("NF"),
                             QStringLiteral("NL"), QStringLiteral("SF"), QStringLiteral("SL")}));

    // Closes of the day before the first sample day, and that day's changes.
    double dow = 42840.26, nasdaq = 18291.62, sp = 5861.57;
    double dd = 211.43, dn = -58.20, ds = 12.37;
    QDate day(2025, 3, 3);
    closes->append({day.addDays(-3), dow, nasdaq, sp});
    for (int count = 0; count < 20; day = day.addDays(1)) {
        if (day.dayOfWeek() > 5)
            continue;
        ++count;
        const double advances = whole(dice.between(900, 2300));
        const double declines = whole(3350 - advances + dice.between(-150, 150));
        // The forecast as the forecaster computes it from the figures of the day before.
        const IndexForecast f =
            forecastDay({dow, nasdaq, sp, advances, declines, dd, dn, ds}).value;
        const QVariantList values = {day.toString(QStringLiteral("yyyy-MM-dd")),
                                     dow,
                                     nasdaq,
                                     sp,
                                     advances,
                                     declines,
                                     dd,
                                     dn,
                                     ds,
                                     cents(f.dowHigh),
                                     cents(f.dowLow),
                                     cents(f.nasdaqHigh),
                                     cents(f.nasdaqLow),
                                     cents(f.spHigh),
                                     cents(f.spLow)};
        for (qsizetype i = 0; i < values.size(); ++i)
            query.bindValue(int(i), values[i]);
        if (const DbError failure = run(query))
            return failure;

        // The day's close becomes the next day's "yesterday".
        dd = cents(dow * dice.between(-0.012, 0.013));
        dn = cents(nasdaq * dice.between(-0.016, 0.017));
        ds = cents(sp * dice.between(-0.013, 0.014));
        dow = cents(dow + dd);
        nasdaq = cents(nasdaq + dn);
        sp = cents(sp + ds);
        closes->append({day, dow, nasdaq, sp});
    }
    return {};
}

// The three indices on the sample's days and the day before them, so that the forecaster's
// sample days can be scored: the closes of its records, and a day's range around them.
DbError insertIndexPrices(QSqlDatabase &db, const QList<IndexCloses> &closes)
{
    Dice dice(20250303ULL);
    QSqlQuery query(db);
    query.prepare(
        insertSql("Prices", {QStringLiteral("Ticker Symbol"), QStringLiteral("Date"),
                             QStringLiteral("Open"), QStringLiteral("High"), QStringLiteral("Low"),
                             QStringLiteral("Close"), QStringLiteral("Volume")}));
    const std::pair<const char *, double IndexCloses::*> indices[] = {
        {"^DJI", &IndexCloses::dow}, {"^IXIC", &IndexCloses::nasdaq}, {"^GSPC", &IndexCloses::sp}};
    for (const auto &[symbol, close] : indices) {
        double previous = closes.constFirst().*close;
        for (const IndexCloses &day : closes) {
            const double c = day.*close;
            const double open = cents(previous * (1 + dice.between(-0.004, 0.004)));
            const QVariantList values = {
                QString::fromLatin1(symbol),
                day.day.toString(QStringLiteral("yyyy-MM-dd")),
                open,
                cents(std::max(open, c) * (1 + dice.between(0.001, 0.009))),
                cents(std::min(open, c) * (1 - dice.between(0.001, 0.009))),
                c,
                whole(dice.between(2.5e8, 7.5e8))};
            for (qsizetype i = 0; i < values.size(); ++i)
                query.bindValue(int(i), values[i]);
            if (const DbError failure = run(query))
                return failure;
            previous = c;
        }
    }
    return {};
}

} // namespace

DbError insertSampleData(QSqlDatabase &db)
{
    Dice dice;
    QList<IndexCloses> closes;
    if (const DbError failure = insertStocks(db, dice))
        return failure;
    if (const DbError failure = insertAnalysts(db))
        return failure;
    if (const DbError failure = insertDays(db, dice, &closes))
        return failure;
    if (const DbError failure = insertIndexPrices(db, closes))
        return failure;
    for (const char *table : {"stocks", "Analyst"})
        if (const QSqlError failure = fillFoldedKeys(db, QString::fromLatin1(table));
            failure.isValid())
            return writeFailed(failure);
    return {};
}

} // namespace vantora
