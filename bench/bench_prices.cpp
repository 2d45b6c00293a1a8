// SPDX-License-Identifier: GPL-3.0-or-later
// Importing daily history: `vantora-db import-prices` against the sqlite3 shell's `.import` of
// the same rows into the same table of the same schema, in one run. Run by hand:
//   build-bench/bin/bench_prices [SYMBOLS DAYS [RUNS]]     (default: 400 2500 3 = 1,000,000 rows)
// Each import runs as a process of its own; its wall time and peak resident memory are reported.

#include "bench/childrun.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

using vantora::bench::median;

struct Run
{
    int status = -1;
    double seconds = 0;
    double peakMiB = 0;
};

// Runs a program and waits for it: its exit status, wall time and peak resident memory.
Run run(const QStringList &command)
{
    std::vector<QByteArray> words;
    for (const QString &word : command)
        words.push_back(word.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    Run result;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        return result;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    posix_spawn_file_actions_destroy(&actions);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.seconds = double(timer.nsecsElapsed()) / 1e9;
    result.peakMiB = double(usage.ru_maxrss) / 1024.0;
    return result;
}

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

    std::vector<double> ourTime, ourPeak, shellTime, shellPeak;
    for (int i = 0; i < runs; ++i) {
        // Alternating, so that neither gets the quieter moments of a shared machine.
        const QString ours = dir.filePath(QStringLiteral("ours-%1.db").arg(i));
        const QString theirs = dir.filePath(QStringLiteral("shell-%1.db").arg(i));
        if (run({tool, QStringLiteral("create"), ours}).status != 0 ||
            run({tool, QStringLiteral("create"), theirs}).status != 0)
            return 1;
        const Run a = run({tool, QStringLiteral("import-prices"), ours, history});
        const Run b = run({shell, theirs, QStringLiteral(".mode csv"),
                           QStringLiteral(".import --skip 1 %1 Prices").arg(history)});
        if (a.status != 0 || b.status != 0) {
            std::fprintf(stderr, "an import failed (%d, %d)\n", a.status, b.status);
            return 1;
        }
        ourTime.push_back(a.seconds);
        ourPeak.push_back(a.peakMiB);
        shellTime.push_back(b.seconds);
        shellPeak.push_back(b.peakMiB);
        std::printf("run %d: vantora-db %.2f s, %.1f MiB; sqlite3 %.2f s, %.1f MiB\n", i + 1,
                    a.seconds, a.peakMiB, b.seconds, b.peakMiB);
    }
    std::printf("median: vantora-db %.2f s (peak %.1f MiB), sqlite3 shell %.2f s (peak %.1f "
                "MiB): time ratio %.2f\n",
                median(ourTime), median(ourPeak), median(shellTime), median(shellPeak),
                median(ourTime) / median(shellTime));
    return 0;
}
