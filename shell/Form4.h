#pragma once

#include "app/screen.h"

#include <memory>

namespace Ui {
class Form4;
}

namespace vantora {

// The about screen: the product, its maker and a word from the maker.
class Form4 final : public Screen
{
    Q_OBJECT

public:
    Form4();
    ~Form4() override;

protected:
    QWidget *createWindow() override;
    void releaseWindow() override;

private:
    void Command1_Click();

    std::unique_ptr<Ui::Form4> m_ui;
};

} // namespace vantora
