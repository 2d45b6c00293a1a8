// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/banner.h"

#include "common/config.h"

#include <QFileInfo>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace vantora {
namespace {

// A file of the offline site (links resolved, so that none leads out of it).
bool insideSite(const QUrl &url)
{
    const QUrl root = config::siteRoot();
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
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame)
            return;
        const QUrl wanted = info.requestUrl();
        if (wanted.isLocalFile())
            info.block(!insideSite(wanted));
        else if (info.firstPartyUrl().isLocalFile() && reachesTheNetwork(wanted))
            info.block(true);
    }
};

} // namespace

void showBanner(QWebEngineView *view)
{
    if (!view)
        return;
    guardLocalPages(view);
    view->setUrl(config::bannerUrl());
}

void guardLocalPages(QWebEngineView *view)
{
    QWebEnginePage *page = view->page();
    if (page->findChild<LocalPageGuard *>())
        return;
    view->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    page->setUrlRequestInterceptor(new LocalPageGuard(page));
}

} // namespace vantora
