// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/tradesmodel.h"
#include "app/screen.h"
#include "ui_frmTrades.h"

#include <QPointer>

namespace vantora {

// The ledger of a stock (or of every stock): its trades, edited in place, and what they earned,
// with the stock's shares and average cost kept from them.
class frmTrades final : public FormScreen<Ui::frmTrades>
{
    Q_OBJECT

public:
    TradesModel *model() const { return m_model; }

private:
    void connectHandlers() override;
    void Form_Load() override;
    void cboStock_Click();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdImport_Click();
    void cmdSetFromTrades_Click();
    void cmdHome_Click();

    // The stock chosen; empty for all stocks.
    QString ticker() const;
    // Fills the list of stocks, keeping the one chosen where it is still there.
    void fillStocks(const QString &keep);
    // Reads the trades of the stock chosen, and shows its figures.
    void showTrades();
    void showFigures();
    void showMessage(const QString &message);

    QPointer<TradesModel> m_model;
};

} // namespace vantora
