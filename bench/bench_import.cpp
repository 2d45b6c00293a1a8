// SPDX-License-Identifier: GPL-3.0-or-later
// Importing a large CSV file of stocks: vantora-db import-csv against the sqlite3 shell's
// .import of the same rows into the same schema, in one run; wall-clock time, processor time and
// peak resident memory of each. The shell gets a file with every column of the table (the
// folded keys too), so that it has no row to warn about. The floor is SQLite's own bulk load:
// the shell's .import of that file with the indexes dropped first and made again after the rows,
// in one transaction. The memory of vantora-db is also compared with that of a small file, to
// show that it does not grow with the file. Run by hand:
//   build/bin/bench_import [ROWS [SMALL_ROWS]]      (default: 1000000 10000)
// vantora-db is taken from beside this program, sqlite3 from the PATH.

#include "bench/childrun.h"
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

using bench::Run;
using bench::runChild;

// Rows as an export writes them: numbers in their shortest form, texts quoted where needed.
// With `allColumns`, the folded keys follow the fields, as the program would fill them.
bool writeStocks(const QString &path, qint64 rows, bool allColumns = false)
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
                  advice[(i + 1) % 4] + ",Open";
        if (allColumns)
            buffer += ",company " + QByteArray::number((i * 7919) % rows).rightJustified(8, '0') +
                      ",t" +
                      QByteArray::number((i * 104729) % rows, 16).toLower().rightJustified(7, '0');
        buffer += "\r\n";
        if (buffer.size() > (1 << 20)) {
            file.write(buffer);
            buffer.clear();
        }
    }
    file.write(buffer);
    return file.flush();
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

// The statements that drop the table's indexes, and those that make them again.
std::pair<QStringList, QStringList> indexStatements(const QString &path)
{
    QStringList drop, make;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("indexes"));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (db.open() && query.exec(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE "
                                                   "type = 'index' AND tbl_name = 'stocks' AND "
                                                   "sql IS NOT NULL")))
            while (query.next()) {
                drop << QStringLiteral("DROP INDEX %1")
                            .arg(schema::quoted(query.value(0).toString()));
                make << query.value(1).toString();
            }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("indexes"));
    return {drop, make};
}

enum class Tool { Ours, Shell, BulkFloor };

// One import into a fresh database of the full schema.
Run import(Tool tool, const QString &csv, const QString &folder, qint64 rows)
{
    static int counter = 0;
    const QString db = QStringLiteral("%1/import-%2.db").arg(folder, QString::number(++counter));
    if (const DbError failure = createDatabase(db, false)) {
        std::fprintf(stderr, "%s\n", qPrintable(failure.message));
        return {};
    }
    const QString load = QStringLiteral(".import --csv --skip 1 %1 stocks").arg(csv);
    QStringList command;
    if (tool == Tool::Ours) {
        command =
            QStringList{QCoreApplication::applicationDirPath() + QStringLiteral("/vantora-db"),
                        QStringLiteral("import-csv"), db, QStringLiteral("stocks"), csv};
    } else if (tool == Tool::Shell) {
        command = QStringList{QStringLiteral("sqlite3"), db, load};
    } else {
        const auto [drop, make] = indexStatements(db);
        command = QStringList{QStringLiteral("sqlite3"), db, QStringLiteral("BEGIN")} + drop +
                  QStringList{load} + make + QStringList{QStringLiteral("COMMIT")};
    }
    Run run = runChild(command);
    run.ok = run.ok && rowsIn(db) == rows;
    QFile::remove(db);
    return run;
}

void report(const char *who, qint64 rows, const Run &run)
{
    std::printf("%-26s %10lld %10.2f %10.2f %10.1f %10.0f %s\n", who, static_cast<long long>(rows),
                run.seconds, run.cpuSeconds, run.peakMiB, double(rows) / run.seconds,
                run.ok ? "" : "FAILED");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const qint64 rows = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1000000;
    const qint64 small = argc > 2 ? QByteArray(argv[2]).toLongLong() : 10000;
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("stocks.csv"));
    const QString bigAll = dir.filePath(QStringLiteral("stocks-all-columns.csv"));
    const QString little = dir.filePath(QStringLiteral("stocks-small.csv"));
    if (!writeStocks(big, rows) || !writeStocks(bigAll, rows, true) ||
        !writeStocks(little, small)) {
        std::fprintf(stderr, "could not write the CSV files\n");
        return 1;
    }
    std::printf("%lld rows: %.0f MiB of CSV\n\n", static_cast<long long>(rows),
                double(QFile(big).size()) / (1024.0 * 1024.0));
    std::printf("%-26s %10s %10s %10s %10s %10s\n", "import", "rows", "wall s", "cpu s", "peak MiB",
                "rows/s");
    const Run floor = import(Tool::BulkFloor, bigAll, dir.path(), rows);
    report("floor: SQLite bulk load", rows, floor);
    const Run shell = import(Tool::Shell, bigAll, dir.path(), rows);
    report("sqlite3 .import", rows, shell);
    const Run ours = import(Tool::Ours, big, dir.path(), rows);
    report("vantora-db import-csv", rows, ours);
    const Run ourSmall = import(Tool::Ours, little, dir.path(), small);
    report("vantora-db import-csv", small, ourSmall);
    if (!floor.ok || !shell.ok || !ours.ok || !ourSmall.ok)
        return 1;
    std::printf("\nagainst the sqlite3 shell: %.2fx wall clock, %.2fx processor time\n",
                ours.seconds / shell.seconds, ours.cpuSeconds / shell.cpuSeconds);
    std::printf("against SQLite's bulk load: %.2fx wall clock, %.2fx processor time\n",
                ours.seconds / floor.seconds, ours.cpuSeconds / floor.cpuSeconds);
    std::printf("peak memory of vantora-db, %lld rows against %lld: %.2fx\n",
                static_cast<long long>(rows), static_cast<long long>(small),
                ours.peakMiB / ourSmall.peakMiB);
    return 0;
}
