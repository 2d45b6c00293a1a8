// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/coresupport.h"

#include "data/store/openingcheck.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QProcess>

namespace vantora::test {

void finishOpeningChecks()
{
    waitForOpeningChecks();
    QCoreApplication::processEvents();
}

QString shown(QString number)
{
    return number.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString databaseTool()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/vantora-db");
}

ToolRun runDatabaseTool(const QStringList &args)
{
    return runProgram(QStringLiteral("vantora-db"), args);
}

ToolRun runProgram(const QString &name, const QStringList &args)
{
    ToolRun run;
    QProcess process;
    process.start(QCoreApplication::applicationDirPath() + QLatin1Char('/') + name, args);
    run.finished = process.waitForFinished(30000);
    run.exitCode = process.exitCode();
    run.output =
        QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return run;
}

} // namespace vantora::test
