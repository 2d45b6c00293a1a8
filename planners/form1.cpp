#include "planners/form1.h"

#include "app/navigation.h"
#include "common/dialogs.h"
#include "common/numbers.h"

#include <array>

namespace vantora {

namespace {

// "BiMonthly" counts 26 payments a year.
constexpr std::array<int, 7> kPaymentsPerYear{365, 52, 26, 12, 4, 2, 1};

} // namespace

int form1::paymentsPerYear(int listIndex)
{
    if (listIndex < 0 || listIndex >= int(kPaymentsPerYear.size()))
        return 0;
    return kPaymentsPerYear[size_t(listIndex)];
}

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
    m_ui->Label6->setText(QStringLiteral("Target Savings"));
    m_ui->Label7->setText(QStringLiteral("Payment (A)"));
}

void form1::Option2_Click()
{
    m_ui->Label6->setText(QStringLiteral("Payment (A)"));
    m_ui->Label7->setText(QStringLiteral("Target Savings"));
}

void form1::Command1_Click()
{
    beep();
    beep();
    const double C = parseNumber(m_ui->Text1->text());
    const double R = parseNumber(m_ui->Text2->text());
    const double I = parseNumber(m_ui->Text3->text());
    const double A = parseNumber(m_ui->Text4->text());
    const double percent = 1.0 / 100.0;

    if (!m_ui->Option1->isChecked() && !m_ui->Option2->isChecked())
        msgBox(QStringLiteral("Please choose a calculation"));

    // A zero divisor or an overflowing figure leaves the result as it was.
    const auto show = [this](const Checked &x) {
        const Checked whole = checkedValue(Int(x.value));
        if (x.ok() && whole.ok())
            m_ui->Label8->setText(formatNumber(whole.value));
    };

    if (m_ui->Option1->isChecked()) {
        const int k = selectedFrequency();
        const int N = paymentsPerYear(k);
        if (N != 0) {
            const double Y = R - C;
            if (k == 0)
                show(checkedDiv(A, ((Y * 365) * percent) * I));
            else
                show(checkedDiv(A, Y * N));
        }
    }
    if (m_ui->Option2->isChecked()) {
        const int N = paymentsPerYear(selectedFrequency());
        if (N != 0) {
            const double Y = R - C;
            show(checkedValue((Y * N) + ((((Y * N) * percent) * I) * A)));
        }
    }
}

void form1::Command2_Click()
{
    goHome(this);
}

} // namespace vantora
