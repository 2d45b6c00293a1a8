#pragma once

#include <QString>
#include <QStringList>

class QSqlDatabase;

// The market database file as a whole: creating it with the schema, and checking one.
namespace vantora {

// Creates a new database file with every table and index; with sample rows when asked (a few
// dozen stocks, a dozen analysts, some weeks of index days). Refuses to overwrite an existing
// file. On failure nothing is left behind and *error says why.
bool createDatabase(const QString &path, bool sample, QString *error = nullptr);

// Fills an open, empty database with the sample rows.
bool insertSampleData(QSqlDatabase &db, QString *error = nullptr);

struct CheckReport
{
    bool ok = false;
    QStringList problems; // one line each: a missing table, field or index, a failed check
    QStringList facts;    // row counts and the like, when the file could be read
};

// Whether the file has every table, field and index of the schema and passes SQLite's integrity
// check. Opens the file read-only and never creates it.
CheckReport checkDatabase(const QString &path);

} // namespace vantora
