// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Form6.h"

#include "app/navigation.h"

namespace vantora {

QString Form6::disclaimer()
{
    return tr("Disclaimer :") + QString(51, QLatin1Char(' ')) +
           tr("We will not be responsible for any losses or profits that come from use "
              "of this product, be advised that the program is not always accurate "
              "but will maintain 89.4% accuracy as a Guarantee, use in moderation !!!");
}

void Form6::connectHandlers()
{
    m_ui->Label1->setText(disclaimer());
    connect(m_ui->Command1, &QPushButton::clicked, this, &Form6::Command1_Click);
}

void Form6::Command1_Click()
{
    goHome(this);
}

} // namespace vantora
