// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/screen.h"
#include "ui_Form4.h"

namespace vantora {

// The about screen: the product, its maker and a word from the maker.
class Form4 final : public FormScreen<Ui::Form4>
{
    Q_OBJECT

private:
    void connectHandlers() override;
    void Command1_Click();
};

} // namespace vantora
