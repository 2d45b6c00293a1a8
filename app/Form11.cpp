// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Form11.h"

#include "app/databases.h"
#include "app/marketdata.h"
#include "app/navigation.h"
#include "app/placement.h"
#include "app/registry.h"
#include "common/config.h"
#include "common/dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QTime>
#include <QTimer>
#include <QWindow>

namespace vantora {

QString Form11::importantInformation()
{
    return tr(
        "To ensure accurate forecasting PLEASE use the program ONLY when on the Internet, this "
        "ensures that formulas are updated and guarantees functionality of the program!!");
}

void Form11::connectHandlers()
{
    auto *timer1 = new QTimer(window());
    timer1->setObjectName(QStringLiteral("Timer1"));
    timer1->setInterval(1000);
    connect(timer1, &QTimer::timeout, this, &Form11::Timer1_Timer);
    timer1->start();

    connect(m_ui->Command1, &QPushButton::clicked, this, &Form11::Command1_Click);
    connect(m_ui->visit, &QAction::triggered, this, &Form11::visit_Click);
    connect(m_ui->quit, &QAction::triggered, this, &Form11::quit_Click);
    connect(m_ui->newdb, &QAction::triggered, this, [] { newDatabase(); });
    connect(m_ui->opendb, &QAction::triggered, this, [] { openDatabase(); });
    connect(m_ui->recentdb, &QMenu::aboutToShow, this, &Form11::recentdb_Show);
    connect(m_ui->importprices, &QAction::triggered, this, [this] { importPrices(window()); });
    connect(m_ui->updateprices, &QAction::triggered, this, [this] { updatePrices(window()); });
    connect(m_ui->prefs, &QAction::triggered, this, [] {
        if (Screen *preferences = ScreenRegistry::get(QStringLiteral("frmPreferences")))
            preferences->show();
    });
    // Each menu entry that opens a screen is one navigation step.
    const std::pair<QAction *, const char *> targets[] = {
        {m_ui->discl, "Form6"},           {m_ui->meminv, "Form2"},
        {m_ui->memgro, "Form3"},          {m_ui->memretire, "form1"},
        {m_ui->mempf, "Form12"},          {m_ui->memsoft, "Form14"},
        {m_ui->mempop, "Form13"},         {m_ui->memh, "Form2"},
        {m_ui->memabout, "Form4"},        {m_ui->memhold, "frmHoldings"},
        {m_ui->memscore, "frmScorecard"}, {m_ui->memtrades, "frmTrades"},
    };
    for (const auto &[action, target] : targets) {
        const QString name = QString::fromLatin1(target);
        connect(action, &QAction::triggered, this, [this, name] { navigate(this, name); });
    }
    // "&Get a Free PhoneCard" and "He&lp" have no action.
}

void Form11::Form_Load()
{
    window()->setWindowTitle(mainWindowTitle(config::databasePath()));
    // The tip window is made now, to be placed beside this one, and shown once this window has
    // painted: showing a window takes a while, and the main window comes first.
    if (Screen *tip = ScreenRegistry::get(QStringLiteral("frmTip"))) {
        tip->load();
        m_tipPending = tip->isLoaded();
    }
}

void Form11::Form_UnLoad()
{
    // Gone before it painted (another screen asked for at the start): the tip window still
    // opens.
    showPendingTip();
}

void Form11::showPendingTip()
{
    Screen *tip = ScreenRegistry::existing(QStringLiteral("frmTip"));
    if (!m_tipPending || !tip || !tip->isLoaded())
        return;
    m_tipPending = false;
    // Not given the focus as it maps: a window manager would take it from the window that has
    // it, which keeps it (a platform that gives a new window the focus anyway gives it back).
    QWidget *active = QApplication::activeWindow();
    tip->window()->setAttribute(Qt::WA_ShowWithoutActivating);
    tip->window()->show();
    tip->window()->setAttribute(Qt::WA_ShowWithoutActivating, false);
    if (active && active != tip->window())
        active->activateWindow();
}

bool Form11::eventFilter(QObject *watched, QEvent *event)
{
    Screen *tip = ScreenRegistry::existing(QStringLiteral("frmTip"));
    // The window is painted as it is exposed; the tip window is shown right after, and this one
    // stays the active window, as when the tip window opened first.
    QWindow *handle = window() ? window()->windowHandle() : nullptr;
    if (m_tipPending && watched == window() && event->type() == QEvent::Show && handle)
        handle->installEventFilter(this);
    if (watched == handle && event->type() == QEvent::Expose) {
        handle->removeEventFilter(this);
        if (m_tipPending)
            QTimer::singleShot(0, this, &Form11::showPendingTip);
    }
    if (watched == window() && event->type() == QEvent::Show) {
        // Centred, with a tip window that opens beside it; a tip window left open from before
        // stays where it is, and this window goes beside it again rather than over it.
        const bool tipOpen = tip && tip->isLoaded() && (m_tipPending || tip->window()->isVisible());
        QWidget *tipWindow = tipOpen ? tip->window() : nullptr;
        const bool fresh = tipWindow && tipWindow != m_placedTip;
        if (fresh)
            m_placedTip = tipWindow;
        // Windows put back where the user left them stay there; a tip window that was never
        // put back goes beside them.
        const bool tipPlaced = !fresh || tip->restoredGeometry();
        if (!restoredGeometry())
            placeStartWindows(window(), tipWindow, tipPlaced ? StartMove::Main : StartMove::Both);
        else if (!tipPlaced)
            placeStartWindows(window(), tipWindow, StartMove::Tip);
    }
    return Screen::eventFilter(watched, event);
}

void Form11::recentdb_Show()
{
    m_ui->recentdb->clear();
    const QStringList recent = recentDatabases();
    for (qsizetype i = 0; i < recent.size(); ++i) {
        const QString &path = recent[i];
        // "&1 stocks.db": a digit to choose it by, the folder in the tooltip.
        QAction *entry = m_ui->recentdb->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QFileInfo(path).fileName().replace(QLatin1Char('&'), QStringLiteral("&&"))));
        entry->setToolTip(QDir::toNativeSeparators(path));
        entry->setStatusTip(QDir::toNativeSeparators(path));
        entry->setEnabled(QFileInfo::exists(path));
        connect(entry, &QAction::triggered, this, [path] { switchDatabase(path); });
    }
    if (recent.isEmpty())
        m_ui->recentdb->addAction(tr("(none)"))->setEnabled(false);
}

void Form11::Command1_Click()
{
    msgBox(importantInformation(), OkCancel, tr("Special Information !!"));
}

void Form11::Timer1_Timer()
{
    // The system's time format with seconds, without the time zone the long form may add.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    m_ui->Label3->setText(QLocale::system().toString(QTime::currentTime(), format.trimmed()));
}

void Form11::visit_Click()
{
    // The offline site is a folder: open its front page rather than a file manager.
    const QUrl site = config::siteRoot();
    const QUrl page = site.isLocalFile() ? site.resolved(QUrl(QStringLiteral("index.html"))) : site;
    if (QDesktopServices::openUrl(page))
        return;
    // No web browser to hand the page to: the program has a window of its own for it.
    if (choiceBox(noBrowserMessage(), tr("Visit Our Website"),
                  {tr("&Open in the Program's Browser"), tr("Cancel")}, 0, 1) != 0)
        return;
    if (Screen *browser = ScreenRegistry::get(QStringLiteral("frmBrowser"))) {
        browser->setProperty("StartingAddress", page.toString());
        browser->load();
    }
}

QString Form11::noBrowserMessage()
{
    return tr("No web browser is installed to show the website, or none could be started. The "
              "program can show it in a browser window of its own.");
}

void Form11::quit_Click()
{
    quitProgram();
}

} // namespace vantora
