// SPDX-License-Identifier: GPL-3.0-or-later
// The ledger on 10,000 trades of 400 stocks and 1,000,000 days of their prices (and the
// S&P 500's): `vantora-db returns`, the same report in the process, the trades window opened on
// all stocks and on one, and the holdings overview with its trade columns. Run by hand:
//   build/bin/bench_trades [RUNS [FILE]]   (default: 5 runs, medians printed; FILE keeps the
//                                          database, made anew, for a look afterwards)

#include "app/registry.h"
#include "app/screen.h"
#include "bench/benchsupport.h"
#include "common/config.h"
#include "common/dialogs.h"
#include "data/exchange/returns.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <sys/resource.h>
#include <vector>

using namespace vantora;
using bench::msSince;

namespace {

constexpr int kStocks = 400;
constexpr int kDays = 2500;
constexpr int kTradesEach = 25;

// Each stock: buys of 10 with a sale of 5 every fifth trade and a dividend every seventh, 100
// days apart, so that no sale sells more than is held.
bool fill(const QString &path)
{
    const QString days =
        QStringLiteral("WITH RECURSIVE d(x) AS (SELECT 0 UNION ALL SELECT x + 1 FROM d LIMIT %1), "
                       "s(t) AS (SELECT 0 UNION ALL SELECT t + 1 FROM s LIMIT %2) ")
            .arg(kDays)
            .arg(kStocks);
    return bench::fillNewDatabase(
        path,
        {days + QStringLiteral("INSERT INTO Prices (\"Ticker Symbol\", \"Date\", \"Close\") "
                               "SELECT printf('T%03d', t), date('2016-01-04', '+' || x || ' "
                               "days'), 10 + ((t * 31 + x * 7) % 500) / 10.0 + x * 0.01 FROM s, "
                               "d"),
         days + QStringLiteral("INSERT INTO Prices (\"Ticker Symbol\", \"Date\", "
                               "\"Close\") SELECT '^GSPC', date('2016-01-04', '+' || "
                               "x || ' days'), 2000 + x FROM d"),
         days + QStringLiteral("INSERT INTO stocks (\"Name of Stock\", \"Ticker Symbol\", "
                               "\"Current Price\") SELECT printf('Stock %03d', t), printf('T%03d', "
                               "t), 20 FROM s"),
         QStringLiteral("WITH RECURSIVE k(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM k LIMIT "
                        "%1), s(t) AS (SELECT 0 UNION ALL SELECT t + 1 FROM s LIMIT %2) "
                        "INSERT INTO Trades (\"Ticker Symbol\", \"Date\", \"Action\", "
                        "\"Shares\", \"Price\", \"Fees\") SELECT printf('T%03d', t), "
                        "date('2016-01-04', '+' || (n * 100 + t % 97) || ' days'), CASE WHEN n "
                        "% 5 = 4 THEN 'Sell' WHEN n % 7 = 6 THEN 'Dividend' ELSE 'Buy' END, CASE "
                        "WHEN n % 5 = 4 THEN 5 WHEN n % 7 = 6 THEN NULL ELSE 10 END, 10 + n, CASE "
                        "WHEN n % 7 = 6 AND n % 5 <> 4 THEN NULL ELSE 1 END FROM s, k")
             .arg(kTradesEach)
             .arg(kStocks)});
}

// On a machine shared with other work, the processor time tells what an operation itself
// costs: this process's, or that of the programs it ran.
double cpuMs(bool children)
{
    if (children) {
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        return (double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3);
    }
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Times
{
    double wall = 0, cpu = 0; // medians, in ms
};

Times median(int runs, const std::function<void()> &work, bool children = false)
{
    std::vector<double> walls, cpus;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        const double cpu = cpuMs(children);
        timer.start();
        work();
        walls.push_back(msSince(timer));
        cpus.push_back(cpuMs(children) - cpu);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return {walls[walls.size() / 2], cpus[cpus.size() / 2]};
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 5;

    QTemporaryDir dir;
    const QString path =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.filePath(QStringLiteral("trades.db"));
    QFile::remove(path);
    QElapsedTimer timer;
    timer.start();
    if (!fill(path)) {
        std::fprintf(stderr, "could not build the ledger\n");
        return 1;
    }
    std::printf("built %d trades of %d stocks and %d price rows in %.1f s\n", kStocks * kTradesEach,
                kStocks, (kStocks + 1) * kDays, msSince(timer) / 1000);

    const QString tool =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vantora-db"));
    QByteArray lastLine;
    const Times command = median(
        runs,
        [&] {
            QProcess process;
            process.start(tool, {QStringLiteral("returns"), path});
            process.waitForFinished(60000);
            const QList<QByteArray> lines = process.readAllStandardOutput().trimmed().split('\n');
            lastLine = lines.constLast();
        },
        true);
    std::printf("vantora-db returns (the whole process), median of %d: %.1f ms, %.1f ms of "
                "processor time\n  %s\n",
                runs, command.wall, command.cpu, lastLine.constData());

    prices::ReturnsReport report;
    const Times inProcess = median(runs, [&] { prices::computeReturns(path, {}, {}, &report); });
    std::printf("the report in the process, median of %d: %.1f ms, %.1f ms of processor time "
                "(%lld lines)\n",
                runs, inProcess.wall, inProcess.cpu,
                static_cast<long long>(report.stocks.size() + 1));

    config::setDatabasePath(path);
    setDialogHandler([](const DialogRequest &request) {
        std::fprintf(stderr, "message: %s\n", qPrintable(request.text));
        return DialogReply{AnswerOk, QString()};
    });
    Screen *trades = ScreenRegistry::get(QStringLiteral("frmTrades"));
    const auto open = [&](Screen *screen) {
        screen->unload();
        screen->show();
        QApplication::processEvents();
        screen->window()->repaint();
    };
    timer.start();
    open(trades);
    std::printf("trades window, first open of the run (its check and backup too): %.1f ms\n",
                msSince(timer));
    const Times window = median(runs, [&] { open(trades); });
    std::printf("trades window on all stocks, to painted, median of %d: %.1f ms, %.1f ms of "
                "processor time (%d rows)\n",
                runs, window.wall, window.cpu,
                trades->window()->findChild<QTableView *>()->model()->rowCount());
    auto *box = trades->window()->findChild<QComboBox *>(QStringLiteral("cboStock"));
    int next = 1;
    const Times oneStock = median(runs, [&] {
        box->setCurrentIndex(next++ % box->count());
        trades->window()->repaint();
    });
    std::printf("trades window, choosing one stock, median of %d: %.1f ms, %.1f ms of processor "
                "time\n",
                runs, oneStock.wall, oneStock.cpu);
    trades->unload();

    Screen *holdings = ScreenRegistry::get(QStringLiteral("frmHoldings"));
    const Times overview = median(runs, [&] { open(holdings); });
    std::printf("holdings overview with the trades' columns, median of %d: %.1f ms, %.1f ms of "
                "processor time\n",
                runs, overview.wall, overview.cpu);
    holdings->unload();
    return 0;
}
