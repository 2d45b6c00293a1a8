// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/store/values.h"

#include <QList>
#include <QString>
#include <QStringList>

// The market database's tables, fields and indexes, described once.
namespace vantora::schema {

struct Field
{
    QString name;
    FieldKind kind = FieldKind::Text;
    bool rowKey = false; // the table's integer key: SQLite's row id under a name of its own
};

struct Index
{
    QString name;
    QString field;
    bool noCase = true;  // text keys compare without regard to case
    QString secondField; // the second key, for an index on two fields
    bool unique = false;
};

// Find compares text keys without regard to case for every letter Unicode gives a case to;
// SQLite's NOCASE folds A to Z only, and a collation of this program's own would make the file
// unreadable for other SQLite tools. So beside each text key that Find seeks on, the table keeps
// the key case-folded by the program, in a column of its own with an index of its own. A trigger
// empties that column when another program changes the key; the program fills empty ones again
// (fillFoldedKeys), and until then Find compares those rows' keys with NOCASE.
struct FoldedKey
{
    QString field;   // the key, as the schema spells it
    QString column;  // "<field> (folded)"; its index has the same name
    QString trigger; // empties the column when the key changes
};

struct Table
{
    QString name;
    QList<Field> fields;
    QList<Index> indexes;
    int since = 1;               // the schema version that brought the table
    QList<FoldedKey> foldedKeys; // one for each field of a one-field text index
};

// The version of the schema this program writes, kept in SQLite's user_version. A file of an
// older version gets what later versions added at its first opening (after its backup).
inline constexpr int kSchemaVersion = 4;
// The version that brought the case-folded keys.
inline constexpr int kFoldedKeysSince = 3;

const QList<Table> &tables();
// Lookups ignore case, as the engine does for table, field and index names.
const Table *findTable(QStringView name);
const Field *findField(const Table &table, QStringView name);
// The kind of a field; Text for a table or field this program does not know.
FieldKind fieldKind(QStringView table, QStringView field);

// The statements that create every table and index that came after the given schema version
// (all of them for 0), ending with the one that records the current version. A table created
// here has its folded keys; an older file's tables get theirs through foldedKeyStatements.
QStringList createStatements(int afterVersion = 0);

// The folded key of a table's field, found without regard to case; nullptr if it has none.
const FoldedKey *findFoldedKey(QStringView table, QStringView field);
bool isFoldedColumn(QStringView table, QStringView column);
// The index and the trigger of a table's folded keys, made only where missing (the columns
// themselves come with CREATE TABLE, or ALTER TABLE for an older file).
QStringList foldedKeyStatements(const Table &table);
// The key as the folded column holds it: Unicode's full case folding of it, never null.
QString foldedText(const QString &key);
// A name as an SQL identifier: "Buy\Target Price", "Analyst's Name" and the like.
QString quoted(QStringView name);
} // namespace vantora::schema
