// SPDX-License-Identifier: GPL-3.0-or-later
// Exporting a large table: vantora-db export-csv against the sqlite3 shell's CSV output of the
// same columns of the same table (`sqlite3 -csv -header`, written to a file), in one run. The
// shell is the floor: SQLite's own row loop and text output. Each export runs as a process of
// its own, in turns; wall clock, processor time and peak resident memory of each, and the
// medians. Run by hand:
//   build-bench/bin/bench_export [ROWS [RUNS]]       (default: 1000000 3)
// vantora-db is taken from beside this program, sqlite3 from the PATH.

#include "bench/benchsupport.h"
#include "bench/childrun.h"
#include "data/store/database.h"
#include "data/store/schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace vantora;

namespace {

using bench::median;
using bench::Run;
using bench::runChild;

// Every field filled; prices with fractions that need many digits, as computed prices have.
bool fillStocks(const QString &path, qint64 rows)
{
    return bench::fillNewDatabase(
        path,
        {QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n LIMIT %1) "
                        "INSERT INTO stocks SELECT printf('Company %08d', x), printf('T%07X', x), "
                        "'NYSE', 10 + x % 500 / 4.0, (10 + x % 500 / 4.0) * 0.9, x % 1000, "
                        "x % 90 / 10.0, x % 95 / 10.0, x % 99 / 10.0, (10 + x % 500 / 4.0) * 1.3, "
                        "(10 + x % 500 / 4.0) * 0.7, CASE WHEN x % 4 THEN 'Steady growth' ELSE "
                        "'Strong book, \"low\" debt' END, 'Buy', x % 10, x % 7, x % 5, x % 9, "
                        "x / 7.0, 1000 + x % 5000, (10 + x % 500 / 4.0) * 1.05, 'Hold', 'Open', "
                        "printf('company %08d', x), printf('t%07x', x) FROM n")
             .arg(rows)});
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const qint64 rows = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1000000;
    const int runs = argc > 2 ? QByteArray(argv[2]).toInt() : 3;
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/vantora-db");
    const QString shell = bench::sqliteShell();
    if (shell.isEmpty())
        return 1;
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("export.db"));
    if (!fillStocks(db, rows))
        return 1;
    QStringList columns;
    for (const schema::Field &field : schema::findTable(u"stocks")->fields)
        columns << schema::quoted(field.name);
    const QString select =
        QStringLiteral("SELECT %1 FROM stocks ORDER BY rowid").arg(columns.join(QLatin1Char(',')));

    std::printf("%lld stocks, every field\n", static_cast<long long>(rows));
    std::vector<double> ourTime, ourCpu, shellTime, shellCpu;
    for (int i = 0; i < runs; ++i) {
        const QString ours = dir.filePath(QStringLiteral("ours-%1.csv").arg(i));
        const QString theirs = dir.filePath(QStringLiteral("shell-%1.csv").arg(i));
        // In turns, so that neither gets the quieter moments of a shared machine.
        const Run b = runChild(
            {shell, QStringLiteral("-csv"), QStringLiteral("-header"), db, select}, theirs);
        const Run a = runChild(
            {tool, QStringLiteral("export-csv"), db, QStringLiteral("stocks"), ours}, QString());
        if (!a.ok || !b.ok) {
            std::fprintf(stderr, "an export failed\n");
            return 1;
        }
        std::printf("run %d: vantora-db %.2f s (cpu %.2f s, %.1f MiB, %.0f MiB written); "
                    "sqlite3 -csv %.2f s (cpu %.2f s, %.1f MiB, %.0f MiB written)\n",
                    i + 1, a.seconds, a.cpuSeconds, a.peakMiB,
                    double(QFile(ours).size()) / (1024.0 * 1024.0), b.seconds, b.cpuSeconds,
                    b.peakMiB, double(QFile(theirs).size()) / (1024.0 * 1024.0));
        ourTime.push_back(a.seconds);
        ourCpu.push_back(a.cpuSeconds);
        shellTime.push_back(b.seconds);
        shellCpu.push_back(b.cpuSeconds);
        QFile::remove(ours);
        QFile::remove(theirs);
    }
    std::printf("median: vantora-db export-csv %.2f s (cpu %.2f s); floor, sqlite3 -csv %.2f s "
                "(cpu %.2f s): ratio %.2fx wall clock, %.2fx processor time\n",
                median(ourTime), median(ourCpu), median(shellTime), median(shellCpu),
                median(ourTime) / median(shellTime), median(ourCpu) / median(shellCpu));
    return 0;
}
