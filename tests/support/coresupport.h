// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QTest>

// What the tests of the libraries below the widgets share: no Qt Widgets here.
namespace vantora::test {

// Lets the checks and backups of the files opened so far finish, and delivers what they report.
void finishOpeningChecks();

// A number as the screens write it: with the system's decimal separator.
QString shown(QString number);

// A file's bytes; empty when it cannot be read.
QByteArray fileContents(const QString &path);

// One run of the database tool (vantora-db, beside the test): whether it finished within 30 s,
// its exit code, and its standard output followed by its standard error.
struct ToolRun
{
    bool finished = false;
    int exitCode = -1;
    QString output;
};
QString databaseTool();
ToolRun runDatabaseTool(const QStringList &args);
// The same for a program beside the test ("vantora").
ToolRun runProgram(const QString &name, const QStringList &args);

} // namespace vantora::test

// main() of a test of the libraries below the widgets: a QCoreApplication.
#define VANTORA_CORE_TEST_MAIN(TestObject)                                                         \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QCoreApplication app(argc, argv);                                                          \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
