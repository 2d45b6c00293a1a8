#pragma once

#include "app/screen.h"

#include <memory>

namespace Ui {
class Form12;
}

namespace vantora {

// The portfolio: one stock at a time and, on Calculate, one of five figures of the holding.
class Form12 final : public Screen
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Form12)

public:
    Form12();
    ~Form12() override;

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

    std::unique_ptr<Ui::Form12> m_ui;
};

} // namespace vantora
