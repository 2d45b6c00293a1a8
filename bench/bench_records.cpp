// SPDX-License-Identifier: GPL-3.0-or-later
// Record binding on a large stocks table: how long opening, each step and each Find take, and
// whether the process's memory grows with the table. Run by hand:
//   build/bin/bench_records [ROWS...]        (default: 10000 1000000)
//   build/bin/bench_records --first-open [ROWS [RUNS]]   (default: 1000000 5)
// Each table is built in a child process, so that building it does not count in the memory.
// --first-open times the first opening of a run (a process of its own each time) on the sample
// market and on a table of ROWS stocks: until the first record shows, and until the check and
// backup made meanwhile are done; with the file in the page cache and dropped from it.

#include "common/config.h"
#include "common/dialogs.h"
#include "data/binding/datacontrol.h"
#include "data/binding/recordcommands.h"
#include "data/store/backup.h"
#include "data/store/database.h"
#include "data/store/foldedkeys.h"
#include "data/store/openingcheck.h"
#include "data/store/schema.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <unistd.h>
#include <vector>

using namespace vantora;

namespace {

// Builds a stocks table of the given size in one transaction; the indexes and the case-folded
// keys come last.
int makeTable(const QString &path, qint64 rows)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make"));
    db.setDatabaseName(path);
    if (!db.open())
        return 1;
    {
        QSqlQuery query(db);
        query.exec(QStringLiteral("PRAGMA journal_mode=OFF"));
        query.exec(QStringLiteral("PRAGMA synchronous=OFF"));
        query.exec(QStringLiteral("BEGIN"));
        QStringList indexes;
        for (const QString &statement : schema::createStatements()) {
            if (statement.startsWith(QLatin1String("CREATE INDEX")))
                indexes << statement;
            else
                query.exec(statement);
        }
        // Names and tickers in an order unrelated to the rowid.
        const bool ok = query.exec(
            QStringLiteral(
                "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n LIMIT %1) "
                "INSERT INTO stocks (\"Name of Stock\", \"Ticker Symbol\", \"Current Price\", "
                "\"Stock Exchange\", \"52 Wk Hi\", \"52 Wk Lo\") "
                "SELECT printf('Company %08d', (x * 7919) % %1), "
                "printf('T%07X', (x * 104729) % %1), 10 + (x % 500) / 4.0, 'NYSE', "
                "20 + (x % 500) / 4.0, 5 + (x % 500) / 8.0 FROM n")
                .arg(rows));
        if (!ok) {
            std::fprintf(stderr, "%s\n", qPrintable(query.lastError().text()));
            return 1;
        }
        for (const QString &statement : indexes)
            query.exec(statement);
        // The case-folded keys, as the program fills those of rows another program wrote.
        if (const QSqlError error = fillFoldedKeys(db, QStringLiteral("stocks")); error.isValid()) {
            std::fprintf(stderr, "%s\n", qPrintable(error.text()));
            return 1;
        }
        query.exec(QStringLiteral("COMMIT"));
    }
    db.close();
    return 0;
}

double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

struct Timing
{
    double p50 = 0, p99 = 0, max = 0; // milliseconds of wall-clock time
    double cpu99 = 0;                 // milliseconds of this thread's processor time
};

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Wall-clock time includes waiting for the disk and for other processes on a busy machine; the
// processor time of this thread shows what the operation itself costs.
Timing measure(int runs, const std::function<void(int)> &op)
{
    std::vector<double> ms, cpu;
    ms.reserve(std::size_t(runs));
    cpu.reserve(std::size_t(runs));
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        const double cpuStart = threadCpuMs();
        timer.start();
        op(i);
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(threadCpuMs() - cpuStart);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    auto at = [](const std::vector<double> &v, double q) {
        return v[std::min(v.size() - 1, std::size_t(q * double(v.size())))];
    };
    return {at(ms, 0.50), at(ms, 0.99), ms.back(), at(cpu, 0.99)};
}

// A screen's worth of bound boxes over stocks.
struct Screen
{
    QWidget window;
    QLineEdit *name = new QLineEdit(&window);
    QLineEdit *ticker = new QLineEdit(&window);
    QLineEdit *price = new QLineEdit(&window);
    QLineEdit *high = new QLineEdit(&window);
    DataControl *data = new DataControl(&window);
    Screen()
    {
        data->setCaption(QStringLiteral("Stock"));
        data->bind(name, QStringLiteral("Name of Stock"));
        data->bind(ticker, QStringLiteral("Ticker Symbol"));
        data->bind(price, QStringLiteral("Current Price"));
        data->bind(high, QStringLiteral("52 Wk Hi"));
    }
};

void report(const char *what, qint64 rows, const Timing &t)
{
    std::printf("%-28s %10lld %9.3f %9.3f %9.3f %9.3f\n", what, static_cast<long long>(rows), t.p50,
                t.p99, t.max, t.cpu99);
}

void runFor(const QString &path, qint64 rows, int ops)
{
    config::setDatabasePath(path);
    QString answer;
    int messages = 0;
    setDialogHandler([&](const DialogRequest &request) {
        if (request.kind == DialogRequest::Message)
            ++messages;
        return DialogReply{AnswerOk, answer};
    });

    // The noise floor: filling four boxes without any database work.
    {
        Screen s;
        report("(fill 4 boxes, no database)", rows, measure(ops, [&](int i) {
                   for (QLineEdit *box : {s.name, s.ticker, s.price, s.high})
                       box->setText(QString::number(i));
               }));
    }
    report("build boxes + Data1, open", rows, measure(200, [](int) {
               Screen s;
               s.data->open(QStringLiteral("stocks"));
               s.data->close();
           }));
    Screen s;
    report("open table, first record", rows, measure(ops, [&](int) {
               s.data->open(QStringLiteral("stocks"));
               s.data->close();
           }));
    s.data->open(QStringLiteral("stocks"));
    report("next, stored order", rows, measure(ops, [&](int) { s.data->moveNext(); }));
    report("previous, stored order", rows, measure(ops, [&](int) { s.data->movePrevious(); }));
    report("first / last, alternating", rows, measure(ops, [&](int i) {
               if (i % 2)
                   s.data->moveFirst();
               else
                   s.data->moveLast();
           }));

    const FindTexts byName{QStringLiteral("Name?"), QStringLiteral("Stock Search"),
                           QStringLiteral("Name of stock"), QStringLiteral("not found")};
    report("find by name, found", rows, measure(ops, [&](int i) {
               answer = QStringLiteral("company %1")
                            .arg((qint64(i) * 48271) % rows, 8, 10, QLatin1Char('0'));
               recordFind(s.data, byName);
           }));
    const int before = messages;
    report("find by name, not found", rows, measure(ops, [&](int i) {
               answer = QStringLiteral("Company %1x").arg(i);
               recordFind(s.data, byName);
           }));
    if (messages - before != ops)
        std::fprintf(stderr, "unexpected: %d not-found messages for %d finds\n", messages - before,
                     ops);
    report("next, name order", rows, measure(ops, [&](int) { s.data->moveNext(); }));
    report("previous, name order", rows, measure(ops, [&](int) { s.data->movePrevious(); }));
    s.data->setIndex(QStringLiteral("Ticker Symbol"));
    report(
        "find by ticker, found", rows, measure(ops, [&](int i) {
            answer = QStringLiteral("t%1").arg((qint64(i) * 7) % rows, 7, 16, QLatin1Char('0'));
            recordFind(s.data, {QString(), QString(), QStringLiteral("Ticker Symbol"), QString()});
        }));
    report("edit + next (one save)", rows, measure(200, [&](int i) {
               s.price->setText(QString::number(10 + i % 50));
               s.data->moveNext();
           }));
    s.data->close();
    setDialogHandler(nullptr);
}

// The first opening of this process: prints the milliseconds until the first record is on
// show, and until the file's check and backup are done.
int openFirst(const QString &path)
{
    config::setDatabasePath(path);
    setDialogHandler([](const DialogRequest &) { return DialogReply{}; });
    QElapsedTimer clock;
    clock.start();
    Screen s;
    const bool shown = s.data->open(QStringLiteral("stocks")) && !s.name->text().isEmpty();
    const double firstRecord = double(clock.nsecsElapsed()) / 1e6;
    waitForOpeningChecks();
    std::printf("%.3f %.3f\n", firstRecord, double(clock.nsecsElapsed()) / 1e6);
    return shown ? 0 : 1;
}

// Tells the kernel to drop the file's pages from its cache: the next opening reads the disk.
void dropFromCache(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd >= 0) {
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

int timeFirstOpenings(qint64 rows, int runs)
{
    QTemporaryDir dir;
    const QString sample = dir.filePath(QStringLiteral("sample/cm1.db"));
    const QString large = dir.filePath(QStringLiteral("large/stocks.db"));
    const DbError failure = createDatabase(sample, true);
    if (failure || !QDir().mkpath(dir.filePath(QStringLiteral("large"))) ||
        QProcess::execute(QCoreApplication::applicationFilePath(),
                          {QStringLiteral("--make"), large, QString::number(rows)}) != 0) {
        std::fprintf(stderr, "could not build the files %s\n", qPrintable(failure.message));
        return 1;
    }
    std::printf("%-32s %10s %14s %16s\n", "first opening of a run (ms)", "cache", "first record",
                "check + backup");
    std::vector<double> shownWarm;
    for (const auto &[label, path] :
         {std::pair{"sample market (36 stocks)", sample}, std::pair{"large table", large}}) {
        for (const bool cold : {false, true}) {
            std::vector<double> shown, settled;
            for (int run = 0; run < runs; ++run) {
                QDir(backupFolder(path)).removeRecursively();
                if (cold)
                    dropFromCache(path);
                QProcess child;
                child.start(QCoreApplication::applicationFilePath(),
                            {QStringLiteral("--open-once"), path});
                if (!child.waitForFinished(600000) || child.exitCode() != 0) {
                    std::fprintf(stderr, "the first opening of %s failed\n", qPrintable(path));
                    return 1;
                }
                const QList<QByteArray> times = child.readAllStandardOutput().trimmed().split(' ');
                shown.push_back(times.value(0).toDouble());
                settled.push_back(times.value(1).toDouble());
            }
            std::printf("%-32s %10s %14.1f %16.1f\n",
                        path == large ? qPrintable(QStringLiteral("%1 stocks").arg(rows)) : label,
                        cold ? "dropped" : "warm", median(shown), median(settled));
        }
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--make") == 0) {
        QCoreApplication app(argc, argv);
        return makeTable(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toLongLong());
    }
    const bool child = argc == 3 && qstrcmp(argv[1], "--open-once") == 0;
    if (child || (argc >= 2 && qstrcmp(argv[1], "--first-open") == 0)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        if (child)
            return openFirst(QString::fromLocal8Bit(argv[2]));
        return timeFirstOpenings(argc > 2 ? QByteArray(argv[2]).toLongLong() : 1000000,
                                 argc > 3 ? QByteArray(argv[3]).toInt() : 5);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QList<qint64> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QByteArray(argv[i]).toLongLong();
    if (sizes.isEmpty())
        sizes = {10000, 1000000};

    QTemporaryDir dir;
    QStringList paths;
    for (qint64 rows : sizes) {
        const QString path = dir.filePath(QStringLiteral("stocks-%1.db").arg(rows));
        QElapsedTimer timer;
        timer.start();
        if (QProcess::execute(QCoreApplication::applicationFilePath(),
                              {QStringLiteral("--make"), path, QString::number(rows)}) != 0) {
            std::fprintf(stderr, "could not build the table of %lld rows\n",
                         static_cast<long long>(rows));
            return 1;
        }
        std::printf("built %lld rows in %.1f s (%.0f MiB file)\n", static_cast<long long>(rows),
                    double(timer.elapsed()) / 1000.0,
                    double(QFile(path).size()) / (1024.0 * 1024.0));
        paths << path;
    }

    const int ops = 2000;
    std::printf("\n%-28s %10s %9s %9s %9s %9s\n", "operation (ms)", "rows", "p50", "p99", "max",
                "cpu p99");
    QList<double> rss;
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        runFor(paths[i], sizes[i], ops);
        rss << residentMiB();
        std::printf("%-28s %10lld %9.1f MiB\n\n", "resident memory after",
                    static_cast<long long>(sizes[i]), rss.last());
    }
    for (qsizetype i = 1; i < rss.size(); ++i)
        std::printf("memory growth from %lld to %lld rows: %+.1f MiB\n",
                    static_cast<long long>(sizes[0]), static_cast<long long>(sizes[i]),
                    rss[i] - rss[0]);
    return 0;
}
