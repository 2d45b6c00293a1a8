#pragma once

#include "app/screen.h"

#include <memory>

namespace Ui {
class form1;
}

namespace vantora {

// The retirement planner: payment amount or target savings for seven payment frequencies.
class form1 final : public Screen
{
    Q_OBJECT

public:
    form1();
    ~form1() override;

    // Payments per year of the frequency at this list index; 0 for an index out of range.
    static int paymentsPerYear(int listIndex);

protected:
    QWidget *createWindow() override;
    void releaseWindow() override;
    void Form_Load() override;

private:
    int selectedFrequency() const;
    void Option1_Click();
    void Option2_Click();
    void Command1_Click();
    void Command2_Click();

    std::unique_ptr<Ui::form1> m_ui;
};

} // namespace vantora
