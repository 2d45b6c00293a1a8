// SPDX-License-Identifier: GPL-3.0-or-later
#include "planners/Form2.h"

#include "app/navigation.h"
#include "common/dialogs.h"
#include "common/numbers.h"
#include "planners/advice.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vantora {

Form2::Form2()
    : RecordScreen(QStringLiteral("stocks"), tr("I^P"))
{
}

void Form2::connectHandlers()
{
    using Mode = DataControl::Mode;
    DataControl *data = this->data();
    data->bind(m_ui->Text4, QStringLiteral("Name of Stock"));
    data->bind(m_ui->Text5, QStringLiteral("Ticker Symbol"));
    data->bind(m_ui->Text6, QStringLiteral("Shares Owned"));
    data->bind(m_ui->Text7, QStringLiteral("Current Price"));
    data->bind(m_ui->Text1, QStringLiteral("Money"));
    data->bind(m_ui->Label15, QStringLiteral("Predicted Price"), Mode::DisplayOnly);
    data->bind(m_ui->Label12, QStringLiteral("52 Wk Lo"), Mode::DisplayOnly);
    data->bind(m_ui->Label2, QStringLiteral("52 Wk Hi"), Mode::DisplayOnly);
    data->bind(m_ui->Label18, QStringLiteral("Status"), Mode::DisplayOnly);
    // The advice that Calculate writes is stored with the record when the user leaves it.
    data->bind(m_ui->Label10, QStringLiteral("Advice"));

    connect(m_ui->Text7, &QLineEdit::textChanged, this, &Form2::Text7_Change);
    connect(data, &DataControl::recordShown, this, &Form2::recordShown);
    connect(m_ui->Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
    connect(m_ui->Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
    connect(m_ui->Command4, &QPushButton::clicked, this, &Form2::Command4_Click);
    wireFind(m_ui->Command5,
             FindTexts{tr("Enter the full(complete) ticker symbol of the company. "),
                       tr("Stock Search"), QStringLiteral("Ticker_Symbol"),
                       tr("Sorry, I couldn't find your stock. ")});
    wireAdd(m_ui->Command6, m_ui->Text1);
}

void Form2::recordShown()
{
    // The binding may fill the price before the shares, and a price equal to the last record's
    // raises no change at all; once the whole record is in, the value must match it. Until a
    // price has ever come on show the value stays empty.
    if (!m_ui->Label17->text().isEmpty())
        Text7_Change();
}

void Form2::Text7_Change()
{
    const Checked value =
        shareValue(parseNumber(m_ui->Text6->text()), parseNumber(m_ui->Text7->text()));
    // A product too large for a number shows nothing rather than a stale value.
    m_ui->Label17->setText(value.ok() ? formatNumber(value.value) : QString());
}

void Form2::Command1_Click()
{
    goHome(this);
}

void Form2::Command2_Click()
{
    msgBox(tr("Are you sure you want to buy this stock? "), OkCancel, tr("Buy Stock"));
}

void Form2::Command3_Click()
{
    msgBox(tr("Are you sure you want to sell this stock? "), OkCancel, tr("Sell Shares"));
}

void Form2::Command4_Click()
{
    // Only the caption "0" itself means no prediction; an empty one reads as 0 and is advised.
    const QString predicted = m_ui->Label15->text();
    if (predicted == QLatin1String("0")) {
        msgBox(tr("Sorry, There is no advice at the given time"));
        // Stored with the stock, as the advice is: not translated.
        m_ui->Label10->setText(QStringLiteral("No advice"));
        return;
    }

    // Each test that holds shows its message, then sets the advice.
    const QList<Advice> given = adviseOn(parseNumber(predicted), parseNumber(m_ui->Text7->text()),
                                         parseNumber(m_ui->Label2->text()));
    for (const Advice advice : given) {
        msgBox(adviceMessage(advice));
        m_ui->Label10->setText(adviceText(advice));
    }
}

} // namespace vantora
