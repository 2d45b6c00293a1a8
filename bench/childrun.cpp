// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/childrun.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vantora::bench {
namespace {

double secondsOf(const timeval &t)
{
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

} // namespace

Run runChild(const QStringList &command, const QString &output)
{
    std::vector<QByteArray> args;
    for (const QString &arg : command)
        args.push_back(QFile::encodeName(arg));
    std::vector<char *> argv;
    for (QByteArray &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const QByteArray out =
        QFile::encodeName(output.isEmpty() ? QStringLiteral("/dev/null") : output);
    std::fflush(stdout);
    QElapsedTimer clock;
    clock.start();
    const pid_t child = ::fork();
    if (child == 0) {
        const int file = ::open(out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(file, STDOUT_FILENO);
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

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QString sqliteShell()
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty())
        std::fputs("sqlite3 is needed (apt-get install sqlite3)\n", stderr);
    return shell;
}

} // namespace vantora::bench
