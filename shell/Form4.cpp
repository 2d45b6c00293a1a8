#include "shell/Form4.h"

#include "app/navigation.h"
#include "app/registry.h"
#include "ui_Form4.h"

namespace vantora {

Form4::Form4()
    : Screen(QStringLiteral("Form4"))
{
}

Form4::~Form4() = default;

QWidget *Form4::createWindow()
{
    auto *window = new QWidget;
    m_ui = std::make_unique<Ui::Form4>();
    m_ui->setupUi(window);
    connect(m_ui->Command1, &QPushButton::clicked, this, &Form4::Command1_Click);
    return window;
}

void Form4::releaseWindow()
{
    m_ui.reset();
}

void Form4::Command1_Click()
{
    goHome(this);
}

} // namespace vantora
