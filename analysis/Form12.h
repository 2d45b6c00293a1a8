// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/recordscreen.h"
#include "ui_Form12.h"

namespace vantora {

// The portfolio: one stock at a time and, on Calculate, one of five figures of the holding.
class Form12 final : public RecordScreen<Ui::Form12>
{
    Q_OBJECT

public:
    Form12();

private:
    void connectHandlers() override;
    void Command1_Click();
    void Command2_Click();
};

} // namespace vantora
