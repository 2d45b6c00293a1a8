// SPDX-License-Identifier: GPL-3.0-or-later
// The writer that the crash-safety test kills at random moments: it adds analysts one by one
// through the program's own record set, updates each once more in a second transaction, and
// prints a record's number only after both saves have returned.
//
// usage: crashwriter DATABASE FIRST-NUMBER

#include "data/store/tablecursor.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

// Long enough that a record spans more than one database page.
QString picksFor(qint64 number)
{
    return QStringLiteral("picks of %1 ").arg(number).repeated(300);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fputs("usage: crashwriter DATABASE FIRST-NUMBER\n", stderr);
        return 2;
    }
    vantora::TableCursor cursor;
    if (const vantora::DbError error = cursor.open(args[1], QStringLiteral("Analyst"))) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message));
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    for (qint64 number = args[2].toLongLong();; ++number) {
        cursor.addNew();
        cursor.setValue(QStringLiteral("Analyst's Name"), QStringLiteral("writer %1").arg(number));
        cursor.setValue(QStringLiteral("Stock Picks"), picksFor(number));
        vantora::DbError error = cursor.save();
        if (!error) {
            cursor.setValue(QStringLiteral("Credibility"),
                            QStringLiteral("checked %1").arg(number));
            error = cursor.save();
        }
        if (error) {
            std::fprintf(stderr, "%s\n", qPrintable(error.message));
            return 1;
        }
        std::printf("%lld\n", static_cast<long long>(number));
        std::fflush(stdout);
    }
}
