// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Form4.h"

#include "app/navigation.h"

#include <QLayout>

namespace vantora {

void Form4::connectHandlers()
{
    connect(m_ui->Command1, &QPushButton::clicked, this, &Form4::Command1_Click);
    // The panel has the form's size; a longer text (another language's) makes it taller instead
    // of being cut.
    QWidget *panel = m_ui->content;
    panel->ensurePolished();
    const int needed = panel->layout()->totalHeightForWidth(panel->width());
    if (needed > panel->height()) {
        panel->resize(panel->width(), needed);
        window()->setMinimumHeight(needed);
        window()->resize(window()->width(), needed);
    }
}

void Form4::Command1_Click()
{
    goHome(this);
}

} // namespace vantora
