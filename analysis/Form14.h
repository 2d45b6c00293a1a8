// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/ratings.h"
#include "app/recordscreen.h"
#include "ui_Form14.h"

namespace vantora {

// The ratings screen: one stock at a time, five figures computed from its earnings, 52-week range
// and price. The chosen figure goes into a label bound to the record, so it is stored when the
// user leaves the stock.
class Form14 final : public RecordScreen<Ui::Form14>
{
    Q_OBJECT

public:
    // The screen's own figures: zero on every load, set anew by each calculation. A figure whose
    // step failed keeps the value of the click before.
    using Figures = RatingFigures;

    Form14();

    const Figures &figures() const { return m_fig; }

    static QString computerError();

private:
    void connectHandlers() override;
    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
    FindTexts findTexts() const; // by name or by ticker, as Option4 says

    Figures m_fig;
};

} // namespace vantora
