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

// The folded keys hold the case folding of one Unicode version, which the file records beside
// them (in a table of its own, outside the schema's): ICU of a later version may fold some
// letters otherwise, and Find would then miss keys folded before.
// The version the file records; empty when it records none (a file from before the record).
QString foldedKeysVersion(QSqlDatabase &db);
// Whether the file's folded keys may differ from what this program folds: a file with folded
// keys that records no version, or another one than caseFoldingVersion().
bool foldedKeysOutdated(QSqlDatabase &db);
// The statements that record this program's version beside the folded keys.
QStringList recordFoldingStatements();
// Folds every key of every table again, and records the version. Inside the caller's
// transaction.
QSqlError refoldKeys(QSqlDatabase &db);

} // namespace vantora
