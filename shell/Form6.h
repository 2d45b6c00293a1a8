#pragma once

#include "app/screen.h"

#include <memory>

namespace Ui {
class Form6;
}

namespace vantora {

// The disclaimer screen.
class Form6 final : public Screen
{
    Q_OBJECT

public:
    Form6();
    ~Form6() override;

    // The disclaimer, exactly as it has always read (the run of spaces included).
    static QString disclaimer();

protected:
    QWidget *createWindow() override;
    void releaseWindow() override;

private:
    void Command1_Click();

    std::unique_ptr<Ui::Form6> m_ui;
};

} // namespace vantora
