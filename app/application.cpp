// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include "common/config.h"
#include "data/store/privatefiles.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QPalette>
#include <QRegularExpression>
#include <QSettings>
#include <QTranslator>
#include <memory>
#include <unistd.h>

namespace vantora {

void prepareApplication()
{
    // The web engine reports its whole configuration at start-up; nobody using the program needs
    // it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    // The web engine's renderer sandbox cannot run as root (CI, kiosks); everyone else keeps it.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Before anything is saved there: the settings may hold a quote source's key.
    const QString settings =
        QSettings(QSettings::UserScope, QStringLiteral("vantora"), QStringLiteral("vantora"))
            .fileName();
    if (const DbError failure = makeSettingsFilePrivate(settings))
        qWarning("vantora: %s", qPrintable(failure.message));
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

QPalette programPalette(const QString &source)
{
    // The sheet names a colour for every role ("@palette-window-text"): the program keeps its own
    // light look on a dark desktop, where the desktop's palette would give white text on the
    // cream panels and indicators that show no state.
    struct Role
    {
        const char *name;
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
    };
    static const Role roles[] = {
        {"window", QPalette::All, QPalette::Window},
        {"window-text", QPalette::All, QPalette::WindowText},
        {"base", QPalette::All, QPalette::Base},
        {"alternate-base", QPalette::All, QPalette::AlternateBase},
        {"text", QPalette::All, QPalette::Text},
        {"placeholder-text", QPalette::All, QPalette::PlaceholderText},
        {"button", QPalette::All, QPalette::Button},
        {"button-text", QPalette::All, QPalette::ButtonText},
        {"bright-text", QPalette::All, QPalette::BrightText},
        {"light", QPalette::All, QPalette::Light},
        {"midlight", QPalette::All, QPalette::Midlight},
        {"mid", QPalette::All, QPalette::Mid},
        {"dark", QPalette::All, QPalette::Dark},
        {"shadow", QPalette::All, QPalette::Shadow},
        {"highlight", QPalette::All, QPalette::Highlight},
        {"highlighted-text", QPalette::All, QPalette::HighlightedText},
        {"link", QPalette::All, QPalette::Link},
        {"link-visited", QPalette::All, QPalette::LinkVisited},
        {"tooltip-base", QPalette::All, QPalette::ToolTipBase},
        {"tooltip-text", QPalette::All, QPalette::ToolTipText},
        {"disabled-text", QPalette::Disabled, QPalette::Text},
        {"disabled-text", QPalette::Disabled, QPalette::WindowText},
        {"disabled-text", QPalette::Disabled, QPalette::ButtonText},
    };
    // "@palette: window @strip, window-text @ink, ...;" read as the sheet reads its names.
    const QChar mark(0x1);
    const QString value =
        expandStyleSheet(source + QStringLiteral("\n") + mark + QStringLiteral("@palette"))
            .section(mark, -1);
    QHash<QString, QColor> colours;
    for (const QString &entry : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString role = entry.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        colours.insert(role, QColor::fromString(entry.section(QLatin1Char(' '), 1, -1,
                                                              QString::SectionSkipEmpty)));
    }
    QPalette palette;
    for (const Role &r : roles) {
        const QColor colour = colours.value(QString::fromLatin1(r.name));
        if (colour.isValid())
            palette.setColor(r.group, r.role, colour);
    }
    return palette;
}

bool installTranslations(const QLocale &locale)
{
    static std::unique_ptr<QTranslator> own, qtBase, webEngine;
    for (std::unique_ptr<QTranslator> *installed : {&own, &qtBase, &webEngine})
        if (*installed) {
            QCoreApplication::removeTranslator(installed->get());
            installed->reset();
        }
    // As gettext does, the C locale keeps the program's own texts whatever else is set.
    if (locale.language() == QLocale::C)
        return false;
    const QString folder =
        config::dataFolder(QStringLiteral("translations")) + QStringLiteral("/translations");
    auto program = std::make_unique<QTranslator>();
    if (!program->load(locale, QStringLiteral("vantora"), QStringLiteral("_"), folder))
        return false;
    QCoreApplication::installTranslator(program.get());
    own = std::move(program);
    // Qt's buttons and dialogs in the same language, not in a language of their own.
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (auto [installed, name] :
         {std::pair{&qtBase, "qtbase"}, std::pair{&webEngine, "qtwebengine"}}) {
        auto qt = std::make_unique<QTranslator>();
        if (qt->load(locale, QString::fromLatin1(name), QStringLiteral("_"), qtFolder)) {
            QCoreApplication::installTranslator(qt.get());
            *installed = std::move(qt);
        }
    }
    return true;
}

void applyStyleSheet(QApplication &app)
{
    QFile file(QString::fromLatin1(kStyleSheetResource));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qWarning("The style sheet %s cannot be read: %s", kStyleSheetResource,
                 qPrintable(file.errorString()));
        return;
    }
    const QString source = QString::fromUtf8(file.readAll());
    app.setPalette(programPalette(source));
    app.setStyleSheet(expandStyleSheet(source));
}

} // namespace vantora
