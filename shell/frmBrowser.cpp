// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/frmBrowser.h"

#include "app/banner.h"
#include "app/registry.h"
#include "common/config.h"

#include <QAction>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace vantora {

namespace {

// imlIcons: the toolbar's pictures, in the order of its buttons.
QList<QIcon> imlIcons()
{
    QList<QIcon> icons;
    for (const char *name : {"back", "forward", "stop", "refresh", "home", "search"})
        icons << QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
    return icons;
}

} // namespace

QUrl frmBrowser::homePage()
{
    return config::siteRoot().resolved(QUrl(QStringLiteral("index.html")));
}

QUrl frmBrowser::searchPage()
{
    return config::siteRoot().resolved(QUrl(QStringLiteral("search.html")));
}

int frmBrowser::toPixels(int twips)
{
    return static_cast<int>(std::lround(twips / static_cast<double>(kTwipsPerPixel)));
}

bool frmBrowser::busy() const
{
    // The view starts a requested load a little later; until then it counts as busy already,
    // unless it silently dropped the request.
    constexpr qint64 kRequestTimeoutMs = 3000;
    return m_loading || (m_loadRequested && m_requestAge.elapsed() < kRequestTimeoutMs);
}

QString frmBrowser::locationName() const
{
    if (!m_ui)
        return {};
    const QUrl url = m_ui->brwWebBrowser->url();
    const QString title = m_ui->brwWebBrowser->title();
    // The view names a page without a title by its address (or a local file by its name);
    // such a page is named by its path when local, else by its address.
    const bool untitled = title.isEmpty() || title == url.toString() ||
                          title == url.toDisplayString() ||
                          (url.isLocalFile() && title == url.fileName());
    if (untitled)
        return url.isLocalFile() ? url.toLocalFile() : url.toString();
    return title;
}

QString frmBrowser::locationAddress() const
{
    return m_ui ? m_ui->brwWebBrowser->url().toString() : QString();
}

void frmBrowser::connectHandlers()
{
    const QList<QIcon> icons = imlIcons();
    QAction *const buttons[] = {m_ui->Back,    m_ui->Forward, m_ui->Stop,
                                m_ui->Refresh, m_ui->Home,    m_ui->Search};
    for (int i = 0; i < 6; ++i)
        buttons[i]->setIcon(icons.at(i));

    // The address box takes what is typed as it is: no completion, no new entries on Enter, and
    // no jump to a list entry that matches the text when the box loses the focus.
    QComboBox *address = m_ui->cboAddress;
    address->setCompleter(nullptr);
    QObject::disconnect(address->lineEdit(), &QLineEdit::editingFinished, address, nullptr);
    // Keys reach the box itself, which hands them to its line edit without asking filters; a
    // key sent to the line edit directly passes its own filter.
    address->installEventFilter(this);
    address->lineEdit()->installEventFilter(this);
    address->lineEdit()->setAccessibleName(address->accessibleName().isEmpty()
                                               ? m_ui->lblAddress->text().remove(QLatin1Char('&'))
                                               : address->accessibleName());

    m_timTimer = new QTimer(window());
    m_timTimer->setObjectName(QStringLiteral("timTimer"));
    m_timTimer->setInterval(5);

    WebView *view = m_ui->brwWebBrowser;
    connect(view, &WebView::loadStarted, this, [this] {
        m_loading = true;
        m_loadRequested = false;
    });
    connect(view, &WebView::loadFinished, this, [this](bool) {
        m_loading = false;
        m_loadRequested = false;
        brwWebBrowser_DownloadComplete();
    });
    connect(view, &WebView::urlChanged, this, &frmBrowser::brwWebBrowser_NavigateComplete);
    connect(m_ui->tbToolBar, &QToolBar::actionTriggered, this, &frmBrowser::tbToolBar_ButtonClick);
    connect(m_ui->cboAddress, &QComboBox::activated, this, &frmBrowser::cboAddress_Click);
    connect(m_timTimer, &QTimer::timeout, this, &frmBrowser::timTimer_Timer);
}

void frmBrowser::Form_UnLoad()
{
    m_timTimer = nullptr;
    m_loading = false;
    m_loadRequested = false;
    m_navigationHold = false;
}

void frmBrowser::Form_Load()
{
    window()->show();
    m_ui->tbToolBar->repaint();
    Form_Resize();
    const int lblBottom = toTwips(m_ui->lblAddress->y()) + toTwips(m_ui->lblAddress->height());
    m_ui->cboAddress->move(toPixels(50), toPixels(lblBottom + 15));

    if (m_startingAddress.isEmpty())
        return;
    m_ui->cboAddress->setEditText(m_startingAddress);
    m_ui->cboAddress->addItem(m_startingAddress);
    m_timTimer->start();
    navigateTo(QUrl::fromUserInput(m_startingAddress));
}

void frmBrowser::Form_Resize()
{
    if (!m_ui)
        return;
    QWidget *form = window();
    // The toolbar and the address strip are aligned to the top: they span the window.
    const int toolbarHeight = m_ui->tbToolBar->sizeHint().height();
    m_ui->tbToolBar->setGeometry(0, 0, form->width(), toolbarHeight);
    m_ui->picAddress->setGeometry(0, toolbarHeight, form->width(), m_ui->picAddress->height());

    // The rule works in twips; a window too small for it (minimised) gives zero, never less.
    const int width = toTwips(form->width());
    const int height = toTwips(form->height());
    const int stripBottom = toTwips(m_ui->picAddress->y()) + toTwips(m_ui->picAddress->height());
    const int addressWidth = std::max(0, width - 100);
    const int viewWidth = std::max(0, width - 100);
    const int viewHeight = std::max(0, height - stripBottom - 100);
    m_ui->cboAddress->resize(toPixels(addressWidth), m_ui->cboAddress->height());
    m_ui->brwWebBrowser->resize(toPixels(viewWidth), toPixels(viewHeight));
}

void frmBrowser::tbToolBar_ButtonClick(QAction *Button)
{
    m_timTimer->start();
    // The button's key is its name.
    const QString key = Button->objectName();
    WebView *view = m_ui->brwWebBrowser;
    if (key == QLatin1String("Back")) {
        if (view->canGoBack())
            expectLoad();
        view->back();
    } else if (key == QLatin1String("Forward")) {
        if (view->canGoForward())
            expectLoad();
        view->forward();
    } else if (key == QLatin1String("Refresh")) {
        if (!view->url().isEmpty())
            expectLoad();
        view->reload();
    } else if (key == QLatin1String("Home")) {
        navigateTo(homePage());
    } else if (key == QLatin1String("Search")) {
        navigateTo(searchPage());
    } else if (key == QLatin1String("Stop")) {
        m_timTimer->stop();
        m_loadRequested = false;
        view->stop();
        window()->setWindowTitle(locationName());
    }
}

void frmBrowser::cboAddress_Click()
{
    if (m_navigationHold)
        return;
    m_timTimer->start();
    navigateTo(QUrl::fromUserInput(m_ui->cboAddress->currentText()));
}

void frmBrowser::cboAddress_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        cboAddress_Click();
}

void frmBrowser::timTimer_Timer()
{
    if (busy()) {
        window()->setWindowTitle(tr("Working..."));
    } else {
        m_timTimer->stop();
        window()->setWindowTitle(locationName());
    }
}

void frmBrowser::brwWebBrowser_DownloadComplete()
{
    window()->setWindowTitle(locationName());
}

void frmBrowser::brwWebBrowser_NavigateComplete()
{
    const QString address = locationAddress();
    if (address.isEmpty())
        return;
    window()->setWindowTitle(locationName());
    QComboBox *box = m_ui->cboAddress;
    // Most recent first, each address once.
    m_navigationHold = true;
    const int found = box->findText(address, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found >= 0)
        box->removeItem(found);
    box->insertItem(0, address);
    box->setCurrentIndex(0);
    m_navigationHold = false;
}

void frmBrowser::navigateTo(const QUrl &url)
{
    // An address the view cannot even try is a failing step: it is skipped.
    if (!url.isValid() || url.isEmpty())
        return;
    expectLoad();
    m_ui->brwWebBrowser->setUrl(url);
}

void frmBrowser::expectLoad()
{
    m_loadRequested = true;
    m_requestAge.start();
}

bool frmBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if (m_ui) {
        if (watched == window() && event->type() == QEvent::Resize) {
            Form_Resize();
        } else if ((watched == m_ui->cboAddress || watched == m_ui->cboAddress->lineEdit()) &&
                   event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            const int code = enter ? 13 : (key->text().isEmpty() ? 0 : key->text().at(0).unicode());
            cboAddress_KeyPress(code);
            // Enter navigates once, to the text as typed; the box's own Enter handling would
            // pick a matching list entry and navigate again, to that entry's text.
            if (enter)
                return true;
        }
    }
    return Screen::eventFilter(watched, event);
}

} // namespace vantora
