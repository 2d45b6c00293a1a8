// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/quotes/download.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>

// Daily history fetched over HTTP(S) from a quote source and imported, symbol by symbol, as the
// files of daily history are.
namespace vantora::quotes {

enum class SourceKind { Yahoo, AlphaVantage, Stooq, Template };

// The source's name on the command line and in the settings ("yahoo", "alphavantage", "stooq",
// "url"), and as the Preferences window lists it.
QString sourceName(SourceKind kind);
QString sourceTitle(SourceKind kind);
std::optional<SourceKind> sourceNamed(const QString &name);
bool needsKey(SourceKind kind);
// The scheme, host and port the source is asked at.
QString defaultBase(SourceKind kind);

// The daily-history CSV download of Stooq, as an address template.
QString defaultTemplate();
// The template kept in the per-user settings of the program (section "Quotes", key
// "URL template"), else the default.
QString savedTemplate();
// The source kept in the settings ("Quotes/Source"); without one, the address template where
// one was saved, else Yahoo Finance.
SourceKind savedSource();

// A symbol as the source spells it in its addresses. For Stooq: lower case, the indices under
// its own names (^dji, ^ndq, ^spx) and a plain ticker as a US one (aapl.us); for Yahoo, a
// share class with a hyphen (BRK-B); any other source gets the symbol as it is.
QString sourceSymbol(const QString &symbol, const QString &urlTemplate);
QString sourceSymbol(const QString &symbol, SourceKind kind);
// The address of one symbol's history from a template: {symbol} and {from} (yyyyMMdd; empty
// without a date) filled in.
QUrl addressFor(const QString &urlTemplate, const QString &symbol, QDate from);
// Why a template cannot be used, or nothing when it can.
std::optional<QString> templateProblem(const QString &urlTemplate);
// An address as it may be shown: a key in it reads "apikey=…".
QString shownAddress(const QUrl &address);

inline constexpr int kTimeoutMs = 15000;

// Called as downloads finish with the number done, and every tenth of a second meanwhile;
// false cancels every transfer at once.
using Progress = std::function<bool(int done, int total)>;

struct FetchOptions
{
    SourceKind source = SourceKind::Template;
    QString urlTemplate = defaultTemplate(); // the template source's address
    QString key;                             // the keyed sources' key
    QString baseUrl;                         // replaces the scheme, host and port when given
    QDate from; // the first day asked for; without it, the day after each symbol's last stored
    Limits limits;
};

struct FetchResult
{
    bool ok = false;      // every symbol was updated
    QString message;      // a few lines at most
    QStringList problems; // every symbol not updated, with why
    int updated = 0;      // symbols whose history was stored
    int asked = 0;
    qint64 days = 0; // days of prices stored
};

// The source, template and base address saved in the settings, and the source's key (from
// VANTORA_QUOTES_KEY, else the saved one).
FetchOptions savedOptions();

// Fetches each symbol's history and stores it whole or not at all: the symbols that arrived
// are kept when others fail. An answer that is an error, a timeout, too large or no history
// (a web page, "No data", a service's refusal) is reported with the symbol and the reason.
FetchResult fetchAndImport(const QString &databasePath, const QStringList &symbols,
                           const FetchOptions &options, const Progress &progress = {});

// Asks the source for one symbol's history of the last weeks and says what came; stores
// nothing.
QString trySource(const FetchOptions &options, const QString &symbol);

} // namespace vantora::quotes
