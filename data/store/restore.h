// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/store/dberror.h"

#include <QString>

namespace vantora {

// Puts a backup back over the database file, after checking the backup. An existing file is
// overwritten through SQLite in one transaction, which SQLite refuses while another program is
// writing to it; a file too damaged for that is moved aside (<name>.damaged-<time>) and replaced.
// *done says what was restored.
DbError restoreDatabase(const QString &backupPath, const QString &databasePath,
                        QString *done = nullptr);

} // namespace vantora
