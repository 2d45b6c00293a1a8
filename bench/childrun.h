// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// What the benchmarks that time other programs share: a run of a child process, and medians.
namespace vantora::bench {

struct Run
{
    bool ok = false;
    double seconds = 0;    // wall clock
    double cpuSeconds = 0; // user and system time of the child
    double peakMiB = 0;    // its peak resident memory
};

// Runs a program with its output sent to a file, or nowhere (what the tools say of their
// success would only get in the way of the table).
Run runChild(const QStringList &command, const QString &output = QString());

double median(std::vector<double> values);

// The sqlite3 shell, the floor the benchmarks measure against; empty, and said, when missing.
QString sqliteShell();

} // namespace vantora::bench
