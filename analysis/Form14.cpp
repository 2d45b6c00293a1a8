#include "analysis/Form14.h"

#include "app/navigation.h"
#include "common/dialogs.h"
#include "common/numbers.h"

namespace vantora {

// The arithmetic of one calculation step. The first operation that fails decides the step's
// outcome; once it has failed nothing more is computed.
class Form14::Step
{
public:
    double div(double a, double b) { return failed() ? 0.0 : take(checkedDiv(a, b)); }
    double value(double v) { return failed() ? 0.0 : take(checkedValue(v)); }
    double add(double a, double b) { return value(a + b); }
    double sub(double a, double b) { return value(a - b); }
    double mul(double a, double b) { return value(a * b); }
    double integer(double v) { return failed() ? 0.0 : value(Int(v)); }

    bool failed() const { return m_error != ArithError::None; }
    ArithError error() const { return m_error; }

private:
    double take(Checked result)
    {
        m_error = result.error;
        return result.value;
    }

    ArithError m_error = ArithError::None;
};

Form14::Form14()
    : RecordScreen(QStringLiteral("stocks"), QStringLiteral("High Finance"))
{
}

QString Form14::computerError()
{
    return QStringLiteral("Sorry, but your computer is not functioning properly and that is "
                          "causing an error in the program");
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

bool Form14::runStep(const std::function<double(Step &)> &compute,
                     const std::function<void(double)> &apply)
{
    Step step;
    const double result = compute(step);
    switch (step.error()) {
    case ArithError::None:
        apply(result);
        return true;
    case ArithError::DivideByZero:
        // The step is skipped and the calculation goes on.
        msgBox(computerError(), OkOnly);
        return true;
    case ArithError::ZeroByZero:
    case ArithError::Overflow:
        break;
    }
    return false;
}

void Form14::Command1_Click()
{
    Figures &f = m_fig;
    auto set = [](double &figure) { return [&figure](double v) { figure = v; }; };
    auto show = [](QLabel *label) {
        return [label](double v) { label->setText(formatNumber(v)); };
    };
    auto read = [](QLineEdit *box) {
        return [box](Step &s) { return s.value(parseNumber(box->text())); };
    };

    // Step 1: the six inputs, one step each.
    if (!runStep(read(m_ui->Text3), set(f.L)) || !runStep(read(m_ui->Text4), set(f.T)) ||
        !runStep(read(m_ui->Text5), set(f.N)) || !runStep(read(m_ui->Text6), set(f.H)) ||
        !runStep(read(m_ui->Text7), set(f.W)) || !runStep(read(m_ui->Text8), set(f.P)))
        return;

    // The formulas, each evaluated left to right as written.
    auto safety = [&f](Step &s) { // (L / H) x 100 + (T / W) x 100 + P / T
        const double lh = s.mul(s.div(f.L, f.H), 100);
        const double tw = s.mul(s.div(f.T, f.W), 100);
        const double sum = s.add(lh, tw);
        const double pt = s.div(f.P, f.T);
        return s.add(sum, pt);
    };
    auto growth = [&f](Step &s) { // ((H - W) x N - L) x 10 - (H - P)
        const double inner = s.sub(s.mul(s.sub(f.H, f.W), f.N), f.L);
        const double scaled = s.mul(inner, 10);
        return s.sub(scaled, s.sub(f.H, f.P));
    };
    auto marketCap = [&f](Step &s) { // (H - W)^2 + N
        const double range = s.sub(f.H, f.W);
        return s.add(s.mul(range, range), f.N);
    };
    auto buyBase = [&f](Step &s) { // (H - P) + (((W + P / N) + N) - L)
        const double drop = s.sub(f.H, f.P);
        const double pn = s.div(f.P, f.N);
        const double rest = s.sub(s.add(s.add(f.W, pn), f.N), f.L);
        return s.add(drop, rest);
    };
    auto overall = [&f](Step &s) { // Int(S + G + M + one - P / L)
        const double sum = s.add(s.add(s.add(f.S, f.G), f.M), f.one);
        const double pl = s.div(f.P, f.L);
        return s.integer(s.sub(sum, pl));
    };
    auto raisedBy = [&f](double amount) {
        return [&f, amount](Step &s) { return s.add(f.B, amount); };
    };
    // What the labels show for growth and market cap differs from the figures that go into the
    // overall rating.
    auto growthShown = [&f](Step &s) { // (H - W) x (N - L) x 10 - (H - P)
        const double scaled = s.mul(s.mul(s.sub(f.H, f.W), s.sub(f.N, f.L)), 10);
        return s.sub(scaled, s.sub(f.H, f.P));
    };
    auto marketCapShown = [&f](Step &s) { // (H - W)^2 - N
        const double range = s.sub(f.H, f.W);
        return s.sub(s.mul(range, range), f.N);
    };
    auto overallShown = [&f](Step &s) { // Int(S + G + M + one) - P / L
        const double whole = s.integer(s.add(s.add(s.add(f.S, f.G), f.M), f.one));
        const double pl = s.div(f.P, f.L);
        return s.sub(whole, pl);
    };

    // Steps 2 to 8: the stored figures.
    if (!runStep(safety, set(f.S)) || !runStep(growth, set(f.G)) || !runStep(marketCap, set(f.M)))
        return;
    f.one = 1;
    if (!runStep(buyBase, set(f.B)) || !runStep(overall, set(f.O)))
        return;
    f.Q = f.B;

    // Steps 9 to 12: the buy/target price by the bracket of the overall figure.
    if (f.O >= 1000 && f.O <= 2000 && !runStep(raisedBy(1.5), set(f.Q)))
        return;
    if (f.O < 1000)
        f.Q = f.B;
    if (f.O > 2000 && f.O <= 3000 && !runStep(raisedBy(3), set(f.Q)))
        return;
    if (f.O > 3000 && !runStep(raisedBy(4), set(f.Q)))
        return;

    // Steps 13 to 17: the chosen figure; with "Find By Name" or nothing chosen no label changes.
    if (m_ui->Option1->isChecked() && !runStep(safety, show(m_ui->Label8)))
        return;
    if (m_ui->Option2->isChecked() && !runStep(growthShown, show(m_ui->Label11)))
        return;
    if (m_ui->Option3->isChecked() && !runStep(marketCapShown, show(m_ui->Label12)))
        return;
    if (m_ui->Option5->isChecked() && !runStep(overallShown, show(m_ui->Label13)))
        return;
    if (m_ui->Option6->isChecked())
        runStep([&f](Step &s) { return s.value(f.Q); }, show(m_ui->Label14));
}

void Form14::Command2_Click()
{
    goHome(this);
}

FindTexts Form14::findTexts() const
{
    const QString notFound = QStringLiteral("Sorry, I couldn't find your stock. ");
    const QString title = QStringLiteral("Stock Search");
    if (m_ui->Option4->isChecked())
        return {QStringLiteral("Enter the full(complete) name of the company. "), title,
                QStringLiteral("Name of stock"), notFound};
    return {QStringLiteral("Enter the full(complete) ticker symbol of the company. "), title,
            QStringLiteral("Ticker Symbol"), notFound};
}

} // namespace vantora
