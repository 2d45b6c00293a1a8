// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/webview.h"

#include "common/config.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QVBoxLayout>
#include <cstdio>

namespace vantora {
namespace {

using SiteRoot = QUrl (*)();

// The module's functions (app/webmodule.cpp); all null when it could not be loaded.
struct Module
{
    QWidget *(*view)(QWidget *parent, SiteRoot siteRoot) = nullptr;
    bool (*canGo)(QWidget *view, bool back) = nullptr;
    void (*setBackground)(QWidget *view, const QColor *colour) = nullptr;
    void (*background)(QWidget *view, QColor *colour) = nullptr;
};

QUrl siteRoot()
{
    return config::siteRoot();
}

QtMessageHandler g_handler = nullptr;

// The engine warns when it starts after the application object, as it does here by design.
void loadingMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    static const QLatin1String late[] = {
        QLatin1String("Qt WebEngine seems to be initialized from a plugin"),
        QLatin1String("QtWebEngineQuick::initialize() called with"),
        QLatin1String("Attribute Qt::AA_ShareOpenGLContexts must be set before")};
    for (const QLatin1String &text : late)
        if (message.startsWith(text))
            return;
    if (g_handler)
        g_handler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

Module load()
{
    const QString folder = QCoreApplication::applicationDirPath();
    QLibrary library;
    QString failure;
    for (const QString &place : {folder, folder + QStringLiteral("/" VANTORA_MODULE_FROM_BIN)}) {
        library.setFileName(place + QStringLiteral("/vantora-web.so"));
        g_handler = qInstallMessageHandler(loadingMessage);
        const bool loaded = library.load();
        const auto start = reinterpret_cast<void (*)()>(library.resolve("vantora_web_start"));
        if (start)
            start();
        qInstallMessageHandler(g_handler);
        if (loaded && start)
            break;
        if (failure.isEmpty())
            failure = library.errorString();
    }
    Module module;
    if (library.isLoaded() && library.resolve("vantora_web_start")) {
        module.view = reinterpret_cast<decltype(module.view)>(library.resolve("vantora_web_view"));
        module.canGo =
            reinterpret_cast<decltype(module.canGo)>(library.resolve("vantora_web_can_go"));
        module.setBackground = reinterpret_cast<decltype(module.setBackground)>(
            library.resolve("vantora_web_set_background"));
        module.background = reinterpret_cast<decltype(module.background)>(
            library.resolve("vantora_web_background"));
        if (!module.view || !module.canGo || !module.setBackground || !module.background) {
            failure = library.errorString();
            module = {};
        }
    }
    if (!module.view)
        qWarning("vantora: web pages cannot be shown: %s", qPrintable(failure));
    return module;
}

const Module &module()
{
    static const Module loaded = load();
    return loaded;
}

} // namespace

WebView::WebView(QWidget *parent)
    : QWidget(parent)
{
    if (!module().view)
        return;
    m_view = module().view(this, siteRoot);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);
    connect(m_view, SIGNAL(loadStarted()), this, SIGNAL(loadStarted()));
    connect(m_view, SIGNAL(loadFinished(bool)), this, SIGNAL(loadFinished(bool)));
    connect(m_view, SIGNAL(urlChanged(QUrl)), this, SIGNAL(urlChanged(QUrl)));
}

QUrl WebView::url() const
{
    return m_view ? m_view->property("url").toUrl() : QUrl();
}

QString WebView::title() const
{
    return m_view ? m_view->property("title").toString() : QString();
}

void WebView::setUrl(const QUrl &url)
{
    if (m_view)
        m_view->setProperty("url", url);
}

bool WebView::canGoBack() const
{
    return m_view && module().canGo(m_view, true);
}

bool WebView::canGoForward() const
{
    return m_view && module().canGo(m_view, false);
}

void WebView::back()
{
    if (m_view)
        QMetaObject::invokeMethod(m_view, "back");
}

void WebView::forward()
{
    if (m_view)
        QMetaObject::invokeMethod(m_view, "forward");
}

void WebView::reload()
{
    if (m_view)
        QMetaObject::invokeMethod(m_view, "reload");
}

void WebView::stop()
{
    if (m_view)
        QMetaObject::invokeMethod(m_view, "stop");
}

QColor WebView::background() const
{
    QColor colour;
    if (m_view)
        module().background(m_view, &colour);
    return colour;
}

void WebView::setBackground(const QColor &colour)
{
    if (m_view)
        module().setBackground(m_view, &colour);
}

} // namespace vantora
