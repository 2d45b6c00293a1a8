// SPDX-License-Identifier: GPL-3.0-or-later
// The holdings overview on a large stocks table: how long the screen takes to show its first
// rows, each scroll to another part of the table, and each sort. Run by hand:
//   build/bin/bench_holdings [ROWS]        (default: 1000000)

#include "analysis/holdingsmodel.h"
#include "app/registry.h"
#include "app/screen.h"
#include "bench/benchsupport.h"
#include "common/config.h"
#include "common/dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace vantora;
using bench::msSince;

namespace {

// Figures spread so that no column sorts in stored order; one stock in five has no shares.
bool fillStocks(const QString &path, qint64 rows)
{
    return bench::fillNewDatabase(
        path, {QStringLiteral(
                   "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n LIMIT %1) "
                   "INSERT INTO stocks (\"Name of Stock\", \"Ticker Symbol\", \"Current Price\", "
                   "\"Purchase Price\", \"Next Years Earnings\", \"Shares Owned\", \"Advice\", "
                   "\"Overall Rating\") SELECT printf('Holding %08d', (x * 7919) % %1), "
                   "printf('H%07X', (x * 104729) % %1), 5 + (x * 31 % 9973) / 10.0, "
                   "4 + (x * 17 % 9967) / 10.0, (x % 13) - 2, x % 5 * 25, 'Buy', x % 10 FROM n")
                   .arg(rows)});
}

// On a machine shared with other work, the processor time of this thread tells what an
// operation itself costs.
double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Paints the rows on show, so that the time includes reading them.
void paintRows(QTableView *grid)
{
    grid->viewport()->repaint();
    QApplication::processEvents();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    const qint64 rows = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1000000;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("holdings.db"));
    QElapsedTimer timer;
    timer.start();
    if (!fillStocks(path, rows)) {
        std::fprintf(stderr, "could not build the table of %lld stocks\n",
                     static_cast<long long>(rows));
        return 1;
    }
    std::printf("built %lld stocks in %.1f s\n", static_cast<long long>(rows),
                msSince(timer) / 1000);
    config::setDatabasePath(path);
    setDialogHandler([](const DialogRequest &request) {
        std::fprintf(stderr, "message: %s\n", qPrintable(request.text));
        return DialogReply{AnswerOk, QString()};
    });

    {
        HoldingsModel alone;
        timer.start();
        alone.open(path);
        std::printf("order and totals alone: %.1f ms\n", msSince(timer));
    }
    // The first screen of a run that opens the file checks it and backs it up first.
    Screen *screen = ScreenRegistry::get(QStringLiteral("frmHoldings"));
    QTableView *grid = nullptr;
    for (const char *what : {"first open of the run, with its check and backup", "open"}) {
        screen->unload();
        timer.start();
        screen->show();
        grid = screen->window()->findChild<QTableView *>(QStringLiteral("grdHoldings"));
        paintRows(grid);
        std::printf("%s, to first rows: %.1f ms\n", what, msSince(timer));
    }
    auto *model = qobject_cast<HoldingsModel *>(grid->model());
    std::printf("%d rows shown, %lld read\n", model->rowCount(),
                static_cast<long long>(model->rowsRead()));

    // Jumps far apart, as dragging the scroll bar does, and steps of a page.
    QScrollBar *bar = grid->verticalScrollBar();
    std::vector<double> scrolls;
    for (int i = 0; i < 400; ++i) {
        const int to = i % 2 ? (bar->value() + bar->pageStep()) % (bar->maximum() + 1)
                             : int((qint64(i) * 48271) % (bar->maximum() + 1));
        timer.start();
        bar->setValue(to);
        paintRows(grid);
        scrolls.push_back(msSince(timer));
    }
    std::sort(scrolls.begin(), scrolls.end());
    std::printf("scroll (400 moves): median %.2f ms, p99 %.2f ms, max %.2f ms (%lld rows read)\n",
                scrolls[scrolls.size() / 2], scrolls[scrolls.size() * 99 / 100], scrolls.back(),
                static_cast<long long>(model->rowsRead()));

    const std::pair<int, const char *> sorts[] = {{HoldingsModel::Name, "name"},
                                                  {HoldingsModel::Value, "value"},
                                                  {HoldingsModel::ProfitLoss, "profit/loss"},
                                                  {HoldingsModel::PriceEarnings, "P/E"}};
    for (const auto &[column, name] : sorts)
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            const double cpu = cpuMs();
            timer.start();
            grid->sortByColumn(column, order);
            paintRows(grid);
            std::printf("sort by %s, %s: %.0f ms (%.0f ms of processor time)\n", name,
                        order == Qt::AscendingOrder ? "up" : "down", msSince(timer), cpuMs() - cpu);
        }
    screen->unload();
    return 0;
}
