// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

namespace vantora {

namespace schema {
struct Table;
}

// Fills the empty case-folded keys of a table (rows another program wrote or changed, rows of a
// file from before the folded keys), inside the caller's transaction or in one of its own. A
// file whose table has no folded columns is left alone. The table is named as the file spells
// it or as the schema does.
QSqlError fillFoldedKeys(QSqlDatabase &db, const QString &table);

// Whether the table has rows whose folded key is still to be filled.
bool hasEmptyFoldedKeys(QSqlDatabase &db, const QString &table);

// Gives a table of an older file its folded keys: the columns it lacks, their indexes and
// triggers, and the keys filled. Inside the caller's transaction.
QSqlError addFoldedKeys(QSqlDatabase &db, const schema::Table &table);

} // namespace vantora
