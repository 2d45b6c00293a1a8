#pragma once

#include "app/screen.h"

#include <memory>

namespace Ui {
class Form11;
}
class QTimer;

namespace vantora {

// The main window: title picture, clock, important-information notice, banner and the menus.
class Form11 final : public Screen
{
    Q_OBJECT

public:
    Form11();
    ~Form11() override;

    static QString importantInformation();

protected:
    QWidget *createWindow() override;
    void releaseWindow() override;
    void Form_Load() override;

private:
    void Command1_Click();
    void Timer1_Timer();
    void visit_Click();
    void quit_Click();

    std::unique_ptr<Ui::Form11> m_ui;
    QTimer *m_timer1 = nullptr;
};

} // namespace vantora
