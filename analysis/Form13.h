#pragma once

#include "app/screen.h"

#include <memory>

namespace Ui {
class Form13;
}

namespace vantora {

// The analysts' screen: one market analyst at a time with the stocks they pick, their view of
// the market and their credibility. Computes nothing; leads on to the portfolio.
class Form13 final : public Screen
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Form13)

public:
    Form13();
    ~Form13() override;

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

    std::unique_ptr<Ui::Form13> m_ui;
};

} // namespace vantora
