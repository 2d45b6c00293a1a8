// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/exchange/priceimport.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

// Daily history fetched over HTTP(S) from a quote source, whose address is a template with
// {symbol} (and {from}), and imported as the files of daily history are.
namespace vantora::quotes {

// The daily-history CSV download of Stooq.
QString defaultTemplate();
// The template kept in the per-user settings of the program (section "Quotes", key
// "URL template"), else the default.
QString savedTemplate();

// A symbol as the source spells it in its addresses. For Stooq: lower case, the indices under
// its own names (^dji, ^ndq, ^spx) and a plain ticker as a US one (aapl.us); any other source
// gets the symbol as it is.
QString sourceSymbol(const QString &symbol, const QString &urlTemplate);
// The address of one symbol's history: {symbol} and {from} (yyyyMMdd; empty without a date)
// filled in.
QUrl addressFor(const QString &urlTemplate, const QString &symbol, QDate from);

inline constexpr int kTimeoutMs = 15000;

// Called as downloads finish with the number done; false cancels everything.
using Progress = std::function<bool(int done, int total)>;

// Fetches every symbol's history and imports it all in one transaction. An answer that is an
// error, a timeout or no price file (an HTML page, "No data") is reported with the symbol and
// the reason, and nothing of the call is written.
prices::ImportResult fetchAndImport(const QString &databasePath, const QStringList &symbols,
                                    QDate from, const QString &urlTemplate,
                                    const Progress &progress = {});

} // namespace vantora::quotes
