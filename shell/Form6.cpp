#include "shell/Form6.h"

#include "app/navigation.h"
#include "app/registry.h"
#include "ui_Form6.h"

namespace vantora {

Form6::Form6()
    : Screen(QStringLiteral("Form6"))
{
}

Form6::~Form6() = default;

QString Form6::disclaimer()
{
    return QStringLiteral("Disclaimer :") + QString(51, QLatin1Char(' ')) +
           QStringLiteral("We will not be responsible for any losses or profits that come from use "
                          "of this product, be advised that the program is not always accurate "
                          "but will maintain 89.4% accuracy as a Guarantee, use in moderation !!!");
}

QWidget *Form6::createWindow()
{
    auto *window = new QWidget;
    m_ui = std::make_unique<Ui::Form6>();
    m_ui->setupUi(window);
    m_ui->Label1->setText(disclaimer());
    connect(m_ui->Command1, &QPushButton::clicked, this, &Form6::Command1_Click);
    return window;
}

void Form6::releaseWindow()
{
    m_ui.reset();
}

void Form6::Command1_Click()
{
    goHome(this);
}

} // namespace vantora
