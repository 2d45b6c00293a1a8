// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/screen.h"
#include "common/dialogs.h"
#include "tests/support/coresupport.h"

#include <QApplication>
#include <QByteArray>
#include <QList>
#include <QPushButton>
#include <QScopeGuard>
#include <QString>
#include <QStringList>
#include <QTest>
#include <deque>
#include <type_traits>

namespace vantora::test {

// Answers the program's dialogs from a script and records what they asked. While one is alive
// no real dialog opens; an unscripted message box is answered OK, a choice with its default
// button, an unscripted input box with the empty text (as Cancel would). Its end puts back whatever
// answered them before.
class ScriptedDialogs
{
public:
    ScriptedDialogs();
    ~ScriptedDialogs();
    Q_DISABLE_COPY_MOVE(ScriptedDialogs)

    void answerButton(int button) { m_buttons.push_back(button); }
    void answerText(const QString &text) { m_texts.push_back(text); }

    const QList<DialogRequest> &requests() const { return m_requests; }
    QStringList messages() const; // texts of the message boxes, in order
    int beeps() const { return m_beeps; }
    void clear();

private:
    DialogHandler m_previousDialogs;
    BeepHandler m_previousBeep;
    std::deque<int> m_buttons;
    std::deque<QString> m_texts;
    QList<DialogRequest> m_requests;
    int m_beeps = 0;
};

// Destroys deferred-deleted windows, as the event loop would.
void flushDeletes();

// Unloads every loaded screen, then destroys their windows.
void unloadAllScreens();

// The main window's screen (Form11).
Screen *mainWindow();

// Records the failure of the running test: the screen has no such control (or is not loaded).
void reportNoControl(const Screen *screen, const QString &name);
// A hidden object that outlives every test, to hold stand-ins for missing controls.
QWidget *standInParent();

// The control of a screen's window with this objectName. A missing one fails the running test
// and gives a stand-in, so that the test goes on to its end instead of crashing the run.
template <typename T = QWidget> T *control(const Screen *screen, const QString &name)
{
    QWidget *window = screen ? screen->window() : nullptr;
    if (T *object = window ? window->findChild<T *>(name) : nullptr)
        return object;
    reportNoControl(screen, name);
    if constexpr (std::is_same_v<T, QAbstractButton>)
        return new QPushButton(standInParent());
    else if constexpr (std::is_base_of_v<QWidget, T>)
        return new T(standInParent());
    else
        return new T(static_cast<QObject *>(standInParent()));
}

// Keys as the window system delivers them: to the widget with the focus. Typed text may be of
// any script, one key per letter.
void pressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void typeText(const QString &text);

// Prepares the process for a test run (offscreen, settings and data in a temporary home).
void prepareTestApplication();
void nameTestApplication(QApplication &app);
void finishTestApplication();

} // namespace vantora::test

#define VANTORA_TEST_MAIN(TestObject)                                                              \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        ::vantora::test::prepareTestApplication();                                                 \
        QApplication app(argc, argv);                                                              \
        ::vantora::test::nameTestApplication(app);                                                 \
        int result = 0;                                                                            \
        {                                                                                          \
            TestObject tc;                                                                         \
            QTEST_SET_MAIN_SOURCE_PATH                                                             \
            result = QTest::qExec(&tc, argc, argv);                                                \
        }                                                                                          \
        ::vantora::test::finishTestApplication();                                                  \
        return result;                                                                             \
    }
