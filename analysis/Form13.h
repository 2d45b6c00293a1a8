// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/recordscreen.h"
#include "ui_Form13.h"

namespace vantora {

// The analysts' screen: one market analyst at a time with the stocks they pick, their view of
// the market and their credibility. Computes nothing; leads on to the portfolio.
class Form13 final : public RecordScreen<Ui::Form13>
{
    Q_OBJECT

public:
    Form13();

private:
    void connectHandlers() override;
    void Command1_Click();
    void Command2_Click();
};

} // namespace vantora
