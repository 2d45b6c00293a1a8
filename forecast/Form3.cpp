// SPDX-License-Identifier: GPL-3.0-or-later
#include "forecast/Form3.h"

#include "app/navigation.h"
#include "common/numbers.h"
#include "forecast/forecast.h"

namespace vantora {

Form3::Form3()
    : RecordScreen(QStringLiteral("Forecaster"), QStringLiteral("ForeCaster"))
{
}

FindTexts Form3::findTexts()
{
    return {QStringLiteral("Enter the full(complete) date of the Forecast you wish to analyze "),
            QStringLiteral("Forecast Search"), QStringLiteral("Date"),
            QStringLiteral("Sorry, I couldn't find your date. ")};
}

void Form3::connectHandlers()
{
    DataControl *data = this->data();
    const std::pair<QLineEdit *, const char *> bound[] = {
        {m_ui->text1, "Date"},
        {m_ui->d1, "Dow Yesterday"},
        {m_ui->n1, "NasdaQ Yesterday"},
        {m_ui->s1, "SP 500 Yesterday"},
        {m_ui->Text5, "Advances"},
        {m_ui->Text6, "Declines"},
        {m_ui->d2, "DD"},
        {m_ui->n2, "Dn"},
        {m_ui->s2, "Ds"},
        {m_ui->d3, "DF"},
        // The Nasdaq and S&P 500 highs have columns of their own, so that storing them never
        // touches the point changes in "Dn" and "Ds".
        {m_ui->n3, "NF"},
        {m_ui->s3, "SF"},
        {m_ui->d4, "DL"},
        {m_ui->n4, "NL"},
        {m_ui->s4, "SL"},
    };
    for (const auto &[box, field] : bound)
        data->bind(box, QString::fromLatin1(field));

    wireAdd(m_ui->Command1, m_ui->text1);
    wireFind(m_ui->Command2, findTexts());
    connect(m_ui->Command3, &QPushButton::clicked, this, &Form3::Command3_Click);
    connect(m_ui->Command4, &QPushButton::clicked, this, &Form3::Command4_Click);
    connect(m_ui->Command5, &QPushButton::clicked, this, &Form3::Command5_Click);
}

void Form3::Command3_Click()
{
    MarketDay day;
    day.dowClose = parseNumber(m_ui->d1->text());
    day.nasdaqClose = parseNumber(m_ui->n1->text());
    day.spClose = parseNumber(m_ui->s1->text());
    day.advances = parseNumber(m_ui->Text5->text());
    day.declines = parseNumber(m_ui->Text6->text());
    day.dowPoints = parseNumber(m_ui->d2->text());
    day.nasdaqPoints = parseNumber(m_ui->n2->text());
    day.spPoints = parseNumber(m_ui->s2->text());
    const ForecastResult result = forecastDay(day);
    if (!result.ok())
        return; // an overflowing figure leaves the six boxes as they were
    const IndexForecast &f = result.value;
    m_ui->d3->setText(formatNumber(f.dowHigh));
    m_ui->d4->setText(formatNumber(f.dowLow));
    m_ui->n3->setText(formatNumber(f.nasdaqHigh));
    m_ui->n4->setText(formatNumber(f.nasdaqLow));
    m_ui->s3->setText(formatNumber(f.spHigh));
    m_ui->s4->setText(formatNumber(f.spLow));
}

void Form3::Command4_Click()
{
    goHome(this);
}

void Form3::Command5_Click()
{
    navigate(this, QStringLiteral("Form5"));
}

} // namespace vantora
