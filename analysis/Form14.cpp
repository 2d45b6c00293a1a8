// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/Form14.h"

#include "app/navigation.h"
#include "common/dialogs.h"
#include "common/numbers.h"

#include <optional>
#include <tuple>

namespace vantora {

Form14::Form14()
    : RecordScreen(QStringLiteral("stocks"), tr("High Finance"))
{
}

QString Form14::computerError()
{
    return tr("Sorry, but your computer is not functioning properly and that is causing an error "
              "in the program");
}

void Form14::connectHandlers()
{
    DataControl *data = this->data();
    const std::pair<QLineEdit *, const char *> boxes[] = {
        {m_ui->Text1, "Name of Stock"},
        {m_ui->Text2, "Ticker Symbol"},
        {m_ui->Text3, "Last Years Earnings"},
        {m_ui->Text4, "This Years Earnings"},
        {m_ui->Text5, "Next Years Earnings"},
        {m_ui->Text6, "52 Wk Hi"},
        {m_ui->Text7, "52 Wk Lo"},
        {m_ui->Text8, "Current Price"},
        {m_ui->Text9, "AnalystRating"},
    };
    for (const auto &[box, field] : boxes)
        data->bind(box, QString::fromLatin1(field));
    // The results are stored with the stock when the user leaves it.
    const std::pair<QLabel *, const char *> results[] = {
        {m_ui->Label8, "Safety Rating"},      {m_ui->Label11, "Growth"},
        {m_ui->Label12, "Market Cap"},        {m_ui->Label13, "Overall Rating"},
        {m_ui->Label14, "Buy\\Target Price"},
    };
    for (const auto &[label, field] : results)
        data->bind(label, QString::fromLatin1(field), DataControl::Mode::Bound);

    connect(m_ui->Command1, &QPushButton::clicked, this, &Form14::Command1_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &Form14::Command2_Click);
    wireFind(m_ui->Command3, [this] { return findTexts(); });
    wireAdd(m_ui->Command4, m_ui->Text1);
    wireDelete(m_ui->Command5);
}

void Form14::Form_Load()
{
    m_fig = {};
}

void Form14::Command1_Click()
{
    const RatingInputs inputs{
        parseNumber(m_ui->Text3->text()), parseNumber(m_ui->Text4->text()),
        parseNumber(m_ui->Text5->text()), parseNumber(m_ui->Text6->text()),
        parseNumber(m_ui->Text7->text()), parseNumber(m_ui->Text8->text()),
    };
    // With "Find By Name" or nothing chosen the calculation runs and no label changes.
    const std::tuple<QRadioButton *, ShownRating, QLabel *> options[] = {
        {m_ui->Option1, ShownRating::Safety, m_ui->Label8},
        {m_ui->Option2, ShownRating::Growth, m_ui->Label11},
        {m_ui->Option3, ShownRating::MarketCap, m_ui->Label12},
        {m_ui->Option5, ShownRating::Overall, m_ui->Label13},
        {m_ui->Option6, ShownRating::BuyTarget, m_ui->Label14},
    };
    std::optional<ShownRating> chosen;
    QLabel *label = nullptr;
    for (const auto &[option, figure, result] : options) {
        if (option->isChecked()) {
            chosen = figure;
            label = result;
            break;
        }
    }

    const RatingOutcome outcome = rateStock(m_fig, inputs, chosen);
    m_fig = outcome.figures;
    for (int i = 0; i < outcome.zeroDivisors; ++i)
        msgBox(computerError(), OkOnly);
    if (outcome.shown)
        label->setText(formatNumber(*outcome.shown));
}

void Form14::Command2_Click()
{
    goHome(this);
}

FindTexts Form14::findTexts() const
{
    const QString notFound = tr("Sorry, I couldn't find your stock. ");
    const QString title = tr("Stock Search");
    if (m_ui->Option4->isChecked())
        return {tr("Enter the full(complete) name of the company. "), title,
                QStringLiteral("Name of stock"), notFound};
    return {tr("Enter the full(complete) ticker symbol of the company. "), title,
            QStringLiteral("Ticker Symbol"), notFound};
}

} // namespace vantora
