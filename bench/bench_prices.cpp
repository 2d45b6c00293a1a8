// SPDX-License-Identifier: GPL-3.0-or-later
// Importing daily history: `vantora-db import-prices` against the sqlite3 shell's `.import` of
// the same rows into the same table of the same schema, in one run. The floor is SQLite's own
// bulk load: the shell's `.import` with the index dropped first and made again after the rows,
// in one transaction. Run by hand:
//   build-bench/bin/bench_prices [SYMBOLS DAYS [RUNS]]     (default: 400 2500 3 = 1,000,000 rows)
// Each import runs as a process of its own; its wall time and peak resident memory are reported.
// An import's output goes nowhere: only its status counts.

#include "bench/childrun.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using vantora::bench::median;
using vantora::bench::Run;
using vantora::bench::runChild;

// One file of many symbols, in the table's own column order, so that the shell can import it.
bool writeHistory(const QString &path, int symbols, int days)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("Ticker Symbol,Date,Open,High,Low,Close,Volume\n");
    QByteArray line;
    for (int s = 0; s < symbols; ++s) {
        const QByteArray symbol = "S" + QByteArray::number(s);
        double close = 20 + s % 300;
        QDate day(2016, 1, 4);
        for (int d = 0; d < days; day = day.addDays(1)) {
            if (day.dayOfWeek() > 5)
                continue;
            ++d;
            const double open = close;
            close = std::max(1.0, close * (1 + ((d * 7919 + s) % 41 - 20) / 1000.0));
            line = symbol + ',' + day.toString(Qt::ISODate).toLatin1() + ',' +
                   QByteArray::number(open, 'f', 2) + ',' +
                   QByteArray::number(std::max(open, close) * 1.01, 'f', 2) + ',' +
                   QByteArray::number(std::min(open, close) * 0.99, 'f', 2) + ',' +
                   QByteArray::number(close, 'f', 2) + ',' + QByteArray::number(1000 + d) + '\n';
            file.write(line);
        }
    }
    return file.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int symbols = args.size() > 2 ? args[1].toInt() : 400;
    const int days = args.size() > 2 ? args[2].toInt() : 2500;
    const int runs = args.size() > 3 ? args[3].toInt() : 3;
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/vantora-db");
    const QString shell = vantora::bench::sqliteShell();
    if (shell.isEmpty())
        return 1;
    QTemporaryDir dir;
    const QString history = dir.filePath(QStringLiteral("history.csv"));
    if (!writeHistory(history, symbols, days))
        return 1;
    std::printf("%d symbols x %d days = %lld rows, %.0f MiB file\n", symbols, days,
                static_cast<long long>(symbols) * days,
                double(QFile(history).size()) / (1024.0 * 1024.0));

    const QString index = QStringLiteral("\"Ticker and Date\"");
    const QString load = QStringLiteral(".import --skip 1 %1 Prices").arg(history);
    std::vector<double> time[3], peak[3];
    const char *names[3] = {"vantora-db", "sqlite3 shell", "floor: SQLite bulk load"};
    for (int i = 0; i < runs; ++i) {
        // Alternating, so that none gets the quieter moments of a shared machine.
        const QStringList commands[3] = {
            {tool, QStringLiteral("import-prices"), QStringLiteral("DB"), history},
            {shell, QStringLiteral("DB"), QStringLiteral(".mode csv"), load},
            {shell, QStringLiteral("DB"), QStringLiteral("BEGIN"),
             QStringLiteral("DROP INDEX %1").arg(index), QStringLiteral(".mode csv"), load,
             QStringLiteral("CREATE UNIQUE INDEX %1 ON Prices (\"Ticker Symbol\" COLLATE "
                            "NOCASE, \"Date\")")
                 .arg(index),
             QStringLiteral("COMMIT")}};
        std::printf("run %d:", i + 1);
        for (int k = 0; k < 3; ++k) {
            const QString db = dir.filePath(QStringLiteral("import-%1-%2.db").arg(i).arg(k));
            QStringList command = commands[k];
            std::replace(command.begin(), command.end(), QStringLiteral("DB"), db);
            if (!runChild({tool, QStringLiteral("create"), db}).ok) {
                std::fprintf(stderr, "\nno database could be made\n");
                return 1;
            }
            const Run r = runChild(command);
            if (!r.ok) {
                std::fprintf(stderr, "\n%s failed\n", names[k]);
                return 1;
            }
            time[k].push_back(r.seconds);
            peak[k].push_back(r.peakMiB);
            QFile::remove(db);
            std::printf(" %s %.2f s, %.1f MiB;", names[k], r.seconds, r.peakMiB);
        }
        std::printf("\n");
    }
    std::printf("median:");
    for (int k = 0; k < 3; ++k)
        std::printf(" %s %.2f s (peak %.1f MiB);", names[k], median(time[k]), median(peak[k]));
    std::printf("\ntime ratio: %.2f of the shell, %.2f of the floor\n",
                median(time[0]) / median(time[1]), median(time[0]) / median(time[2]));
    return 0;
}
