// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/screen.h"
#include "forecast/scorecard.h"
#include "ui_frmScorecard.h"

namespace vantora {

// The forecaster's scorecard: how often each index closed within the forecast range and how
// far the forecast high and low were off, beside a naive forecast and the disclaimer's promise.
class frmScorecard final : public FormScreen<Ui::frmScorecard>
{
    Q_OBJECT

public:
    // The accuracy the disclaimer promises, as it writes it ("89.4%").
    static QString promisedAccuracy();
    bool hasReport() const override { return isLoaded(); }
    Report report() const override;

private:
    void connectHandlers() override;
    void Form_Load() override;
    void cmdHome_Click();
    void grdScore_RowChange();

    void showScores();
    void showChart(int row);

    Scorecard m_card;
};

} // namespace vantora
