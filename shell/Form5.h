#pragma once

#include "app/screen.h"

#include <memory>

namespace Ui {
class Form5;
}

namespace vantora {

// The forecaster's help screen: where to find answers and the day's figures.
class Form5 final : public Screen
{
    Q_OBJECT

public:
    Form5();
    ~Form5() override;

protected:
    QWidget *createWindow() override;
    void releaseWindow() override;

private:
    void Command1_Click();
    void Command2_Click();

    std::unique_ptr<Ui::Form5> m_ui;
};

} // namespace vantora
