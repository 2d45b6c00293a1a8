// SPDX-License-Identifier: GPL-3.0-or-later
#include "forecast/Form3.h"

#include "app/navigation.h"
#include "common/dialogs.h"
#include "common/numbers.h"
#include "data/store/schema.h"
#include "forecast/forecast.h"

#include <QDate>
#include <QLocale>

namespace vantora {

Form3::Form3()
    : RecordScreen(QStringLiteral("Forecaster"), tr("ForeCaster"))
{
}

FindTexts Form3::findTexts()
{
    // The example shows both forms that are read: the ISO one and the locale's own.
    const QDate example(2025, 3, 3);
    return {tr("Enter the full(complete) date of the Forecast you wish to analyze ") +
                tr("\n(for example %1 or %2)")
                    .arg(example.toString(Qt::ISODate),
                         QLocale().toString(example, schema::typedDateFormat())),
            tr("Forecast Search"), QStringLiteral("Date"),
            tr("Sorry, I couldn't find your date. ")};
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
    // Each box of the grid is named by its row and its column.
    const std::pair<QLabel *, QList<QLineEdit *>> rows[] = {
        {m_ui->Label4, {m_ui->d1, m_ui->n1, m_ui->s1}},
        {m_ui->Label11, {m_ui->d2, m_ui->n2, m_ui->s2}},
        {m_ui->Label6, {m_ui->d3, m_ui->n3, m_ui->s3}},
        {m_ui->Label7, {m_ui->d4, m_ui->n4, m_ui->s4}},
    };
    const QLabel *const columns[] = {m_ui->Label8, m_ui->Label9, m_ui->Label10};
    for (const auto &[row, boxes] : rows)
        for (int i = 0; i < 3; ++i)
            boxes[i]->setAccessibleName(row->text() + QStringLiteral(", ") + columns[i]->text());

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
    if (!result.ok()) {
        msgBox(tooLargeMessage());
        return;
    }
    const IndexForecast &f = result.value;
    const std::pair<QLineEdit *, double> outputs[] = {
        {m_ui->d3, f.dowHigh},   {m_ui->d4, f.dowLow}, {m_ui->n3, f.nasdaqHigh},
        {m_ui->n4, f.nasdaqLow}, {m_ui->s3, f.spHigh}, {m_ui->s4, f.spLow},
    };
    for (const auto &[box, value] : outputs) {
        box->setText(formatNumber(value));
        box->setCursorPosition(0); // a long figure shows its beginning
    }
}

QString Form3::tooLargeMessage()
{
    return tr("The forecast cannot be worked out: its figures would be too large for a number. No "
              "box was changed.");
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
