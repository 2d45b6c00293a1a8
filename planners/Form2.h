// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/recordscreen.h"
#include "ui_Form2.h"

namespace vantora {

// The investment planner: one stock at a time, the value of the holding and buy, sell or short
// advice from the predicted price and the 52-week high.
class Form2 final : public RecordScreen<Ui::Form2>
{
    Q_OBJECT

public:
    Form2();

private:
    void connectHandlers() override;
    void recordShown();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Text7_Change();
};

} // namespace vantora
