// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Files of trades into the ledger.
namespace vantora::trades {

struct ImportResult
{
    bool ok = false;
    qint64 trades = 0;   // trades written
    qint64 replaced = 0; // stored trades of the same stocks and days that they replaced
    QStringList tickers; // the stocks kept, in ticker order
    QString message;     // what was written, or why nothing was
};

// Reads CSV files of trades with a header naming Date (2026-12-07), Symbol or Ticker, Action
// (Buy, Sell, Dividend, Split), Shares or Quantity, Price, and optionally Fees and Note, in any
// order and letter case. All files go in one transaction: a refusal names the file, the line
// and the field, and writes nothing. The trades of a stock on a day that the files hold replace
// those stored for that stock and day, so that a file imported twice changes nothing; then the
// shares and average cost of every stock concerned are set from its trades.
ImportResult importTradeFiles(const QString &databasePath, const QStringList &files);

} // namespace vantora::trades
