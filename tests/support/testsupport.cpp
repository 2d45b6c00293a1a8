// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/testsupport.h"

#include "app/application.h"
#include "app/navigation.h"
#include "app/registry.h"
#include "common/config.h"
#include "tests/support/testdb.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPalette>
#include <QSettings>

namespace vantora::test {

ScriptedDialogs::ScriptedDialogs()
    : m_previousDialogs(dialogHandler())
    , m_previousBeep(beepHandler())
{
    setDialogHandler([this](const DialogRequest &request) {
        m_requests << request;
        DialogReply reply;
        if (request.kind == DialogRequest::Choice)
            reply.button = request.defaultButton;
        const bool asksText =
            request.kind == DialogRequest::Input || request.kind == DialogRequest::Files ||
            request.kind == DialogRequest::OpenFile || request.kind == DialogRequest::SaveFile;
        if (!asksText) {
            if (!m_buttons.empty()) {
                reply.button = m_buttons.front();
                m_buttons.pop_front();
            }
        } else if (!m_texts.empty()) {
            reply.text = m_texts.front();
            m_texts.pop_front();
        }
        return reply;
    });
    setBeepHandler([this] { ++m_beeps; });
}

ScriptedDialogs::~ScriptedDialogs()
{
    setDialogHandler(m_previousDialogs);
    setBeepHandler(m_previousBeep);
}

QStringList ScriptedDialogs::messages() const
{
    QStringList list;
    for (const DialogRequest &request : m_requests)
        if (request.kind == DialogRequest::Message)
            list << request.text;
    return list;
}

void ScriptedDialogs::clear()
{
    m_buttons.clear();
    m_texts.clear();
    m_requests.clear();
    m_beeps = 0;
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void unloadAllScreens()
{
    for (Screen *screen : ScreenRegistry::loaded())
        screen->unload();
    flushDeletes();
}

Screen *mainWindow()
{
    return ScreenRegistry::get(QStringLiteral("Form11"));
}

void reportNoControl(const Screen *screen, const QString &name)
{
    const QString what = !screen ? QStringLiteral("no screen")
                         : !screen->window()
                             ? QStringLiteral("%1 is not loaded").arg(screen->name())
                             : QStringLiteral("%1 has no control").arg(screen->name());
    QTest::qFail(qPrintable(QStringLiteral("%1: %2").arg(what, name)), __FILE__, __LINE__);
}

QWidget *standInParent()
{
    static QWidget *parent = new QWidget;
    return parent;
}

namespace {

// The widget keys go to; none (no window is active yet) fails the running test instead of
// sending keys nowhere.
QWidget *keyTarget()
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus)
        QTest::qFail("no widget has the keyboard focus: activate the window and wait for it",
                     __FILE__, __LINE__);
    return focus;
}

} // namespace

void pressKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (QWidget *target = keyTarget())
        QTest::keyClick(target, Qt::Key(key), modifiers);
}

void typeText(const QString &text)
{
    QWidget *target = keyTarget();
    for (const QChar c : text)
        if (target)
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void prepareTestApplication()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareApplication();
}

void nameTestApplication(QApplication &app)
{
    nameApplication(app);
    // The screens open the database the test made.
    followTestDatabases([](const QString &path) { config::setDatabasePath(path); });
    // A dark desktop (VANTORA_TEST_DESKTOP=dark): the style and palette such a desktop gives,
    // in place before the program applies its look, as the platform theme would put them.
    if (qEnvironmentVariable("VANTORA_TEST_DESKTOP") == QLatin1String("dark")) {
        app.setStyle(QStringLiteral("Fusion"));
        QPalette dark;
        const std::pair<QPalette::ColorRole, QRgb> roles[] = {
            {QPalette::Window, 0x2d2d2d},     {QPalette::WindowText, 0xffffff},
            {QPalette::Base, 0x1e1e1e},       {QPalette::AlternateBase, 0x353535},
            {QPalette::Text, 0xffffff},       {QPalette::Button, 0x3c3c3c},
            {QPalette::ButtonText, 0xffffff}, {QPalette::Highlight, 0x3daee9},
            {QPalette::Light, 0x505050},      {QPalette::Dark, 0x101010},
            {QPalette::Mid, 0x303030},        {QPalette::ToolTipBase, 0x000000},
            {QPalette::ToolTipText, 0xffffff}};
        for (const auto &[role, rgb] : roles)
            dark.setColor(role, QColor(rgb));
        app.setPalette(dark);
    }
    // Tests see the windows as the program shows them.
    applyStyleSheet(app);
    // Windows open where the program places them, not where an earlier test run left them.
    QSettings(QSettings::UserScope, app.applicationName(), app.applicationName())
        .remove(QStringLiteral("windows"));
    // A test never ends the process through the program's Quit.
    setQuitHandler([] {});
    // A dialog no test scripted would wait for an answer for ever: it fails the test instead.
    setDialogHandler([](const DialogRequest &request) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected dialog \"%1\": %2")
                                    .arg(request.title, request.text.left(200))),
                     __FILE__, __LINE__);
        DialogReply reply;
        reply.button = request.kind == DialogRequest::Choice ? request.defaultButton : AnswerOk;
        return reply;
    });
}

void finishTestApplication()
{
    ScreenRegistry::clear();
    delete standInParent();
    flushDeletes();
}

} // namespace vantora::test
