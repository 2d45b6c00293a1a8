// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bannerview.h"

#include "app/banner.h"
#include "app/webview.h"
#include "common/config.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

namespace vantora {

BannerView::BannerView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QColor BannerView::paper() const
{
    return m_colour.isValid() ? m_colour : palette().color(QPalette::Window);
}

void BannerView::setColour(const QColor &colour)
{
    m_colour = colour;
    if (m_view)
        m_view->setBackground(paper());
    update();
}

void showBanner(BannerView *banner)
{
    if (banner)
        banner->navigate(config::bannerUrl());
}

void BannerView::navigate(const QUrl &url)
{
    m_url = url;
    if (m_view)
        m_view->setUrl(url);
}

void BannerView::paintEvent(QPaintEvent *event)
{
    QPainter(this).fillRect(event->rect(), paper());
    // Queued, so that this paint reaches the screen before the web engine takes its time to start.
    if (!m_view && !m_viewScheduled) {
        m_viewScheduled = true;
        QTimer::singleShot(0, this, &BannerView::makeView);
    }
}

void BannerView::makeView()
{
    m_view = new WebView(this);
    m_view->setBackground(paper());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    if (!m_url.isEmpty())
        navigate(m_url);
    m_view->show();
    Q_EMIT viewMade();
}

} // namespace vantora
