// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/binding/recordcommands.h"

#include "common/dialogs.h"
#include "data/binding/datacontrol.h"

#include <QWidget>

namespace vantora {

void recordAdd(DataControl *data, QWidget *focus)
{
    if (msgBox(QStringLiteral("Enter new record, and click left arrow button. "), OkCancel,
               QStringLiteral("Add Record")) != AnswerOk)
        return;
    if (focus)
        focus->setFocus(Qt::OtherFocusReason);
    data->addNew();
}

void recordDelete(DataControl *data)
{
    if (msgBox(QStringLiteral("Do you really want to delete this record"), OkCancel,
               QStringLiteral("Delete Record")) != AnswerOk)
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
