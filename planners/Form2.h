#pragma once

#include "app/screen.h"

#include <memory>

namespace Ui {
class Form2;
}

namespace vantora {

// The investment planner: one stock at a time, the value of the holding and buy, sell or short
// advice from the predicted price and the 52-week high.
class Form2 final : public Screen
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Form2)

public:
    Form2();
    ~Form2() override;

protected:
    QWidget *createWindow() override;
    void releaseWindow() override;
    void Form_Load() override;
    bool queryUnload() override;

private:
    void recordShown();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Text7_Change();

    std::unique_ptr<Ui::Form2> m_ui;
};

} // namespace vantora
