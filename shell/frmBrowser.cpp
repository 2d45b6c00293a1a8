// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/frmBrowser.h"

#include "app/banner.h"
#include "app/registry.h"
#include "common/config.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineView>
#include <algorithm>
#include <cmath>

namespace vantora {

namespace {

// --- imlIcons: the six 24 x 24 toolbar pictures, drawn for the screen's pixel ratio ---------

QPixmap blankIcon(qreal ratio)
{
    QPixmap pixmap(QSize(24, 24) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap arrowIcon(qreal ratio, bool back)
{
    QPixmap pixmap = blankIcon(ratio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient disc(0, 1, 0, 23);
    disc.setColorAt(0, QColor(0x5c, 0xc2, 0x7a));
    disc.setColorAt(1, QColor(0x1f, 0x7a, 0x3e));
    p.setPen(QPen(QColor(0x0e, 0x4d, 0x24), 1));
    p.setBrush(disc);
    p.drawEllipse(QRectF(1.5, 1.5, 21, 21));
    if (!back) {
        p.translate(24, 0);
        p.scale(-1, 1);
    }
    QPainterPath arrow;
    arrow.moveTo(5.5, 12);
    arrow.lineTo(12, 5.8);
    arrow.lineTo(12, 9.5);
    arrow.lineTo(18.5, 9.5);
    arrow.lineTo(18.5, 14.5);
    arrow.lineTo(12, 14.5);
    arrow.lineTo(12, 18.2);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(arrow);
    return pixmap;
}

QPixmap stopIcon(qreal ratio)
{
    QPixmap pixmap = blankIcon(ratio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF octagon;
    for (int i = 0; i < 8; ++i) {
        const double angle = M_PI / 8 + i * M_PI / 4;
        octagon << QPointF(12 + 10.5 * std::cos(angle), 12 + 10.5 * std::sin(angle));
    }
    QLinearGradient fill(0, 2, 0, 22);
    fill.setColorAt(0, QColor(0xf0, 0x4a, 0x3a));
    fill.setColorAt(1, QColor(0xb0, 0x17, 0x12));
    p.setPen(QPen(Qt::white, 1.4));
    p.setBrush(fill);
    p.drawPolygon(octagon);
    p.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8.2, 8.2), QPointF(15.8, 15.8));
    p.drawLine(QPointF(15.8, 8.2), QPointF(8.2, 15.8));
    return pixmap;
}

QPixmap refreshIcon(qreal ratio)
{
    QPixmap pixmap = blankIcon(ratio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // The page, with a folded corner.
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(14.5, 1.5);
    page.lineTo(19.5, 6.5);
    page.lineTo(19.5, 22.5);
    page.lineTo(3.5, 22.5);
    page.closeSubpath();
    p.setPen(QPen(QColor(0x6b, 0x77, 0x8a), 1));
    p.setBrush(QColor(0xfb, 0xfc, 0xfe));
    p.drawPath(page);
    p.setBrush(QColor(0xd9, 0xdf, 0xe8));
    p.drawPolygon(QPolygonF({QPointF(14.5, 1.5), QPointF(14.5, 6.5), QPointF(19.5, 6.5)}));
    // Two circular arrows chasing each other.
    const QColor green(0x1f, 0x8a, 0x46);
    p.setPen(QPen(green, 2.2, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    const QRectF circle(6.5, 8.5, 11, 11);
    p.drawArc(circle, 30 * 16, 130 * 16);
    p.drawArc(circle, 210 * 16, 130 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(green);
    p.drawPolygon(QPolygonF({QPointF(17.8, 9.6), QPointF(18.6, 15.2), QPointF(13.8, 12.4)}));
    p.drawPolygon(QPolygonF({QPointF(6.2, 18.4), QPointF(5.4, 12.8), QPointF(10.2, 15.6)}));
    return pixmap;
}

QPixmap homeIcon(qreal ratio)
{
    QPixmap pixmap = blankIcon(ratio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x6b, 0x77, 0x8a), 1));
    p.setBrush(QColor(0xfb, 0xfc, 0xfe));
    p.drawRect(QRectF(5.5, 11, 13, 11.5));
    // Chimney, then the roof over it.
    p.setBrush(QColor(0x9c, 0x4a, 0x2c));
    p.drawRect(QRectF(15, 3.5, 2.6, 6));
    QPolygonF roof({QPointF(1.5, 12.5), QPointF(12, 2.5), QPointF(22.5, 12.5)});
    p.setPen(QPen(QColor(0x9a, 0x6b, 0x10), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xf2, 0xc1, 0x4e));
    p.drawPolygon(roof);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0b, 0x2a, 0x5b));
    p.drawRect(QRectF(10, 15.5, 4.2, 7));
    p.setBrush(QColor(0x7f, 0xb4, 0xe6));
    p.drawRect(QRectF(15.6, 14, 2.2, 2.4));
    return pixmap;
}

QPixmap searchIcon(qreal ratio)
{
    QPixmap pixmap = blankIcon(ratio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // The globe.
    const QRectF globe(1.5, 1.5, 16, 16);
    QRadialGradient sea(QPointF(7, 6), 12);
    sea.setColorAt(0, QColor(0x8f, 0xd0, 0xff));
    sea.setColorAt(1, QColor(0x1f, 0x66, 0xb8));
    p.setPen(QPen(QColor(0x0b, 0x3a, 0x78), 1));
    p.setBrush(sea);
    p.drawEllipse(globe);
    p.setPen(QPen(QColor(255, 255, 255, 190), 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(6, 1.5, 7, 16));
    p.drawLine(QPointF(9.5, 1.5), QPointF(9.5, 17.5));
    p.drawLine(QPointF(1.5, 9.5), QPointF(17.5, 9.5));
    p.drawArc(QRectF(2.5, -2, 14, 9), 200 * 16, 140 * 16);
    p.drawArc(QRectF(2.5, 12, 14, 9), 20 * 16, 140 * 16);
    // The magnifier over its lower right.
    p.setPen(QPen(QColor(0x9a, 0x6b, 0x10), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18.2, 18.2), QPointF(22, 22));
    p.setPen(QPen(QColor(0x33, 0x3d, 0x4d), 1.8));
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QPointF(14.5, 14.5), 5, 5);
    return pixmap;
}

QList<QPixmap> imlIcons(qreal ratio)
{
    return {arrowIcon(ratio, true), arrowIcon(ratio, false), stopIcon(ratio),
            refreshIcon(ratio),     homeIcon(ratio),         searchIcon(ratio)};
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
    const QList<QPixmap> icons = imlIcons(window()->devicePixelRatioF());
    QAction *const buttons[] = {m_ui->Back,    m_ui->Forward, m_ui->Stop,
                                m_ui->Refresh, m_ui->Home,    m_ui->Search};
    for (int i = 0; i < 6; ++i)
        buttons[i]->setIcon(QIcon(icons.at(i)));

    // The address box takes what is typed as it is: no completion, no new entries on Enter.
    m_ui->cboAddress->setCompleter(nullptr);
    m_ui->cboAddress->lineEdit()->installEventFilter(this);

    m_timTimer = new QTimer(window());
    m_timTimer->setObjectName(QStringLiteral("timTimer"));
    m_timTimer->setInterval(5);

    QWebEngineView *view = m_ui->brwWebBrowser;
    guardLocalPages(view);
    connect(view, &QWebEngineView::loadStarted, this, [this] {
        m_loading = true;
        m_loadRequested = false;
    });
    connect(view, &QWebEngineView::loadFinished, this, [this](bool) {
        m_loading = false;
        m_loadRequested = false;
        brwWebBrowser_DownloadComplete();
    });
    connect(view, &QWebEngineView::urlChanged, this, &frmBrowser::brwWebBrowser_NavigateComplete);
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
    QWebEngineView *view = m_ui->brwWebBrowser;
    if (key == QLatin1String("Back")) {
        if (view->history()->canGoBack())
            expectLoad();
        view->back();
    } else if (key == QLatin1String("Forward")) {
        if (view->history()->canGoForward())
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
        window()->setWindowTitle(QStringLiteral("Working..."));
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
        } else if (watched == m_ui->cboAddress->lineEdit() && event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            const int code = enter ? 13 : (key->text().isEmpty() ? 0 : key->text().at(0).unicode());
            cboAddress_KeyPress(code);
            // The box's own Enter handling would pick a matching list entry and navigate a
            // second time, to that entry's text rather than the typed one.
            if (enter)
                return true;
        }
    }
    return Screen::eventFilter(watched, event);
}

} // namespace vantora
