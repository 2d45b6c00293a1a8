// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/screen.h"
#include "ui_form1.h"

namespace vantora {

// The retirement planner: payment amount or target savings for seven payment frequencies.
class form1 final : public FormScreen<Ui::form1>
{
    Q_OBJECT

public:
    // Why Calculate shows no result.
    static QString equalAgesMessage();
    static QString noDailyRateMessage();
    static QString tooLargeMessage();

private:
    void connectHandlers() override;
    int selectedFrequency() const;
    void Option1_Click();
    void Option2_Click();
    void Command1_Click();
    void Command2_Click();
};

} // namespace vantora
