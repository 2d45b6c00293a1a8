#pragma once

#include "app/screen.h"
#include "common/dialogs.h"

#include <QApplication>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTest>
#include <deque>

namespace vantora::test {

// Answers the program's dialogs from a script and records what they asked. While one is alive
// no real dialog opens; an unscripted message box is answered OK, an unscripted input box with
// the empty text (as Cancel would).
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

[[noreturn]] void failNoControl(const Screen *screen, const QString &name);

// The control of a screen's window with this objectName; a missing one ends the run loudly.
template <typename T = QWidget> T *control(const Screen *screen, const QString &name)
{
    T *object = screen->window()->findChild<T *>(name);
    if (!object)
        failNoControl(screen, name);
    return object;
}

// A number as the screens write it: with the system's decimal separator.
QString shown(QString number);

// A file's bytes; empty when it cannot be read.
QByteArray fileContents(const QString &path);

// One run of the database tool (vantora-db, beside the test): whether it finished within 30 s,
// its exit code, and its standard output followed by its standard error.
struct ToolRun
{
    bool finished = false;
    int exitCode = -1;
    QString output;
};
QString databaseTool();
ToolRun runDatabaseTool(const QStringList &args);

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
