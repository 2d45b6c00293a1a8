// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

// What the benchmarks share: a large database made fast, and time in milliseconds.
namespace vantora::bench {

// A new database file with the program's empty tables, then the statements run on it in one
// transaction, over a connection of its own; false if any of it fails. The file is on the disk
// when it returns (see settle()).
bool fillNewDatabase(const QString &path, const QStringList &statements);

// Waits until what was written is on the disk, so that the kernel's writing back of a large
// file does not land in the figure measured next.
void settle();

double msSince(const QElapsedTimer &timer);

} // namespace vantora::bench
