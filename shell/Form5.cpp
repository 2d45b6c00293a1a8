#include "shell/Form5.h"

#include "app/navigation.h"
#include "app/registry.h"
#include "ui_Form5.h"

namespace vantora {

Form5::Form5()
    : Screen(QStringLiteral("Form5"))
{
}

Form5::~Form5() = default;

QWidget *Form5::createWindow()
{
    auto *window = new QWidget;
    m_ui = std::make_unique<Ui::Form5>();
    m_ui->setupUi(window);
    connect(m_ui->Command1, &QPushButton::clicked, this, &Form5::Command1_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &Form5::Command2_Click);
    return window;
}

void Form5::releaseWindow()
{
    m_ui.reset();
}

void Form5::Command1_Click()
{
    navigate(this, QStringLiteral("Form3"));
}

void Form5::Command2_Click()
{
    goHome(this);
}

} // namespace vantora
