// SPDX-License-Identifier: GPL-3.0-or-later
// The floors bench_startup measures the program against, built twice: a bare Qt Widgets window
// (linked to Qt Widgets only, so that it pays for nothing else), and with BARE_WEB_VIEW a bare
// window holding one web view that shows the page given as the argument, set up as the program
// sets up its web views.
//
//   bench_bare_window             bench_bare_webview URL

#include <QApplication>
#include <QWidget>

#ifdef BARE_WEB_VIEW
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <unistd.h>
#endif

int main(int argc, char *argv[])
{
#ifdef BARE_WEB_VIEW
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare window"));
#ifdef BARE_WEB_VIEW
    auto *layout = new QVBoxLayout(&window);
    auto *view = new QWebEngineView(&window);
    layout->addWidget(view);
    view->setUrl(QUrl(QString::fromLocal8Bit(argc > 1 ? argv[1] : "about:blank")));
#endif
    window.resize(560, 400);
    window.show();
    return QApplication::exec();
}
