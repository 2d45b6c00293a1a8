#pragma once

#include "app/screen.h"

#include <memory>

namespace Ui {
class Form3;
}

namespace vantora {

struct FindTexts;

// The index forecaster: one day of index figures per record of "Forecaster", and the next
// day's highs and lows of the Dow Jones, the Nasdaq and the S&P 500 forecast from them.
class Form3 final : public Screen
{
    Q_OBJECT

public:
    Form3();
    ~Form3() override;

    static FindTexts findTexts();

protected:
    QWidget *createWindow() override;
    void releaseWindow() override;
    void Form_Load() override;
    bool queryUnload() override;

private:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();

    std::unique_ptr<Ui::Form3> m_ui;
};

} // namespace vantora
