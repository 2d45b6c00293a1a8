// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/store/connection.h"

#include <QString>

namespace vantora {

// Brings a file of an older schema version up to this program's (schema::kSchemaVersion): the
// tables and indexes that later versions brought are created (and the case-folded keys of the
// tables it has, filled), and the version is recorded, in one transaction. A file of this version
// or a newer one is left alone. *added names what was added, if anything.
DbError upgradeSchema(const QString &path, QString *added = nullptr);

} // namespace vantora
