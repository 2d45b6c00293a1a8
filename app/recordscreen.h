// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/screen.h"
#include "data/binding/datacontrol.h"
#include "data/binding/recordcommands.h"

#include <QPushButton>
#include <functional>

namespace vantora {

// A screen bound to one table of the market database through its record binding `Data1`: the
// binding opens the table (on its first record) every time the screen loads, and saves the
// record on show when the screen unloads; a save that fails and that the user chooses to keep
// on screen keeps the screen open. The screen binds its controls and wires its record commands
// in connectHandlers().
template <typename Form> class RecordScreen : public FormScreen<Form>
{
protected:
    RecordScreen(const QString &table, const QString &dataCaption)
        : m_table(table)
        , m_dataCaption(dataCaption)
    {
    }

    DataControl *data() const { return this->m_ui->Data1; }

    // The record commands on the screen's buttons: Add gives the focus to `focus`; Find asks
    // `texts` for its prompt, title, index and message at the moment it is clicked.
    void wireAdd(QPushButton *button, QWidget *focus)
    {
        QObject::connect(button, &QPushButton::clicked, this,
                         [this, focus] { recordAdd(data(), focus); });
    }
    void wireDelete(QPushButton *button)
    {
        QObject::connect(button, &QPushButton::clicked, this, [this] { recordDelete(data()); });
    }
    void wireFind(QPushButton *button, std::function<FindTexts()> texts)
    {
        QObject::connect(button, &QPushButton::clicked, this,
                         [this, texts] { recordFind(data(), texts()); });
    }
    void wireFind(QPushButton *button, const FindTexts &texts)
    {
        wireFind(button, [texts] { return texts; });
    }

    void prepareForm() override
    {
        FormScreen<Form>::prepareForm();
        data()->setCaption(m_dataCaption);
        data()->placeInTabOrder();
        data()->open(m_table);
    }
    bool queryUnload() override { return data()->close(); }

private:
    QString m_table;
    QString m_dataCaption;
};

} // namespace vantora
