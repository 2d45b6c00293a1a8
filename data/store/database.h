// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/store/dberror.h"

#include <QString>
#include <QStringList>
#include <atomic>

class QSqlDatabase;

// The market database file as a whole: creating it with the schema, and checking one.
namespace vantora {

// Creates a new database file with every table and index; with sample rows when asked (a few
// dozen stocks, a dozen analysts, some weeks of index days). Refuses to overwrite an existing
// file. On failure nothing is left behind and the error says why.
DbError createDatabase(const QString &path, bool sample);

// Fills an open, empty database with the sample rows.
DbError insertSampleData(QSqlDatabase &db);

struct CheckReport
{
    enum Verdict {
        Usable,        // every table, field and index there, and the check passed
        Unreadable,    // missing, or could not be opened or read (no permission)
        Busy,          // another program holds the file locked; nothing is known of it
        Empty,         // a file of no bytes, or a database without a single table
        NotADatabase,  // SQLite does not take the file for a database
        Damaged,       // the engine's check failed, or the engine met corrupt pages
        SchemaProblems // a table, field or index is missing; the file itself is sound
    };
    bool ok = false;
    Verdict verdict = Unreadable;
    QStringList problems; // one line each: a missing table, field or index, a failed check
    QStringList facts;    // row counts and the like, when the file could be read
    int version = 0;      // the file's schema version, when it could be read
};

enum class CheckDepth {
    Full, // SQLite's integrity check: every page, every index entry
    Quick // SQLite's quick check: every page, without matching indexes to their tables
};

// Whether the file has every table, field and index of the schema and passes SQLite's integrity
// (or quick) check. Never creates the file. A file that may be written is opened read-write, so
// that a transaction a crash left unfinished is rolled back before checking, as any program
// opening it would; otherwise it is opened read-only. Setting *stop ends a long check early
// (as unreadable).
CheckReport checkDatabase(const QString &path, CheckDepth depth = CheckDepth::Full,
                          const std::atomic_bool *stop = nullptr);

// A database file with no table at all: what SQLite makes of a file of no bytes.
bool holdsNoTables(QSqlDatabase &db);
// What every message says of such a file.
QString emptyFileText(const QString &path);

} // namespace vantora
