#include "analysis/Form13.h"

#include "app/banner.h"
#include "app/navigation.h"
#include "app/registry.h"
#include "data/datacontrol.h"
#include "data/recordcommands.h"
#include "ui_Form13.h"

namespace vantora {

Form13::Form13()
    : Screen(QStringLiteral("Form13"))
{
}

Form13::~Form13() = default;

QWidget *Form13::createWindow()
{
    auto *window = new QWidget;
    m_ui = std::make_unique<Ui::Form13>();
    m_ui->setupUi(window);

    DataControl *data = m_ui->Data1;
    data->setCaption(QStringLiteral("Data1"));
    data->bind(m_ui->Text1, QStringLiteral("Analyst's Name"));
    data->bind(m_ui->Text2, QStringLiteral("Stock Picks"));
    data->bind(m_ui->Text3, QStringLiteral("Market Outlook"));
    data->bind(m_ui->Text4, QStringLiteral("Credibility"));

    connect(m_ui->Command1, &QPushButton::clicked, this, &Form13::Command1_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &Form13::Command2_Click);
    connect(m_ui->Command3, &QPushButton::clicked, this, &Form13::Command3_Click);
    connect(m_ui->Command4, &QPushButton::clicked, this, &Form13::Command4_Click);
    return window;
}

void Form13::releaseWindow()
{
    m_ui.reset();
}

void Form13::Form_Load()
{
    showBanner(m_ui->WebBrowser1);
    m_ui->Data1->open(QStringLiteral("Analyst"));
}

bool Form13::queryUnload()
{
    return m_ui->Data1->close();
}

void Form13::Command1_Click()
{
    // Nothing is carried over: the portfolio opens on its own first stock.
    navigate(this, QStringLiteral("Form12"));
}

void Form13::Command2_Click()
{
    goHome(this);
}

void Form13::Command3_Click()
{
    recordFind(m_ui->Data1, {QStringLiteral("Enter the full (complete) name of the Analyst "),
                             QStringLiteral("Analyst's Search"), QStringLiteral("Analyst's Name"),
                             QStringLiteral("Sorry, I couldn't find this analyst. ")});
}

void Form13::Command4_Click()
{
    recordAdd(m_ui->Data1, m_ui->Text1);
}

} // namespace vantora
