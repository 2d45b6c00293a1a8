// SPDX-License-Identifier: GPL-3.0-or-later
// vantora-db: creates and checks the market database file that the program opens, moves its
// tables in and out as CSV files, puts a backup back, brings prices in and scores the
// forecaster.

#include "data/exchange/csv.h"
#include "data/exchange/pricehistory.h"
#include "data/exchange/priceimport.h"
#include "data/exchange/returns.h"
#include "data/exchange/tradeimport.h"
#include "data/quotes/keys.h"
#include "data/quotes/quotesource.h"
#include "data/store/database.h"
#include "data/store/instances.h"
#include "data/store/openingcheck.h"
#include "data/store/restore.h"
#include "forecast/scorecard.h"

#include <QCommandLineParser>
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

// One command of the tool. Adding a command is a function taking its words and options, and
// one row in commands() below.
struct Command
{
    const char *name;
    const char *synopsis;   // what follows the name in the usage
    const char *summary;    // what it does, for the usage; lines broken by '\n'
    QStringList valueNames; // options that take a value ("--ticker SYMBOL": {"ticker", "SYMBOL"})
    QStringList flags;      // options that take none
    std::function<int(const QCommandLineParser &, const QStringList &)> run;
};

const QList<Command> &commands();

QString usageText()
{
    QString text = QStringLiteral("usage:\n");
    for (const Command &command : commands()) {
        QString line = QStringLiteral("  vantora-db %1 %2")
                           .arg(QLatin1String(command.name), QLatin1String(command.synopsis));
        const QStringList summary = QString::fromUtf8(command.summary).split(QLatin1Char('\n'));
        for (const QString &part : summary) {
            if (line.size() > 37) {
                text += line + QLatin1Char('\n');
                line.clear();
            }
            text += line.leftJustified(38) + part + QLatin1Char('\n');
            line.clear();
        }
    }
    text += QStringLiteral("  vantora-db --version               print the version\n"
                           "TABLE is stocks, Analyst, Forecaster, Prices or Trades.\n");
    return text;
}

int usage(const QString &problem = {})
{
    if (!problem.isEmpty())
        print(stderr, QStringLiteral("vantora-db: %1").arg(problem));
    std::fputs(qPrintable(usageText()), stderr);
    return 2;
}

int create(const QCommandLineParser &options, const QStringList &args)
{
    if (args.isEmpty())
        return usage(QStringLiteral("create needs a PATH"));
    if (args.size() > 1)
        return usage(QStringLiteral("unexpected argument %1").arg(args[1]));
    const QString path = args.first();
    const bool sample = options.isSet(QStringLiteral("sample"));
    if (const vantora::DbError failure = vantora::createDatabase(path, sample)) {
        print(stderr, QStringLiteral("vantora-db: %1").arg(failure.message));
        return 1;
    }
    print(stdout, sample ? QStringLiteral("Created %1 with the sample market.").arg(path)
                         : QStringLiteral("Created %1 (empty tables).").arg(path));
    return 0;
}

int check(const QCommandLineParser &, const QStringList &args)
{
    if (args.size() != 1)
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

int exportCsv(const QCommandLineParser &, const QStringList &args)
{
    if (args.size() != 3)
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

int importCsv(const QCommandLineParser &, const QStringList &args)
{
    if (args.size() != 3)
        return usage(QStringLiteral("import-csv needs DB TABLE FILE"));
    const vantora::csv::Result result = vantora::csv::importTable(args[0], args[1], args[2]);
    if (!result.ok) {
        print(stderr, QStringLiteral("vantora-db: %1").arg(result.message));
        return 1;
    }
    print(stdout, result.message);
    return 0;
}

int restore(const QCommandLineParser &, const QStringList &args)
{
    if (args.size() != 2)
        return usage(QStringLiteral("restore needs BACKUP DB"));
    // A running program would go on working on what it read before, and save into records that
    // the backup has put other data in.
    const QList<qint64> running = vantora::otherInstances(args[1]);
    if (!running.isEmpty()) {
        print(stderr, QStringLiteral("vantora-db: Vantora Market Pro (process %1) has \"%2\" open. "
                                     "Close its record screens, or the program, and run the "
                                     "restore again. Nothing was restored.")
                          .arg(QString::number(running.first()), args[1]));
        return 1;
    }
    QString done;
    if (const vantora::DbError failure = vantora::restoreDatabase(args[0], args[1], &done)) {
        print(stderr, QStringLiteral("vantora-db: %1").arg(failure.message));
        return 1;
    }
    print(stdout, done);
    return 0;
}

// As the program's first opening does: the file is checked, backed up and brought up to date
// before anything is written to it.
bool readyAsAtFirstOpening(const QString &database)
{
    QString notice;
    const vantora::DbError failure = vantora::awaitUsable(database, &notice);
    vantora::waitForOpeningChecks();
    const QString message = failure ? failure.message : notice;
    if (!message.isEmpty())
        print(stderr, QStringLiteral("vantora-db: %1").arg(message));
    return !failure;
}

int importPrices(const QCommandLineParser &options, const QStringList &args)
{
    QStringList files = args;
    const QString ticker = options.value(QStringLiteral("ticker"));
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

int fetchPrices(const QCommandLineParser &parsed, const QStringList &args)
{
    QStringList words = args;
    vantora::quotes::FetchOptions options = vantora::quotes::savedOptions();
    if (parsed.isSet(QStringLiteral("url"))) {
        options.urlTemplate = parsed.value(QStringLiteral("url"));
        options.source = vantora::quotes::SourceKind::Template;
    }
    if (parsed.isSet(QStringLiteral("source"))) {
        const std::optional<vantora::quotes::SourceKind> kind =
            vantora::quotes::sourceNamed(parsed.value(QStringLiteral("source")));
        if (!kind)
            return usage(QStringLiteral("--source is yahoo, alphavantage, stooq or url"));
        options.source = *kind;
    }
    if (parsed.isSet(QStringLiteral("base-url")))
        options.baseUrl = parsed.value(QStringLiteral("base-url"));
    if (parsed.isSet(QStringLiteral("from"))) {
        options.from = QDate::fromString(parsed.value(QStringLiteral("from")), Qt::ISODate);
        if (!options.from.isValid())
            return usage(QStringLiteral("--from needs a date such as 2026-01-02"));
    }
    options.key = vantora::quotes::keyFor(options.source, parsed.value(QStringLiteral("key")));
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

int scorecard(const QCommandLineParser &, const QStringList &args)
{
    if (args.size() != 1)
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

int importTrades(const QCommandLineParser &, const QStringList &args)
{
    if (args.size() < 2)
        return usage(QStringLiteral("import-trades needs DB and at least one FILE"));
    if (!readyAsAtFirstOpening(args.first()))
        return 1;
    const vantora::trades::ImportResult result =
        vantora::trades::importTradeFiles(args.first(), args.mid(1));
    print(result.ok ? stdout : stderr,
          result.ok ? result.message : QStringLiteral("vantora-db: %1").arg(result.message));
    return result.ok ? 0 : 1;
}

int returns(const QCommandLineParser &options, const QStringList &args)
{
    QDate from, to;
    for (const char *name : {"from", "to"}) {
        const QString option = QLatin1String(name);
        if (!options.isSet(option))
            continue;
        const QDate day = QDate::fromString(options.value(option), QStringLiteral("yyyy-MM-dd"));
        if (!day.isValid())
            return usage(QStringLiteral("--%1 needs a date such as 2026-01-02").arg(option));
        (option == QLatin1String("from") ? from : to) = day;
    }
    if (args.size() != 1)
        return usage(QStringLiteral("returns needs exactly one DB"));
    const QString database = args.first();
    if (from.isValid() && to.isValid() && from > to)
        return usage(QStringLiteral("--from must not come after --to"));
    vantora::prices::ReturnsReport report;
    if (const vantora::DbError error =
            vantora::prices::computeReturns(database, from, to, &report)) {
        print(stderr, QStringLiteral("vantora-db: %1").arg(error.message));
        return 1;
    }
    if (from.isValid() && from > report.to)
        return usage(QStringLiteral("--from must not come after the latest day of prices, %1")
                         .arg(report.to.toString(Qt::ISODate)));
    for (const vantora::ReturnsLine &line : std::as_const(report.stocks))
        print(stdout, vantora::returnsLine(line));
    print(stdout, vantora::portfolioLine(report.portfolio));
    return 0;
}

const QList<Command> &commands()
{
    static const QList<Command> all = {
        {"create", "PATH [--sample]", "create a new market database file", {}, {"sample"}, create},
        {"check", "PATH", "check a file's tables, fields, indexes\nand integrity", {}, {}, check},
        {"export-csv", "DB TABLE FILE", "write a table to a new CSV file", {}, {}, exportCsv},
        {"import-csv",
         "DB TABLE FILE",
         "append a CSV file's rows to a table\n(all or nothing)",
         {},
         {},
         importCsv},
        {"restore", "BACKUP DB", "put a backup back over a database file", {}, {}, restore},
        {"import-prices",
         "DB FILE... [--ticker SYMBOL]",
         "read files of daily history into Prices,\nthe stocks and the forecaster's days",
         {"ticker", "SYMBOL"},
         {},
         importPrices},
        {"fetch-prices",
         "DB SYMBOL... [--source yahoo|alphavantage|stooq|url]\n"
         "            [--key KEY] [--base-url URL] [--url TEMPLATE] [--from YYYY-MM-DD]",
         "fetch what is new of each symbol's daily\nhistory and store it as import-prices does",
         {"source", "SOURCE", "key", "KEY", "base-url", "URL", "from", "YYYY-MM-DD", "url",
          "TEMPLATE"},
         {},
         fetchPrices},
        {"scorecard",
         "DB",
         "how the forecaster's ranges did against the\nindices' real days, beside a naive "
         "forecast",
         {},
         {},
         scorecard},
        {"import-trades",
         "DB FILE...",
         "read CSV files of trades into Trades (all or\nnothing) and keep the stocks' shares "
         "and\naverage cost",
         {},
         {},
         importTrades},
        {"returns",
         "DB [--from YYYY-MM-DD] [--to YYYY-MM-DD]",
         "what each stock's trades and the portfolio\nearned, beside the S&P 500",
         {"from", "YYYY-MM-DD", "to", "YYYY-MM-DD"},
         {},
         returns},
    };
    return all;
}

// Reads a command's own options and words, then runs it.
int runCommand(const Command &command, const QStringList &words)
{
    QCommandLineParser parser;
    for (qsizetype i = 0; i + 1 < command.valueNames.size(); i += 2)
        parser.addOption(
            QCommandLineOption(command.valueNames[i], QString(), command.valueNames[i + 1]));
    for (const QString &flag : command.flags)
        parser.addOption(QCommandLineOption(flag));
    if (!parser.parse(QStringList{QLatin1String(command.name)} + words)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return usage(QStringLiteral("unknown option %1%2")
                             .arg(unknown.first().size() == 1 ? "-" : "--", unknown.first()));
        for (qsizetype i = 0; i + 1 < command.valueNames.size(); i += 2)
            if (words.constLast() == QLatin1String("--") + command.valueNames[i])
                return usage(QStringLiteral("%1 needs a %2")
                                 .arg(words.constLast(), command.valueNames[i + 1]));
        return usage(parser.errorText());
    }
    return command.run(parser, parser.positionalArguments());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTORA_VERSION));
    // The command and whatever follows it are the command's; before it only --help and
    // --version (and Qt's own options, which the application object has taken already).
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    parser.addOptions({help, version});
    if (!parser.parse(QCoreApplication::arguments()))
        return usage(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(qPrintable(usageText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("vantora-db %1").arg(QCoreApplication::applicationVersion()));
        return 0;
    }
    QStringList words = parser.positionalArguments();
    if (words.isEmpty())
        return usage();
    const QString name = words.takeFirst();
    for (const Command &command : commands())
        if (name == QLatin1String(command.name))
            return runCommand(command, words);
    return usage(QStringLiteral("unknown command %1").arg(name));
}
