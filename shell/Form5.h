// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/screen.h"
#include "ui_Form5.h"

namespace vantora {

// The forecaster's help screen: where to find answers and the day's figures.
class Form5 final : public FormScreen<Ui::Form5>
{
    Q_OBJECT

private:
    void connectHandlers() override;
    void Command1_Click();
    void Command2_Click();
};

} // namespace vantora
