// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vantora {

// What went wrong in the database, with a message fit for the user (it names the file, the
// table, the field or the index concerned). Returned as a value; the storage layer shows nothing.
// Every storage call that can fail returns one (what it yields besides goes through pointers),
// and converts to true when something went wrong:
//     if (const DbError failure = createDatabase(path, false))
//         show(failure.message);
struct DbError
{
    enum Kind {
        None,
        MissingFile,
        Empty,
        CannotOpen,
        NotADatabase,
        Damaged,
        MissingTable,
        MissingField,
        MissingIndex,
        NoRecord,
        ReadOnly,
        Locked,
        RecordGone,
        Conflict, // the row changed under the screen: nothing was written
        Failed
    };
    Kind kind = None;
    QString message;

    explicit operator bool() const { return kind != None; }
};

} // namespace vantora
