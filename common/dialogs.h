// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QWidget;

// Every message box, input box and beep of the program goes through here, so that tests can
// answer dialogs, read their texts and count beeps.
namespace vantora {

inline constexpr auto kAppTitle = "Vantora Market Pro";

// Button sets, by the platform's style numbers.
enum MsgStyle : int { OkOnly = 0, OkCancel = 1 };
// Buttons pressed.
enum MsgAnswer : int { AnswerOk = 1, AnswerCancel = 2 };

// A message box with no icon; an empty title shows the application title. Returns the button.
// A long text (a line per symbol or per file) shows its first and last lines, with the whole of
// it under "Show Details..."; details given go there too.
int msgBox(const QString &text, int style = OkOnly, const QString &title = {},
           const QString &details = {});
// A message box with buttons of its own, captioned as given; returns the index of the button
// pressed (the escape button's when the box is closed).
int choiceBox(const QString &text, const QString &title, const QStringList &buttons,
              int defaultButton, int escapeButton);
// A modal dialog to pick existing files; none when cancelled.
QStringList openFilesBox(const QString &title, const QString &filter);
// A modal dialog to pick one file to open (`saving` false) or a name to save under (asking
// before an existing file is written over, if `confirmOverwrite`); the empty text when cancelled.
QString fileBox(const QString &title, const QString &filter, bool saving,
                bool confirmOverwrite = false);
// A modal input box with no default text; the empty text when cancelled.
QString inputBox(const QString &prompt, const QString &title);
void beep();

// What every dialog window of the program shares (message, input, file and progress boxes):
// a title bar with a close button and no minimise or maximise button, and, once shown, the whole
// window on the available screen.
Qt::WindowFlags dialogFlags();
void prepareDialog(QDialog &dialog);
// The window a dialog opening now belongs to, which the window manager keeps it over: the
// active one, else the one the last dialog belonged to while it is still shown.
QWidget *dialogParent();

struct DialogRequest
{
    enum Kind { Message, Input, Choice, Files, OpenFile, SaveFile };
    Kind kind = Message;
    QString text;  // message text or input prompt
    QString title; // as shown: the application title when none was given
    int style = OkOnly;
    QStringList buttons; // a choice's buttons; its default is `defaultButton`
    int defaultButton = 0;
    QString details; // a message's detailed text, as its box shows it
};

// What a scripted responder answers: a button for a message (a button's index for a choice), a
// text for an input box (for a file dialog, the files, one a line).
struct DialogReply
{
    int button = AnswerOk;
    QString text;
};

// Replaces the real dialogs (tests). Pass nullptr handlers to restore them; the getters give
// what is installed, so that it can be put back.
using DialogHandler = std::function<DialogReply(const DialogRequest &)>;
void setDialogHandler(DialogHandler handler);
DialogHandler dialogHandler();
using BeepHandler = std::function<void()>;
void setBeepHandler(BeepHandler handler);
BeepHandler beepHandler();

} // namespace vantora
