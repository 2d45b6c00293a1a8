// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/schema.h"

#include "data/store/casefold.h"

#include <algorithm>

namespace vantora::schema {
namespace {

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

Field text(const char *name)
{
    return {QString::fromUtf8(name), FieldKind::Text};
}

Field number(const char *name)
{
    return {QString::fromUtf8(name), FieldKind::Number};
}

Index onField(const char *name, const char *field, bool noCase = true)
{
    return {QString::fromUtf8(name), QString::fromUtf8(field), noCase, QString(), false};
}

// The stocks followed, with their figures and ratings.
Table stocksTable()
{
    return Table{QStringLiteral("stocks"),
                 {text("Name of Stock"),
                  text("Ticker Symbol"),
                  text("Stock Exchange"),
                  number("Current Price"),
                  number("Purchase Price"),
                  number("Shares Owned"),
                  number("Last Years Earnings"),
                  number("This Years Earnings"),
                  number("Next Years Earnings"),
                  number("52 Wk Hi"),
                  number("52 Wk Lo"),
                  text("Analyst's Comments"),
                  text("AnalystRating"),
                  number("Safety Rating"),
                  number("Growth"),
                  number("Market Cap"),
                  number("Overall Rating"),
                  number("Buy\\Target Price"),
                  number("Money"),
                  number("Predicted Price"),
                  text("Advice"),
                  text("Status")},
                 {onField("Name of Stock", "Name of Stock"),
                  onField("Ticker Symbol", "Ticker Symbol"),
                  onField("Ticker_Symbol", "Ticker Symbol")},
                 1,
                 {}};
}

// The analysts and what they say.
Table analystTable()
{
    return Table{
        QStringLiteral("Analyst"),
        {text("Analyst's Name"), text("Stock Picks"), text("Market Outlook"), text("Credibility")},
        {onField("Analyst's Name", "Analyst's Name")},
        1,
        {}};
}

// NF and SF keep the Nasdaq and S&P 500 forecast highs, so that a stored day holds all six
// forecasts without touching the up/down points in Dn and Ds.
Table forecasterTable()
{
    return Table{QStringLiteral("Forecaster"),
                 {{QStringLiteral("Date"), FieldKind::Date},
                  number("Dow Yesterday"),
                  number("NasdaQ Yesterday"),
                  number("SP 500 Yesterday"),
                  number("Advances"),
                  number("Declines"),
                  number("DD"),
                  number("Dn"),
                  number("Ds"),
                  number("DF"),
                  number("DL"),
                  number("NL"),
                  number("SL"),
                  number("NF"),
                  number("SF")},
                 {onField("Date", "Date", false)},
                 1,
                 {}};
}

// The daily history of prices, one row per symbol and trading day.
Table pricesTable()
{
    return Table{QStringLiteral("Prices"),
                 {text("Ticker Symbol"),
                  {QStringLiteral("Date"), FieldKind::Date},
                  number("Open"),
                  number("High"),
                  number("Low"),
                  number("Close"),
                  number("Volume")},
                 {{QStringLiteral("Ticker and Date"), QStringLiteral("Ticker Symbol"), true,
                   QStringLiteral("Date"), true}},
                 2,
                 {}};
}

// The ledger of trades that keeps the stocks' shares and average cost. SQLite's index names
// are one for the whole file, and "Ticker and Date" is the prices' already.
Table tradesTable()
{
    return Table{QStringLiteral("Trades"),
                 {{QStringLiteral("Trade ID"), FieldKind::Number, true},
                  text("Ticker Symbol"),
                  {QStringLiteral("Date"), FieldKind::Date},
                  text("Action"),
                  number("Shares"),
                  number("Price"),
                  number("Fees"),
                  text("Note")},
                 {{QStringLiteral("Trades Ticker and Date"), QStringLiteral("Ticker Symbol"), true,
                   QStringLiteral("Date"), false}},
                 4,
                 {}};
}

// A text index without regard to case is searched through a case-folded key column of its own.
void addFoldedKeys(Table &table)
{
    for (const Index &index : std::as_const(table.indexes)) {
        const bool textKey = findField(table, index.field)->kind == FieldKind::Text;
        const bool known = std::any_of(table.foldedKeys.cbegin(), table.foldedKeys.cend(),
                                       [&](const FoldedKey &k) { return k.field == index.field; });
        if (index.noCase && index.secondField.isEmpty() && textKey && !known) {
            const QString column = index.field + QStringLiteral(" (folded)");
            table.foldedKeys << FoldedKey{index.field, column,
                                          column + QStringLiteral(" on change")};
        }
    }
}

QList<Table> buildTables()
{
    QList<Table> all{stocksTable(), analystTable(), forecasterTable(), pricesTable(),
                     tradesTable()};
    for (Table &table : all)
        addFoldedKeys(table);
    return all;
}

} // namespace

const QList<Table> &tables()
{
    static const QList<Table> all = buildTables();
    return all;
}

const Table *findTable(QStringView name)
{
    for (const Table &table : tables())
        if (sameName(table.name, name))
            return &table;
    return nullptr;
}

const Field *findField(const Table &table, QStringView name)
{
    for (const Field &field : table.fields)
        if (sameName(field.name, name))
            return &field;
    return nullptr;
}

FieldKind fieldKind(QStringView table, QStringView field)
{
    if (const Table *t = findTable(table))
        if (const Field *f = findField(*t, field))
            return f->kind;
    return FieldKind::Text;
}

QString quoted(QStringView name)
{
    QString result = name.toString();
    result.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + result + QLatin1Char('"');
}

QStringList createStatements(int afterVersion)
{
    QStringList statements;
    for (const Table &table : tables()) {
        if (table.since <= afterVersion)
            continue;
        QStringList columns;
        for (const Field &field : table.fields) {
            const Index *key = nullptr;
            for (const Index &index : table.indexes)
                if (index.field == field.name)
                    key = &index;
            // Numbers carry no declared type: a column affinity would turn "1.50" into 1.5 or
            // a typed text into something else, and what the user typed must come back as typed.
            QString column = quoted(field.name);
            if (field.rowKey)
                column += QLatin1String(" INTEGER PRIMARY KEY");
            else if (field.kind != FieldKind::Number)
                column += QLatin1String(" TEXT");
            if (key && key->noCase)
                column += QLatin1String(" COLLATE NOCASE");
            columns << column;
        }
        for (const FoldedKey &key : table.foldedKeys)
            columns << quoted(key.column) + QLatin1String(" TEXT");
        statements << QStringLiteral("CREATE TABLE %1 (%2)")
                          .arg(quoted(table.name), columns.join(QLatin1String(", ")));
        for (const Index &index : table.indexes) {
            QString keys = quoted(index.field);
            if (index.noCase)
                keys += QLatin1String(" COLLATE NOCASE");
            if (!index.secondField.isEmpty())
                keys += QLatin1String(", ") + quoted(index.secondField);
            statements << QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                              .arg(index.unique ? QLatin1String("UNIQUE ") : QLatin1String(),
                                   quoted(index.name), quoted(table.name), keys);
        }
        statements << foldedKeyStatements(table);
    }
    statements << QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion);
    return statements;
}

const FoldedKey *findFoldedKey(QStringView table, QStringView field)
{
    if (const Table *t = findTable(table))
        for (const FoldedKey &key : t->foldedKeys)
            if (sameName(key.field, field))
                return &key;
    return nullptr;
}

bool isFoldedColumn(QStringView table, QStringView column)
{
    if (const Table *t = findTable(table))
        for (const FoldedKey &key : t->foldedKeys)
            if (sameName(key.column, column))
                return true;
    return false;
}

QStringList foldedKeyStatements(const Table &table)
{
    QStringList statements;
    for (const FoldedKey &key : table.foldedKeys) {
        // With the key beside the folded one, a seek of the folded key comes out in the key's
        // own order, and rows whose folded key is missing are found without a scan.
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%1, %3 COLLATE NOCASE)")
                          .arg(quoted(key.column), quoted(table.name), quoted(key.field));
        statements << QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1 AFTER UPDATE OF %2 ON %3 "
                                     "WHEN NEW.%2 IS NOT OLD.%2 BEGIN UPDATE %3 SET %4 = NULL "
                                     "WHERE rowid = NEW.rowid; END")
                          .arg(quoted(key.trigger), quoted(key.field), quoted(table.name),
                               quoted(key.column));
    }
    return statements;
}

QString foldedText(const QString &key)
{
    const QString folded = fullCaseFold(key);
    return folded.isNull() ? QStringLiteral("") : folded;
}
} // namespace vantora::schema
