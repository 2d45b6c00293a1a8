// SPDX-License-Identifier: GPL-3.0-or-later
// The web engine's side of the program's web views, built as a module of its own that the
// program loads when it makes its first web view (app/webview.h). It links only Qt: what it needs
// of the program (the offline site's folder) it is handed.
#include <QColor>
#include <QFileInfo>
#include <QQuickWindow>
#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <QtWebEngineQuick>

namespace {

using SiteRoot = QUrl (*)();

// A file of the offline site (links resolved, so that none leads out of it).
bool insideSite(const QUrl &root, const QUrl &url)
{
    if (!root.isLocalFile())
        return false;
    const QString folder = QFileInfo(root.toLocalFile()).canonicalFilePath();
    const QString file = QFileInfo(url.toLocalFile()).canonicalFilePath();
    return !folder.isEmpty() && file.startsWith(folder + QLatin1Char('/'));
}

bool reachesTheNetwork(const QUrl &url)
{
    static const QStringList schemes{QStringLiteral("http"), QStringLiteral("https"),
                                     QStringLiteral("ws"), QStringLiteral("wss"),
                                     QStringLiteral("ftp")};
    return schemes.contains(url.scheme(), Qt::CaseInsensitive);
}

// Local pages may read local files (the site's pages embed one another), so what a page loads
// besides itself is checked here: another local file could be read by its script and sent away.
class LocalPageGuard final : public QWebEngineUrlRequestInterceptor
{
public:
    LocalPageGuard(SiteRoot siteRoot, QObject *parent)
        : QWebEngineUrlRequestInterceptor(parent)
        , m_siteRoot(siteRoot)
    {
    }

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame)
            return;
        const QUrl wanted = info.requestUrl();
        if (wanted.isLocalFile())
            info.block(!insideSite(m_siteRoot(), wanted));
        else if (info.firstPartyUrl().isLocalFile() && reachesTheNetwork(wanted))
            info.block(true);
    }

private:
    SiteRoot m_siteRoot;
};

QWebEngineView *engine(QWidget *view)
{
    return qobject_cast<QWebEngineView *>(view);
}

} // namespace

// Called once, right after the module is loaded and before its first view.
extern "C" Q_DECL_EXPORT void vantora_web_start()
{
    // The engine's OpenGL context, shared with its renderer, as it would have made it with the
    // application object (it warns that it comes late; the program's side hides that).
    QtWebEngineQuick::initialize();
    // The views draw through Qt Quick's software renderer: a window then takes in a web view
    // made after it is on the screen as it is, where the OpenGL renderer would make the window
    // anew (it vanishes for a moment and comes back white). The banners and the offline site
    // need no graphics card.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

// A web view whose local pages reach nothing outside the site (see LocalPageGuard); the
// program's side reaches its url, title, loads and history through Qt's object model.
extern "C" Q_DECL_EXPORT QWidget *vantora_web_view(QWidget *parent, SiteRoot siteRoot)
{
    auto *view = new QWebEngineView(parent);
    view->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    view->page()->setUrlRequestInterceptor(new LocalPageGuard(siteRoot, view->page()));
    return view;
}

extern "C" Q_DECL_EXPORT bool vantora_web_can_go(QWidget *view, bool back)
{
    const QWebEngineView *web = engine(view);
    return web && (back ? web->history()->canGoBack() : web->history()->canGoForward());
}

extern "C" Q_DECL_EXPORT void vantora_web_set_background(QWidget *view, const QColor *colour)
{
    if (QWebEngineView *web = engine(view))
        web->page()->setBackgroundColor(*colour);
}

extern "C" Q_DECL_EXPORT void vantora_web_background(QWidget *view, QColor *colour)
{
    if (QWebEngineView *web = engine(view))
        *colour = web->page()->backgroundColor();
}
