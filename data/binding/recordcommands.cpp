// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/binding/recordcommands.h"

#include "common/dialogs.h"
#include "data/binding/datacontrol.h"

#include <QCoreApplication>
#include <QWidget>

namespace vantora {
namespace {

struct RecordTexts
{
    Q_DECLARE_TR_FUNCTIONS(RecordCommands)
};

} // namespace

void recordAdd(DataControl *data, QWidget *focus)
{
    if (msgBox(RecordTexts::tr("Enter new record, and click left arrow button. "), OkCancel,
               RecordTexts::tr("Add Record")) != AnswerOk)
        return;
    if (focus)
        focus->setFocus(Qt::OtherFocusReason);
    data->addNew();
}

void recordDelete(DataControl *data)
{
    if (msgBox(RecordTexts::tr("Do you really want to delete this record"), OkCancel,
               RecordTexts::tr("Delete Record")) != AnswerOk)
        return;
    data->deleteCurrent();
}

void recordFind(DataControl *data, const FindTexts &texts)
{
    // A cancelled input box gives the empty text, which is sought like any other.
    const QString key = inputBox(texts.prompt, texts.title);
    if (!data->setIndex(texts.index))
        return;
    if (!data->seek(key))
        return;
    if (data->noMatch()) {
        msgBox(texts.notFound);
        data->moveFirst();
    }
}

} // namespace vantora
