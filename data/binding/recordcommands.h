// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace vantora {

class DataControl;

// The texts of one screen's Find command.
struct FindTexts
{
    QString prompt;   // input box prompt
    QString title;    // input box title
    QString index;    // index name, matched without regard to case
    QString notFound; // message when nothing matches (application title, OK only)
};

// Add: "Enter new record, and click left arrow button. " (OK/Cancel, "Add Record"); on OK the
// focus goes to the given control and a new record starts.
void recordAdd(DataControl *data, QWidget *focus);
// Delete: "Do you really want to delete this record" (OK/Cancel, "Delete Record"); on OK the
// record on show is deleted and the first record comes on show.
void recordDelete(DataControl *data);
// Find: asks for the key, sets the index, seeks; not found shows the message and the first
// record in that index's order.
void recordFind(DataControl *data, const FindTexts &texts);

} // namespace vantora
