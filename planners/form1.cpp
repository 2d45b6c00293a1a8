// SPDX-License-Identifier: GPL-3.0-or-later
#include "planners/form1.h"

#include "app/navigation.h"
#include "common/dialogs.h"
#include "common/numbers.h"
#include "planners/retirement.h"

namespace vantora {

void form1::connectHandlers()
{
    connect(m_ui->Option1, &QRadioButton::clicked, this, &form1::Option1_Click);
    connect(m_ui->Option2, &QRadioButton::clicked, this, &form1::Option2_Click);
    connect(m_ui->Command1, &QPushButton::clicked, this, &form1::Command1_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &form1::Command2_Click);
}

int form1::selectedFrequency() const
{
    // The focus alone makes a list row current; only a selected row counts.
    const QList<QListWidgetItem *> selected = m_ui->List1->selectedItems();
    return selected.isEmpty() ? -1 : m_ui->List1->row(selected.constFirst());
}

void form1::Option1_Click()
{
    m_ui->Label6->setText(tr("Target Savings"));
    m_ui->Label7->setText(tr("Payment (A)"));
}

void form1::Option2_Click()
{
    m_ui->Label6->setText(tr("Payment (A)"));
    m_ui->Label7->setText(tr("Target Savings"));
}

void form1::Command1_Click()
{
    beep();
    beep();
    RetirementPlan plan;
    plan.currentAge = parseNumber(m_ui->Text1->text());
    plan.retirementAge = parseNumber(m_ui->Text2->text());
    plan.interestRate = parseNumber(m_ui->Text3->text());
    plan.amount = parseNumber(m_ui->Text4->text());

    if (!m_ui->Option1->isChecked() && !m_ui->Option2->isChecked())
        msgBox(tr("Please choose a calculation"));

    // Nothing chosen in the list leaves the result as it was; a figure that cannot be computed
    // leaves it too, and says why.
    const std::optional<PaymentFrequency> frequency = paymentFrequencyAt(selectedFrequency());
    if (!frequency)
        return;
    plan.frequency = *frequency;
    const auto show = [this, &plan](const Checked &x) {
        if (x.ok())
            m_ui->Label8->setText(formatNumber(x.value));
        else if (x.error == ArithError::Overflow)
            msgBox(tooLargeMessage());
        else if (plan.retirementAge - plan.currentAge == 0)
            msgBox(equalAgesMessage());
        else
            msgBox(noDailyRateMessage());
    };
    if (m_ui->Option1->isChecked())
        show(paymentAmount(plan));
    if (m_ui->Option2->isChecked())
        show(targetSavings(plan));
}

QString form1::equalAgesMessage()
{
    return tr("The payment amount cannot be worked out when the current age and the retirement "
              "age are the same: there are no years to pay in.");
}

QString form1::noDailyRateMessage()
{
    return tr("A daily payment amount cannot be worked out with an interest rate of 0.");
}

QString form1::tooLargeMessage()
{
    return tr("The result is too large to be worked out. Please check the figures.");
}

void form1::Command2_Click()
{
    goHome(this);
}

} // namespace vantora
