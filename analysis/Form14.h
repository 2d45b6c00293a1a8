#pragma once

#include "app/screen.h"

#include <functional>
#include <memory>

namespace Ui {
class Form14;
}

namespace vantora {

// The ratings screen: one stock at a time, five figures computed from its earnings, 52-week range
// and price. The chosen figure goes into a label bound to the record, so it is stored when the
// user leaves the stock.
class Form14 final : public Screen
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Form14)

public:
    // The screen's own figures: zero on every load, set anew by each calculation. A figure whose
    // step failed keeps the value of the click before.
    struct Figures
    {
        double L = 0, T = 0, N = 0, H = 0, W = 0, P = 0;
        double S = 0, G = 0, M = 0, one = 0, B = 0, O = 0, Q = 0;
    };

    Form14();
    ~Form14() override;

    const Figures &figures() const { return m_fig; }

    static QString computerError();

protected:
    QWidget *createWindow() override;
    void releaseWindow() override;
    void Form_Load() override;
    bool queryUnload() override;

private:
    class Step;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();

    // Runs one step of the calculation. False when the calculation must end here.
    bool runStep(const std::function<double(Step &)> &compute,
                 const std::function<void(double)> &apply);

    std::unique_ptr<Ui::Form14> m_ui;
    Figures m_fig;
};

} // namespace vantora
