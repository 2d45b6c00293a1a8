// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Form5.h"

#include "app/navigation.h"

namespace vantora {

void Form5::connectHandlers()
{
    connect(m_ui->Command1, &QPushButton::clicked, this, &Form5::Command1_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &Form5::Command2_Click);
}

void Form5::Command1_Click()
{
    navigate(this, QStringLiteral("Form3"));
}

void Form5::Command2_Click()
{
    goHome(this);
}

} // namespace vantora
