// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Daily history into the market database: the prices of every symbol and day, today's prices
// and 52-week ranges of the stocks, and the forecaster's days from the three indices.
namespace vantora::prices {

// One file of daily history: its name (for messages and for the symbol its name gives) and
// where its bytes come from: the file of that name, or the bytes given (a download).
struct Source
{
    QString name;
    QByteArray bytes;
    bool fromFile = true;
    QString symbol; // the symbol of every day in it (a download of one symbol's history)
    QDate from;     // days before it are left out
};

struct Summary
{
    qint64 days = 0;             // days of prices written (each symbol's day once)
    qint64 skippedDays = 0;      // days without figures ("null") left out
    QStringList symbols;         // the symbols they belong to
    qint64 stocks = 0;           // stocks whose price and 52-week range were updated
    qint64 forecasterDays = 0;   // forecaster records given their inputs
    qint64 breadthDays = 0;      // forecaster records given advances and declines
    qint64 forecastsChanged = 0; // records whose stored forecasts followed their new inputs
};

struct ImportResult
{
    bool ok = false;
    QString message; // what was written, or why nothing was
    Summary summary;
};

// Called every so many records with the number read so far; false cancels the import.
using Progress = std::function<bool(qint64 records)>;

// Reads every file and writes it in one transaction: all or nothing. The symbol of a file's
// prices is `ticker` when given, else the file's Symbol or Ticker column, else the one its name
// gives; a day already stored for a symbol is replaced. A day that the call gives twice with
// different figures is refused, as is a file that changes while it is read. Then every stock with
// an imported symbol gets the close of its latest day as its current price and the highest high and
// lowest low of the 364 days that end with it as its 52-week range, and, when the three indices are
// there, the forecaster's records get their closes and changes (and a breadth file its
// advances and declines); the records whose inputs changed get their stored forecasts worked out
// again. A refusal names the file, the line and the field.
ImportResult importSources(const QString &databasePath, const QList<Source> &sources,
                           const QString &ticker = {}, const Progress &progress = {});
// The symbols that "Update Prices" fetches: every stock with shares owned, and the three indices.
QStringList symbolsToUpdate(const QString &databasePath, QString *problem = nullptr);

ImportResult importFiles(const QString &databasePath, const QStringList &files,
                         const QString &ticker = {}, const Progress &progress = {});

} // namespace vantora::prices
