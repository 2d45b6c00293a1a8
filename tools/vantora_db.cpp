// vantora-db: creates and checks the market database file that the program opens.

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
    "                                      and integrity\n";

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
    if (!report.ok) {
        print(stderr, QStringLiteral("%1 is NOT a usable market database.").arg(path));
        return 1;
    }
    print(stdout, QStringLiteral("%1 is a usable market database (%2; integrity check ok).")
                      .arg(path, report.facts.join(QLatin1String(", "))));
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
    // Later commands (export-csv, import-csv, restore) join this table.
    const std::pair<const char *, std::function<int(const QStringList &)>> commands[] = {
        {"create", create},
        {"check", check},
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
