// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/Form12.h"

#include "analysis/portfolio.h"
#include "app/navigation.h"
#include "common/dialogs.h"
#include "common/numbers.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace vantora {

Form12::Form12()
    : RecordScreen(QStringLiteral("stocks"), tr("Stock"))
{
}

void Form12::connectHandlers()
{
    DataControl *data = this->data();
    data->bind(m_ui->Text1, QStringLiteral("Name of Stock"));
    data->bind(m_ui->Text2, QStringLiteral("Ticker Symbol"));
    data->bind(m_ui->Text3, QStringLiteral("Current Price"));
    data->bind(m_ui->Text4, QStringLiteral("Purchase Price"));
    data->bind(m_ui->Text5, QStringLiteral("Next Years Earnings"));
    data->bind(m_ui->Text6, QStringLiteral("Shares Owned"));
    data->bind(m_ui->Text7, QStringLiteral("Analyst's Comments"));
    // The label shows the stock exchange, but the figures written there are no exchange and
    // must never reach the record.
    data->bind(m_ui->Label8, QStringLiteral("Stock Exchange"), DataControl::Mode::DisplayOnly);

    connect(m_ui->Command1, &QPushButton::clicked, this, &Form12::Command1_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &Form12::Command2_Click);
    wireDelete(m_ui->Command3);
    wireAdd(m_ui->Command4, m_ui->Text1);
    wireFind(m_ui->Command5,
             FindTexts{tr("Enter the full (complete) name of the stock. "), tr("Stock Search"),
                       QStringLiteral("Name of Stock"), tr("Sorry, I couldn't find your stock. ")});
}

void Form12::Command1_Click()
{
    const Holding holding{parseNumber(m_ui->Text3->text()), parseNumber(m_ui->Text4->text()),
                          parseNumber(m_ui->Text5->text()), parseNumber(m_ui->Text6->text())};

    const std::pair<QRadioButton *, PortfolioFigure> options[] = {
        {m_ui->Option1, PortfolioFigure::CurrentPriceEarnings},
        {m_ui->Option2, PortfolioFigure::ProfitLoss},
        {m_ui->Option3, PortfolioFigure::MoneySpent},
        {m_ui->Option4, PortfolioFigure::PurchasePriceEarnings},
        {m_ui->Option5, PortfolioFigure::Rating},
    };
    for (const auto &[option, figure] : options) {
        if (!option->isChecked())
            continue;
        // A figure too large for a number leaves the label as it was, silently.
        const Checked result = portfolioFigure(holding, figure);
        if (result.error == ArithError::DivideByZero || result.error == ArithError::ZeroByZero)
            msgBox(tr("Next year's earnings must not be 0 for this figure."));
        else if (result.ok())
            m_ui->Label8->setText(formatNumber(result.value));
        return;
    }
}

void Form12::Command2_Click()
{
    goHome(this);
}

} // namespace vantora
