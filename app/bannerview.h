// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QUrl>
#include <QWidget>

namespace vantora {

class WebView;

// A screen's banner view. It paints itself in the banner's colour with the window's first paint
// and makes its web view right after it, so that a window is on the screen before the web engine
// starts; the page then fills in where the colour was, with no white in between.
class BannerView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BannerView)
    // Set by the style sheet; the page's own background until it has painted.
    Q_PROPERTY(QColor colour READ colour WRITE setColour)

public:
    explicit BannerView(QWidget *parent = nullptr);

    // Opens the page in the web view: now, or as soon as the web view is made.
    void navigate(const QUrl &url);
    // Null until the window has first been painted.
    WebView *view() const { return m_view; }

    QColor colour() const { return m_colour; }
    void setColour(const QColor &colour);

Q_SIGNALS:
    void viewMade();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor paper() const;
    void makeView();

    WebView *m_view = nullptr;
    QUrl m_url;
    QColor m_colour; // the window's colour where the style sheet sets none
    bool m_viewScheduled = false;
};

} // namespace vantora
