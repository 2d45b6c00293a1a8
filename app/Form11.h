// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/screen.h"
#include "ui_Form11.h"

#include <QMainWindow>
#include <QPointer>

class QTimer;

namespace vantora {

// The main window: title picture, clock, important-information notice, banner and the menus.
class Form11 final : public FormScreen<Ui::Form11, QMainWindow>
{
    Q_OBJECT

public:
    static QString importantInformation();
    // "Visit Our Website" with no web browser to open it.
    static QString noBrowserMessage();

private:
    void connectHandlers() override;
    void Form_Load() override;
    void Form_UnLoad() override;
    void showPendingTip();
    bool eventFilter(QObject *watched, QEvent *event) override;
    void Command1_Click();
    void Timer1_Timer();
    void visit_Click();
    void quit_Click();
    void recentdb_Show();

    QPointer<QWidget> m_placedTip; // the tip window as last placed beside this one
    bool m_tipPending = false;     // the tip window is loaded, to be shown after the first paint
};

} // namespace vantora
