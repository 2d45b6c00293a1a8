#pragma once

#include "app/recordscreen.h"
#include "ui_Form14.h"

#include <functional>

namespace vantora {

// The ratings screen: one stock at a time, five figures computed from its earnings, 52-week range
// and price. The chosen figure goes into a label bound to the record, so it is stored when the
// user leaves the stock.
class Form14 final : public RecordScreen<Ui::Form14>
{
    Q_OBJECT

public:
    // The screen's own figures: zero on every load, set anew by each calculation. A figure whose
    // step failed keeps the value of the click before.
    struct Figures
    {
        double L = 0, T = 0, N = 0, H = 0, W = 0, P = 0;
        double S = 0, G = 0, M = 0, one = 0, B = 0, O = 0, Q = 0;
    };

    Form14();

    const Figures &figures() const { return m_fig; }

    static QString computerError();

private:
    class Step;

    void connectHandlers() override;
    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
    FindTexts findTexts() const; // by name or by ticker, as Option4 says

    // Runs one step of the calculation. False when the calculation must end here.
    bool runStep(const std::function<double(Step &)> &compute,
                 const std::function<void(double)> &apply);

    Figures m_fig;
};

} // namespace vantora
