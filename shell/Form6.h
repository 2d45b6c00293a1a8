// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/screen.h"
#include "ui_Form6.h"

namespace vantora {

// The disclaimer screen.
class Form6 final : public FormScreen<Ui::Form6>
{
    Q_OBJECT

public:
    // The disclaimer, exactly as it has always read (the run of spaces included).
    static QString disclaimer();

private:
    void connectHandlers() override;
    void Command1_Click();
};

} // namespace vantora
