// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Form4.h"

#include "app/navigation.h"

namespace vantora {

void Form4::connectHandlers()
{
    connect(m_ui->Command1, &QPushButton::clicked, this, &Form4::Command1_Click);
}

void Form4::Command1_Click()
{
    goHome(this);
}

} // namespace vantora
