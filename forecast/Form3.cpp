#include "forecast/Form3.h"

#include "app/navigation.h"
#include "common/numbers.h"

#include <optional>

namespace vantora {

namespace {

struct Figures
{
    double d1, n1, s1; // yesterday's finish
    double advances, declines;
    double d2, n2, s2; // up/down points
};

struct Forecast
{
    double d3, d4, n3, n4, s3, s4; // highs (3) and lows (4)
};

// The forecast, computed in the forecaster's own order of evaluation: the factors are formed
// as 1 divided by the whole number first and then multiplied, the brackets as written. Nothing
// when a figure overflows, so that no inf or nan reaches a box.
std::optional<Forecast> forecast(const Figures &x)
{
    // One pair of complementary comparisons each: the Dow's test is strict, the others not.
    const double dAdjust = x.d2 > 100 ? -35.0 : 35.0;
    const double nAdjust = x.n2 >= 30 ? -15.0 : 15.0;
    const double sAdjust = x.s2 >= 10 ? -10.0 : 10.0;

    const double B = x.advances - x.declines;
    const double f15 = 1.0 / 15;
    const double f5 = 1.0 / 5;
    const double f10 = 1.0 / 10;
    const double f8 = 1.0 / 8;
    const double f3 = 1.0 / 3;

    Forecast f{};
    f.d3 = (x.d1 + ((B / 10 + 30) - f15 * x.d2)) + dAdjust;
    f.d4 = ((x.d1 + B / 30) - 5 - f5 * x.d2) + dAdjust;
    f.n3 = (x.n1 + ((B / 15 + 10) - f10 * x.n2)) + nAdjust;
    f.n4 = ((x.n1 + B / 35) - 10 - f10 * x.n2) + nAdjust;
    f.s3 = (x.s1 + ((B / 20 + 6) - f8 * x.s2)) + sAdjust;
    f.s4 = ((x.s1 + B / 40) - f3 * x.s2) + sAdjust;

    // A falling or unchanged index anywhere switches the lows of all three.
    if (x.s2 <= 0 || x.n2 <= 0 || x.d2 <= 0) {
        f.d4 = ((x.d1 + B / 30) + 10 + f5 * x.d2) + dAdjust;
        f.n4 = ((x.n1 + B / 35) + 2 + f10 * x.n2) + nAdjust;
        f.s4 = ((x.s1 + B / 40) + 1 + f3 * x.s2) + sAdjust;
    }

    for (const double value : {f.d3, f.d4, f.n3, f.n4, f.s3, f.s4})
        if (!checkedValue(value).ok())
            return std::nullopt;
    return f;
}

} // namespace

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
    const Figures figures{
        parseNumber(m_ui->d1->text()),    parseNumber(m_ui->n1->text()),
        parseNumber(m_ui->s1->text()),    parseNumber(m_ui->Text5->text()),
        parseNumber(m_ui->Text6->text()), parseNumber(m_ui->d2->text()),
        parseNumber(m_ui->n2->text()),    parseNumber(m_ui->s2->text()),
    };
    const std::optional<Forecast> f = forecast(figures);
    if (!f)
        return; // an overflowing figure leaves the six boxes as they were
    m_ui->d3->setText(formatNumber(f->d3));
    m_ui->d4->setText(formatNumber(f->d4));
    m_ui->n3->setText(formatNumber(f->n3));
    m_ui->n4->setText(formatNumber(f->n4));
    m_ui->s3->setText(formatNumber(f->s3));
    m_ui->s4->setText(formatNumber(f->s4));
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
