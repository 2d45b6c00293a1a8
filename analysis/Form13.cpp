// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/Form13.h"

#include "app/navigation.h"

namespace vantora {

Form13::Form13()
    : RecordScreen(QStringLiteral("Analyst"), tr("Data1"))
{
}

void Form13::connectHandlers()
{
    DataControl *data = this->data();
    data->bind(m_ui->Text1, QStringLiteral("Analyst's Name"));
    data->bind(m_ui->Text2, QStringLiteral("Stock Picks"));
    data->bind(m_ui->Text3, QStringLiteral("Market Outlook"));
    data->bind(m_ui->Text4, QStringLiteral("Credibility"));

    connect(m_ui->Command1, &QPushButton::clicked, this, &Form13::Command1_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &Form13::Command2_Click);
    wireFind(m_ui->Command3, FindTexts{tr("Enter the full (complete) name of the Analyst "),
                                       tr("Analyst's Search"), QStringLiteral("Analyst's Name"),
                                       tr("Sorry, I couldn't find this analyst. ")});
    wireAdd(m_ui->Command4, m_ui->Text1);
}

void Form13::Command1_Click()
{
    // Nothing is carried over: the portfolio opens on its own first stock.
    navigate(this, QStringLiteral("Form12"));
}

void Form13::Command2_Click()
{
    goHome(this);
}

} // namespace vantora
