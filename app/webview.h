// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QUrl>
#include <QWidget>

namespace vantora {

// A web view of the program. The web engine lives in a module of its own (vantora-web.so, beside
// the program or in its library folder), loaded when the first view is made: linked into the
// program, it would start its graphics before the main window could paint. A page opened from
// a local file runs its scripts and loads the offline site's own files, but no other local file
// and nothing from the network; what the user navigates to is not held back. Without the module
// the view stays empty, and a warning says why.
class WebView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WebView)

public:
    explicit WebView(QWidget *parent = nullptr);

    QUrl url() const;
    QString title() const;
    void setUrl(const QUrl &url);
    bool canGoBack() const;
    bool canGoForward() const;
    void back();
    void forward();
    void reload();
    void stop();
    // What the page shows before it has painted.
    QColor background() const;
    void setBackground(const QColor &colour);
    // The web engine's own view (a QWebEngineView), null without the module.
    QWidget *engineView() const { return m_view; }

Q_SIGNALS:
    void loadStarted();
    void loadFinished(bool ok);
    void urlChanged(const QUrl &url);

private:
    QWidget *m_view = nullptr;
};

} // namespace vantora
