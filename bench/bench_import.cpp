// SPDX-License-Identifier: GPL-3.0-or-later
// Importing a large CSV file of stocks: vantora-db import-csv against the sqlite3 shell's
// .import of the same file into the same schema, in one run; wall-clock time, processor time and
// peak resident memory of each. The memory of vantora-db is also compared with that of a small
// file, to show that it does not grow with the file. Run by hand:
//   build/bin/bench_import [ROWS [SMALL_ROWS]]      (default: 1000000 10000)
// vantora-db is taken from beside this program, sqlite3 from the PATH.

#include "data/store/database.h"
#include "data/store/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace vantora;

namespace {

// Rows as an export writes them: numbers in their shortest form, texts quoted where needed.
bool writeStocks(const QString &path, qint64 rows)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QStringList header;
    for (const schema::Field &field : schema::findTable(u"stocks")->fields)
        header << field.name;
    file.write(header.join(QLatin1Char(',')).toUtf8() + "\r\n");
    const char *const exchanges[] = {"NYSE", "NASDAQ", "AMEX"};
    const char *const advice[] = {"Buy", "Sell", "Short", "Hold"};
    QByteArray buffer;
    for (qint64 i = 0; i < rows; ++i) {
        const auto number = [&](double value) { return schema::numberText(value).toUtf8(); };
        const double price = 10 + double(i % 500) / 4;
        buffer += "Company " + QByteArray::number((i * 7919) % rows).rightJustified(8, '0') + ",T" +
                  QByteArray::number((i * 104729) % rows, 16).toUpper().rightJustified(7, '0') +
                  ',' + exchanges[i % 3] + ',' + number(price) + ',' + number(price * 0.9) + ',' +
                  QByteArray::number(i % 1000) + ',' + number(double(i % 90) / 10) + ',' +
                  number(double(i % 95) / 10) + ',' + number(double(i % 99) / 10) + ',' +
                  number(price * 1.3) + ',' + number(price * 0.7) +
                  (i % 4 ? ",Steady growth," : ",\"Strong book, \"\"low\"\" debt\",") +
                  advice[i % 4] + ',' + QByteArray::number(i % 10) + ',' +
                  QByteArray::number(i % 7) + ',' + QByteArray::number(i % 5) + ',' +
                  QByteArray::number(i % 9) + ',' + number(price * 1.1) + ',' +
                  QByteArray::number(1000 + i % 5000) + ',' + number(price * 1.05) + ',' +
                  advice[(i + 1) % 4] + ",Open\r\n";
        if (buffer.size() > (1 << 20)) {
            file.write(buffer);
            buffer.clear();
        }
    }
    file.write(buffer);
    return file.flush();
}

struct Run
{
    bool ok = false;
    double seconds = 0;    // wall clock
    double cpuSeconds = 0; // user and system time of the child
    double peakMiB = 0;    // its peak resident memory
};

double secondsOf(const timeval &t)
{
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

Run runChild(const QStringList &command)
{
    std::vector<QByteArray> args;
    for (const QString &arg : command)
        args.push_back(QFile::encodeName(arg));
    std::vector<char *> argv;
    for (QByteArray &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::fflush(stdout);
    QElapsedTimer clock;
    clock.start();
    const pid_t child = ::fork();
    if (child == 0) {
        // What the tools say of their success would only get in the way of the table.
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    Run run;
    if (child > 0 && ::wait4(child, &status, 0, &usage) == child) {
        run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        run.seconds = double(clock.nsecsElapsed()) / 1e9;
        run.cpuSeconds = secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime);
        run.peakMiB = double(usage.ru_maxrss) / 1024.0;
    }
    return run;
}

qint64 rowsIn(const QString &path)
{
    qint64 rows = -1;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("count"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("SELECT count(*) FROM stocks")) && query.next())
                rows = query.value(0).toLongLong();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("count"));
    return rows;
}

// One import into a fresh database of the full schema.
Run import(const QString &tool, const QString &csv, const QString &folder, qint64 rows)
{
    static int counter = 0;
    const QString db = QStringLiteral("%1/import-%2.db").arg(folder, QString::number(++counter));
    if (const DbError failure = createDatabase(db, false)) {
        std::fprintf(stderr, "%s\n", qPrintable(failure.message));
        return {};
    }
    const bool shell = tool == QLatin1String("sqlite3");
    Run run = runChild(
        shell ? QStringList{tool, db, QStringLiteral(".import --csv --skip 1 %1 stocks").arg(csv)}
              : QStringList{tool, QStringLiteral("import-csv"), db, QStringLiteral("stocks"), csv});
    run.ok = run.ok && rowsIn(db) == rows;
    QFile::remove(db);
    return run;
}

void report(const char *who, qint64 rows, const Run &run)
{
    std::printf("%-22s %10lld %10.2f %10.2f %10.1f %s\n", who, static_cast<long long>(rows),
                run.seconds, run.cpuSeconds, run.peakMiB, run.ok ? "" : "FAILED");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const qint64 rows = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1000000;
    const qint64 small = argc > 2 ? QByteArray(argv[2]).toLongLong() : 10000;
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/vantora-db");
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("stocks.csv"));
    const QString little = dir.filePath(QStringLiteral("stocks-small.csv"));
    if (!writeStocks(big, rows) || !writeStocks(little, small)) {
        std::fprintf(stderr, "could not write the CSV files\n");
        return 1;
    }
    std::printf("%lld rows: %.0f MiB of CSV\n\n", static_cast<long long>(rows),
                double(QFile(big).size()) / (1024.0 * 1024.0));
    std::printf("%-22s %10s %10s %10s %10s\n", "import", "rows", "wall s", "cpu s", "peak MiB");
    const Run shell = import(QStringLiteral("sqlite3"), big, dir.path(), rows);
    report("sqlite3 .import", rows, shell);
    const Run ours = import(tool, big, dir.path(), rows);
    report("vantora-db import-csv", rows, ours);
    const Run ourSmall = import(tool, little, dir.path(), small);
    report("vantora-db import-csv", small, ourSmall);
    const Run shellSmall = import(QStringLiteral("sqlite3"), little, dir.path(), small);
    report("sqlite3 .import", small, shellSmall);
    if (!shell.ok || !ours.ok || !ourSmall.ok || !shellSmall.ok)
        return 1;
    std::printf("\ntime against the sqlite3 shell: %.2fx wall clock, %.2fx processor time\n",
                ours.seconds / shell.seconds, ours.cpuSeconds / shell.cpuSeconds);
    std::printf("peak memory of vantora-db, %lld rows against %lld: %.2fx\n",
                static_cast<long long>(rows), static_cast<long long>(small),
                ours.peakMiB / ourSmall.peakMiB);
    return 0;
}
