// SPDX-License-Identifier: GPL-3.0-or-later
// The holdings overview on a large stocks table: how long the screen takes to show its first
// rows, each scroll to another part of the table, and each sort, as a click on the column's
// header sorts (once), with the memory it takes. Beside each sort its floor: the same keys,
// read into memory beforehand, sorted there alone. Run by hand:
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
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <unistd.h>
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

// Resident memory now, in MiB.
double residentMiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The floor of a sort: the keys of the rows on show, read beforehand, sorted in memory alone.
// Numbers with their row ids; names case-folded (as ASCII: the bench's names are), as texts.
std::pair<double, double> floorMs(const QString &path, int column, Qt::SortOrder order)
{
    std::vector<std::pair<double, qint64>> numbers;
    std::vector<std::pair<std::string, qint64>> texts;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("floor"));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        query.setForwardOnly(true);
        const QString key = column == HoldingsModel::Name
                                ? QStringLiteral("\"Name of Stock\"")
                                : QStringLiteral("\"Shares Owned\" * \"Current Price\"");
        if (db.open() && query.exec(QStringLiteral("SELECT rowid, %1 FROM stocks WHERE \"Shares "
                                                   "Owned\" <> 0")
                                        .arg(key)))
            while (query.next()) {
                if (column == HoldingsModel::Name)
                    texts.emplace_back(query.value(1).toString().toLower().toStdString(),
                                       query.value(0).toLongLong());
                else
                    numbers.emplace_back(query.value(1).toDouble(), query.value(0).toLongLong());
            }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("floor"));
    QElapsedTimer timer;
    timer.start();
    const double cpu = cpuMs();
    const bool up = order == Qt::AscendingOrder;
    if (column == HoldingsModel::Name)
        std::sort(texts.begin(), texts.end(), [up](const auto &a, const auto &b) {
            return a.first != b.first ? (up ? a.first < b.first : a.first > b.first)
                                      : a.second < b.second;
        });
    else
        std::sort(numbers.begin(), numbers.end(), [up](const auto &a, const auto &b) {
            return a.first != b.first ? (up ? a.first < b.first : a.first > b.first)
                                      : a.second < b.second;
        });
    return {msSince(timer), cpuMs() - cpu};
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
        bench::settle(); // the backup that the first opening wrote
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

    // A click on a header sorts once; QTableView::sortByColumn would sort twice.
    int sortsDone = 0;
    QObject::connect(model, &QAbstractItemModel::layoutChanged, [&] { ++sortsDone; });
    const std::pair<int, const char *> sorts[] = {{HoldingsModel::Name, "name"},
                                                  {HoldingsModel::Value, "value"},
                                                  {HoldingsModel::ProfitLoss, "profit/loss"},
                                                  {HoldingsModel::PriceEarnings, "P/E"}};
    const double before = residentMiB();
    double most = before;
    for (const auto &[column, name] : sorts)
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            const int done = sortsDone;
            const double cpu = cpuMs();
            timer.start();
            grid->horizontalHeader()->setSortIndicator(column, order);
            paintRows(grid);
            const double ms = msSince(timer), cpuSpent = cpuMs() - cpu;
            most = std::max(most, residentMiB());
            const bool numbers = column != HoldingsModel::Name;
            const auto [floor, floorCpu] =
                column == HoldingsModel::Name || column == HoldingsModel::Value
                    ? floorMs(path, column, order)
                    : std::pair<double, double>{-1, -1};
            std::printf("sort by %s, %s: %.0f ms (%.0f ms of processor time, %d sort%s)", name,
                        order == Qt::AscendingOrder ? "up" : "down", ms, cpuSpent, sortsDone - done,
                        sortsDone - done == 1 ? "" : "s");
            if (floor >= 0)
                std::printf("; floor, %s sorted in memory: %.0f ms (%.0f ms of processor time), "
                            "ratio %.1f (processor time %.1f)",
                            numbers ? "numbers" : "names", floor, floorCpu, ms / floor,
                            cpuSpent / floorCpu);
            std::printf("\n");
        }
    std::printf("resident memory: %.1f MiB before the sorts, at most %.1f MiB after one (+%.1f "
                "MiB)\n",
                before, most, most - before);
    screen->unload();
    return 0;
}
