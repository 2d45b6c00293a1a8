// SPDX-License-Identifier: GPL-3.0-or-later
// The first opening of a run on a large stocks file: its check and backup when the file has
// changed since its newest good backup, and what is left of it when the file has not. Beside
// each figure its floor, measured in the same run: a plain copy of the file (read and written
// as cp does, without the check) for a changed file; reading the file's metadata and header for
// an unchanged one. Run by hand:
//   build/bin/bench_opening [ROWS [ROUNDS]]        (default: 1000000 5)

#include "bench/benchsupport.h"
#include "data/store/backup.h"
#include "data/store/openingcheck.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace vantora;

namespace {

// Stocks with every figure of a row filled, names and tickers in an order unrelated to the
// rowid, written as the program would (its triggers fill the case-folded keys).
bool makeStocks(const QString &path, qint64 rows)
{
    return bench::fillNewDatabase(
        path, {QStringLiteral(
                   "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n LIMIT %1) "
                   "INSERT INTO stocks (\"Name of Stock\", \"Ticker Symbol\", \"Stock Exchange\", "
                   "\"Current Price\", \"Purchase Price\", \"Shares Owned\", \"52 Wk Hi\", "
                   "\"52 Wk Lo\", \"Advice\", \"Overall Rating\", \"Analyst's Comments\") "
                   "SELECT printf('Company %08d', (x * 7919) % %1), "
                   "printf('T%07X', (x * 104729) % %1), 'NYSE', 10 + (x % 500) / 4.0, "
                   "9 + (x % 450) / 4.0, x % 1000, 20 + (x % 500) / 4.0, 5 + (x % 500) / 8.0, "
                   "'Hold', x % 10, 'Steady growth' FROM n")
                   .arg(rows)});
}

double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Figure
{
    double ms = 0;    // wall clock, median of the rounds
    double cpuMs = 0; // processor time of the whole process, likewise
};

Figure measure(int rounds, const std::function<void()> &before, const std::function<void()> &work)
{
    std::vector<double> wall, cpu;
    for (int round = 0; round < rounds; ++round) {
        before();
        QElapsedTimer timer;
        const double cpuBefore = cpuMs();
        timer.start();
        work();
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(cpuMs() - cpuBefore);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

// The program's first opening of the file in a run: its check and, when due, its backup.
void firstOpening(const QString &path)
{
    startOpeningCheck(path);
    waitForOpeningChecks();
    if (openingCheck(path).state != OpeningCheck::Passed)
        std::fprintf(stderr, "the check did not pass: %s\n",
                     qPrintable(openingCheck(path).message));
}

// What no way of telling that a file is unchanged can do without: its metadata and header.
void readHeader(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    struct stat info
    {
    };
    char header[100];
    if (fd < 0 || ::fstat(fd, &info) != 0 || ::pread(fd, header, sizeof header, 0) != 100)
        std::fprintf(stderr, "could not read the header\n");
    ::close(fd);
}

// A copy of the file's bytes, as cp makes it.
void plainCopy(const QString &from, const QString &to)
{
    QFile::remove(to);
    const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC);
    const int out = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    std::vector<char> buffer(1 << 20);
    ssize_t got = 0;
    while (in >= 0 && out >= 0 && (got = ::read(in, buffer.data(), buffer.size())) > 0)
        if (::write(out, buffer.data(), size_t(got)) != got)
            break;
    ::close(in);
    ::close(out);
}

void report(const char *what, const Figure &figure, const char *floorName, const Figure &floor)
{
    std::printf("%-44s %9.2f ms (%9.2f ms processor)   floor, %s: %8.3f ms   ratio %.1f\n", what,
                figure.ms, figure.cpuMs, floorName, floor.ms,
                floor.ms > 0 ? figure.ms / floor.ms : 0.0);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const qint64 rows = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1000000;
    const int rounds = std::max(1, argc > 2 ? QByteArray(argv[2]).toInt() : 5);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stocks.db"));
    const QString copy = dir.filePath(QStringLiteral("plain-copy.db"));
    QElapsedTimer timer;
    timer.start();
    if (!makeStocks(path, rows)) {
        std::fprintf(stderr, "could not build the table of %lld stocks\n",
                     static_cast<long long>(rows));
        return 1;
    }
    std::printf("built %lld stocks (%.0f MiB) in %.1f s; %d rounds, medians\n",
                static_cast<long long>(rows), double(QFileInfo(path).size()) / (1 << 20),
                double(timer.elapsed()) / 1000, rounds);
    std::fflush(stdout);

    const Figure copied = measure(
        rounds, [] {}, [&] { plainCopy(path, copy); });
    QFile::remove(copy);
    // Each round a row changes, as an edit in the last run would have left it.
    qint64 edits = 0;
    const Figure changed = measure(
        rounds,
        [&] {
            forgetOpeningChecks();
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("edit"));
            db.setDatabaseName(path);
            if (db.open())
                QSqlQuery(db).exec(QStringLiteral("UPDATE stocks SET \"Shares Owned\" = %1 "
                                                  "WHERE rowid = 1")
                                       .arg(++edits));
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("edit"));
        },
        [&] { firstOpening(path); });
    report("first opening, changed (check and backup)", changed, "plain copy", copied);

    const Figure header = measure(
        rounds * 20, [] {}, [&] { readHeader(path); });
    const qsizetype backups = backupsOf(path).size();
    const Figure unchanged = measure(
        rounds, [] { forgetOpeningChecks(); }, [&] { firstOpening(path); });
    report("first opening, unchanged since its backup", unchanged, "read the header", header);
    if (backupsOf(path).size() != backups)
        std::fprintf(stderr, "the unchanged file was backed up again\n");
    return 0;
}
