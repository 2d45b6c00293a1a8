// SPDX-License-Identifier: GPL-3.0-or-later
// vantora-db: creates and checks the market database file that the program opens, moves its
// tables in and out as CSV files and puts a backup back.

#include "data/backup.h"
#include "data/csv.h"
#include "data/database.h"

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
    "TABLE is stocks, Analyst or Forecaster.\n";

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
    QString message;
    const bool ok = vantora::restoreDatabase(args[0], args[1], &message);
    print(ok ? stdout : stderr, ok ? message : QStringLiteral("vantora-db: %1").arg(message));
    return ok ? 0 : 1;
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
        {"create", create},        {"check", check},     {"export-csv", exportCsv},
        {"import-csv", importCsv}, {"restore", restore},
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
