// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/recordscreen.h"
#include "ui_Form3.h"

namespace vantora {

// The index forecaster: one day of index figures per record of "Forecaster", and the next
// day's highs and lows of the Dow Jones, the Nasdaq and the S&P 500 forecast from them.
class Form3 final : public RecordScreen<Ui::Form3>
{
    Q_OBJECT

public:
    Form3();

    static FindTexts findTexts();
    // Why Forecast changed no box.
    static QString tooLargeMessage();

private:
    void connectHandlers() override;
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
};

} // namespace vantora
