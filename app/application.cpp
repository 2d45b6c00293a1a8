#include "app/application.h"

#include <QApplication>
#include <QFileInfo>
#include <QLoggingCategory>

namespace vantora {

void prepareApplication()
{
    // The web engine reports its whole configuration at start-up; nobody using the program needs it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Web views run without the renderer's sandbox when the program runs as root (CI, kiosks).
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

void nameApplication(QApplication &app)
{
    // The settings are kept under the program file's name without its extension.
    app.setApplicationName(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    app.setApplicationDisplayName(QString());
    app.setQuitOnLastWindowClosed(true);
}

} // namespace vantora
