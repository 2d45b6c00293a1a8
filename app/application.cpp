// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include <QApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <unistd.h>

namespace vantora {

void prepareApplication()
{
    // The web engine reports its whole configuration at start-up; nobody using the program needs
    // it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The web engine's renderer sandbox cannot run as root (CI, kiosks); everyone else keeps it.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
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
