// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include "data/store/privatefiles.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSettings>
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
    // Before anything is saved there: the settings may hold a quote source's key.
    const QString settings =
        QSettings(QSettings::UserScope, QStringLiteral("vantora"), QStringLiteral("vantora"))
            .fileName();
    QString problem;
    if (!makeSettingsFilePrivate(settings, &problem))
        qWarning("vantora: %s", qPrintable(problem));
}

void nameApplication(QApplication &app)
{
    // The settings are kept under the program file's name without its extension.
    app.setApplicationName(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    app.setApplicationDisplayName(QString());
    app.setQuitOnLastWindowClosed(true);
}

QString expandStyleSheet(const QString &source)
{
    static const QRegularExpression definition(
        QStringLiteral(R"(^[ \t]*@([A-Za-z][\w-]*)[ \t]*:[ \t]*(.*?)[ \t]*;[ \t]*$)"),
        QRegularExpression::MultilineOption);
    static const QRegularExpression use(QStringLiteral(R"(@([A-Za-z][\w-]*))"));

    QHash<QString, QString> values;
    const auto expand = [&values](const QString &text) {
        QString result;
        qsizetype done = 0;
        for (const QRegularExpressionMatch &m : use.globalMatch(text)) {
            const auto found = values.constFind(m.captured(1));
            if (found == values.cend())
                continue;
            result += QStringView(text).mid(done, m.capturedStart() - done);
            result += *found;
            done = m.capturedEnd();
        }
        result += QStringView(text).mid(done);
        return result;
    };

    // A value may use the names defined above it (a gradient of two named colours).
    QString rules;
    qsizetype done = 0;
    for (const QRegularExpressionMatch &m : definition.globalMatch(source)) {
        rules += QStringView(source).mid(done, m.capturedStart() - done);
        values.insert(m.captured(1), expand(m.captured(2)));
        done = m.capturedEnd();
    }
    rules += QStringView(source).mid(done);
    return expand(rules);
}

void applyStyleSheet(QApplication &app)
{
    QFile file(QString::fromLatin1(kStyleSheetResource));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qWarning("The style sheet %s cannot be read: %s", kStyleSheetResource,
                 qPrintable(file.errorString()));
        return;
    }
    app.setStyleSheet(expandStyleSheet(QString::fromUtf8(file.readAll())));
}

} // namespace vantora
