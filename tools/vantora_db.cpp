// SPDX-License-Identifier: GPL-3.0-or-later
// vantora-db: creates and checks the market database file that the program opens, moves its
// tables in and out as CSV files, puts a backup back, brings prices in and scores the
// forecaster.

#include "data/exchange/csv.h"
#include "data/exchange/pricehistory.h"
#include "data/exchange/priceimport.h"
#include "data/quotes/keys.h"
#include "data/quotes/quotesource.h"
#include "data/store/database.h"
#include "data/store/instances.h"
#include "data/store/openingcheck.h"
#include "data/store/restore.h"
#include "forecast/scorecard.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <functional>

namespace {

void print(FILE *stream, const QString &text)
{
    std::fputs(qPrintable(text), stream);
    std::fputc('\n', stream);
}

const char kUsage[] =
    "usage:\n"
    "  vantora-db create PATH [--sample]   create a new market database file\n"
    "  vantora-db check PATH               check a file's tables, fields, indexes\n"
    "                                      and integrity\n"
    "  vantora-db export-csv DB TABLE FILE write a table to a new CSV file\n"
    "  vantora-db import-csv DB TABLE FILE append a CSV file's rows to a table\n"
    "                                      (all or nothing)\n"
    "  vantora-db restore BACKUP DB        put a backup back over a database file\n"
    "  vantora-db import-prices DB FILE... [--ticker SYMBOL]\n"
    "                                      read files of daily history into Prices,\n"
    "                                      the stocks and the forecaster's days\n"
    "  vantora-db fetch-prices DB SYMBOL... [--source yahoo|alphavantage|stooq|url]\n"
    "            [--key KEY] [--base-url URL] [--url TEMPLATE] [--from YYYY-MM-DD]\n"
    "                                      fetch what is new of each symbol's daily\n"
    "                                      history and store it as import-prices does\n"
    "  vantora-db scorecard DB             how the forecaster's ranges did against the\n"
    "                                      indices' real days, beside a naive forecast\n"
    "TABLE is stocks, Analyst, Forecaster or Prices.\n";

int usage(const QString &problem = {})
{
    if (!problem.isEmpty())
        print(stderr, QStringLiteral("vantora-db: %1").arg(problem));
    std::fputs(kUsage, stderr);
    return 2;
}

int create(const QStringList &args)
{
    QString path;
    bool sample = false;
    for (const QString &arg : args) {
        if (arg == QLatin1String("--sample"))
            sample = true;
        else if (arg.startsWith(QLatin1String("--")))
            return usage(QStringLiteral("unknown option %1").arg(arg));
        else if (path.isEmpty())
            path = arg;
        else
            return usage(QStringLiteral("unexpected argument %1").arg(arg));
    }
    if (path.isEmpty())
        return usage(QStringLiteral("create needs a PATH"));
    QString error;
    if (!vantora::createDatabase(path, sample, &error)) {
        print(stderr, QStringLiteral("vantora-db: %1").arg(error));
        return 1;
    }
    print(stdout, sample ? QStringLiteral("Created %1 with the sample market.").arg(path)
                         : QStringLiteral("Created %1 (empty tables).").arg(path));
    return 0;
}

int check(const QStringList &args)
{
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return usage(QStringLiteral("check needs exactly one PATH"));
    const QString path = args.first();
    const vantora::CheckReport report = vantora::checkDatabase(path);
    for (const QString &problem : report.problems)
        print(stderr, QStringLiteral("vantora-db: %1").arg(problem));
    if (report.verdict == vantora::CheckReport::Busy) {
        // Nothing is known of it yet: not unusable, only busy.
        print(stderr, QStringLiteral("%1 is busy: another program is using it.").arg(path));
        return 1;
    }
    if (!report.ok) {
        print(stderr, QStringLiteral("%1 is NOT a usable market database.").arg(path));
        return 1;
    }
    print(stdout, QStringLiteral("%1 is a usable market database (%2; integrity check ok).")
                      .arg(path, report.facts.join(QLatin1String(", "))));
    return 0;
}

bool plainArguments(const QStringList &args, qsizetype count)
{
    if (args.size() != count)
        return false;
    for (const QString &arg : args)
        if (arg.startsWith(QLatin1String("--")))
            return false;
    return true;
}

int exportCsv(const QStringList &args)
{
    if (!plainArguments(args, 3))
        return usage(QStringLiteral("export-csv needs DB TABLE FILE"));
    const vantora::csv::Result result = vantora::csv::exportTable(args[0], args[1], args[2]);
    for (const QString &warning : result.warnings)
        print(stderr, QStringLiteral("vantora-db: warning: %1").arg(warning));
    if (!result.ok) {
        print(stderr, QStringLiteral("vantora-db: %1").arg(result.message));
        return 1;
    }
    print(stdout, result.message);
    return 0;
}

int importCsv(const QStringList &args)
{
    if (!plainArguments(args, 3))
        return usage(QStringLiteral("import-csv needs DB TABLE FILE"));
    const vantora::csv::Result result = vantora::csv::importTable(args[0], args[1], args[2]);
    if (!result.ok) {
        print(stderr, QStringLiteral("vantora-db: %1").arg(result.message));
        return 1;
    }
    print(stdout, result.message);
    return 0;
}

int restore(const QStringList &args)
{
    if (!plainArguments(args, 2))
        return usage(QStringLiteral("restore needs BACKUP DB"));
    // A running program would go on working on what it read before, and save into records that
    // the backup has put other data in.
    const QList<qint64> running = vantora::otherInstances(args[1]);
    if (!running.isEmpty()) {
        print(stderr, QStringLiteral("vantora-db: Vantora Market Pro (process %1) has \"%2\" open. "
                                     "Close its record screens, or the program, and run the "
                                     "restore again. Nothing was restored.")
                          .arg(running.first())
                          .arg(args[1]));
        return 1;
    }
    QString message;
    const bool ok = vantora::restoreDatabase(args[0], args[1], &message);
    print(ok ? stdout : stderr, ok ? message : QStringLiteral("vantora-db: %1").arg(message));
    return ok ? 0 : 1;
}

// As the program's first opening does: the file is checked, backed up and brought up to date
// before anything is written to it.
bool readyAsAtFirstOpening(const QString &database)
{
    QString message;
    const bool usable = vantora::awaitUsable(database, &message);
    vantora::waitForOpeningChecks();
    if (!message.isEmpty())
        print(stderr, QStringLiteral("vantora-db: %1").arg(message));
    return usable;
}

int importPrices(const QStringList &args)
{
    QStringList files;
    QString ticker;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--ticker")) {
            if (++i >= args.size())
                return usage(QStringLiteral("--ticker needs a SYMBOL"));
            ticker = args[i];
        } else if (args[i].startsWith(QLatin1String("--"))) {
            return usage(QStringLiteral("unknown option %1").arg(args[i]));
        } else {
            files << args[i];
        }
    }
    if (files.size() < 2)
        return usage(QStringLiteral("import-prices needs DB and at least one FILE"));
    const QString database = files.takeFirst();
    if (!readyAsAtFirstOpening(database))
        return 1;
    const vantora::prices::ImportResult result =
        vantora::prices::importFiles(database, files, ticker);
    print(result.ok ? stdout : stderr,
          result.ok ? result.message : QStringLiteral("vantora-db: %1").arg(result.message));
    return result.ok ? 0 : 1;
}

int fetchPrices(const QStringList &args)
{
    QStringList words;
    vantora::quotes::FetchOptions options = vantora::quotes::savedOptions();
    QString source, key;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const QStringList valued = {"--from", "--url", "--source", "--key", "--base-url"};
        if (valued.contains(arg)) {
            if (++i >= args.size())
                return usage(QStringLiteral("%1 needs a value").arg(arg));
            const QString &value = args[i];
            if (arg == QLatin1String("--url")) {
                options.urlTemplate = value;
                options.source = vantora::quotes::SourceKind::Template;
            } else if (arg == QLatin1String("--source")) {
                source = value;
            } else if (arg == QLatin1String("--key")) {
                key = value;
            } else if (arg == QLatin1String("--base-url")) {
                options.baseUrl = value;
            } else if (!(options.from = QDate::fromString(value, Qt::ISODate)).isValid()) {
                return usage(QStringLiteral("--from needs a date such as 2026-01-02"));
            }
        } else if (arg.startsWith(QLatin1String("--"))) {
            return usage(QStringLiteral("unknown option %1").arg(arg));
        } else {
            words << arg;
        }
    }
    if (!source.isEmpty()) {
        const std::optional<vantora::quotes::SourceKind> kind =
            vantora::quotes::sourceNamed(source);
        if (!kind)
            return usage(QStringLiteral("--source is yahoo, alphavantage, stooq or url"));
        options.source = *kind;
    }
    options.key = vantora::quotes::keyFor(options.source, key);
    if (words.size() < 2)
        return usage(QStringLiteral("fetch-prices needs DB and at least one SYMBOL"));
    const QString database = words.takeFirst();
    if (!readyAsAtFirstOpening(database))
        return 1;
    const vantora::quotes::FetchResult result =
        vantora::quotes::fetchAndImport(database, words, options);
    print(result.ok ? stdout : stderr,
          result.ok ? result.message : QStringLiteral("vantora-db: %1").arg(result.message));
    return result.ok ? 0 : 1;
}

int scorecard(const QStringList &args)
{
    if (!plainArguments(args, 1))
        return usage(QStringLiteral("scorecard needs exactly one DB"));
    vantora::ScorecardInput input;
    if (const vantora::DbError error = vantora::prices::readScorecardInput(args[0], &input)) {
        print(stderr, QStringLiteral("vantora-db: %1").arg(error.message));
        return 1;
    }
    const vantora::Scorecard card = vantora::scoreForecasts(input);
    if (card.empty()) {
        print(stderr, QStringLiteral("vantora-db: \"%1\" has nothing to score: %2.")
                          .arg(args[0], vantora::nothingToScoreReason()));
        return 1;
    }
    for (int i = 0; i < vantora::kMarketIndices; ++i)
        print(stdout, vantora::scorecardLine(vantora::indexName(vantora::MarketIndex(i)),
                                             card.indices[std::size_t(i)]));
    print(stdout, vantora::scorecardLine(QStringLiteral("All three"), card.all));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    const std::pair<const char *, std::function<int(const QStringList &)>> commands[] = {
        {"create", create},
        {"check", check},
        {"export-csv", exportCsv},
        {"import-csv", importCsv},
        {"restore", restore},
        {"import-prices", importPrices},
        {"fetch-prices", fetchPrices},
        {"scorecard", scorecard},
    };
    for (const auto &[name, run] : commands)
        if (command == QLatin1String(name))
            return run(args);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    return usage(QStringLiteral("unknown command %1").arg(command));
}
