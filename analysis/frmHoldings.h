// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/holdingsmodel.h"
#include "app/screen.h"
#include "forecast/scorecard.h"
#include "ui_frmHoldings.h"

#include <QList>
#include <QPointer>

class QTimer;

namespace vantora {

// The holdings overview: every stock with shares owned (or every stock) in one table with the
// totals of value and profit or loss, and the price chart of the selected stock.
class frmHoldings final : public FormScreen<Ui::frmHoldings>
{
    Q_OBJECT

public:
    HoldingsModel *model() const { return m_model; }

private:
    void connectHandlers() override;
    void Form_Load() override;
    void Form_UnLoad() override;
    void txtFilter_Change();
    void chkAllStocks_Click();
    void chkCompare_Click();
    void cmdHome_Click();
    void grdHoldings_RowChange();
    void grdHoldings_Sorted();

    // Shows the stocks that the filter and the check box ask for.
    void selectStocks();
    void showTotals();
    void showFirstRow();
    void showChart();
    // The buys and sells of the stock among the days of its chart.
    void markTrades(const QString &ticker, const QList<QDate> &dates);

    QPointer<HoldingsModel> m_model;
    QPointer<QTimer> m_filterTimer;
    // The S&P 500's days, read once per load, when the comparison first asks for them.
    QList<PriceDay> m_sp500;
    bool m_sp500Read = false;
};

} // namespace vantora
