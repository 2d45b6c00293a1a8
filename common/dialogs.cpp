// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace vantora {
namespace {

// A title bar's icon and its three buttons, with some air.
constexpr int kTitleBarRoom = 150;

// What answers the dialogs and beeps instead of the real ones (tests); empty for the real ones.
struct Responders
{
    DialogHandler dialog;
    BeepHandler beep;
};

Responders &responders()
{
    static Responders installed;
    return installed;
}

QString shownTitle(const QString &title)
{
    return title.isEmpty() ? QString::fromUtf8(kAppTitle) : title;
}

// As wide as the window manager needs to show the title in full: its text in a title bar's bold
// face, and room for the bar's icon and buttons.
int titleWidth(const QWidget &box, const QString &title)
{
    QFont font = box.font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) + kTitleBarRoom;
}

// The window a dialog belongs to: the active one, or, between two dialogs (when the first has
// closed and the window manager has not yet given the focus back), the one the last dialog
// belonged to, so that the second opens over the same window rather than in the screen's middle.
QWidget *dialogParent()
{
    static QPointer<QWidget> last;
    if (QWidget *active = QApplication::activeWindow())
        last = active;
    return last && last->isVisible() ? last.data() : nullptr;
}

// A message box sizes itself to its layout, so the width goes into the layout.
void fitTitle(QMessageBox &box)
{
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(titleWidth(box, box.windowTitle()), 0, QSizePolicy::Fixed,
                                      QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

void setDialogHandler(DialogHandler handler)
{
    responders().dialog = std::move(handler);
}

void setBeepHandler(BeepHandler handler)
{
    responders().beep = std::move(handler);
}

DialogHandler dialogHandler()
{
    return responders().dialog;
}

BeepHandler beepHandler()
{
    return responders().beep;
}

int msgBox(const QString &text, int style, const QString &title)
{
    const DialogRequest request{DialogRequest::Message, text, shownTitle(title), style, {}, 0};
    if (responders().dialog)
        return responders().dialog(request).button;

    QMessageBox box(QMessageBox::NoIcon, request.title, text, QMessageBox::NoButton,
                    dialogParent());
    box.setObjectName(QStringLiteral("vantoraMessageBox"));
    QPushButton *ok = box.addButton(QMessageBox::Ok);
    if (style == OkCancel) {
        box.addButton(QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setEscapeButton(ok);
    }
    box.setDefaultButton(ok);
    fitTitle(box);
    box.exec();
    return box.clickedButton() == ok ? AnswerOk : AnswerCancel;
}

int choiceBox(const QString &text, const QString &title, const QStringList &buttons,
              int defaultButton, int escapeButton)
{
    DialogRequest request{DialogRequest::Choice, text, shownTitle(title), OkOnly, buttons,
                          defaultButton};
    if (responders().dialog)
        return responders().dialog(request).button;

    QMessageBox box(QMessageBox::NoIcon, request.title, text, QMessageBox::NoButton,
                    dialogParent());
    box.setObjectName(QStringLiteral("vantoraChoiceBox"));
    QList<QPushButton *> added;
    for (const QString &caption : buttons)
        added << box.addButton(caption, QMessageBox::ActionRole);
    if (defaultButton >= 0 && defaultButton < added.size())
        box.setDefaultButton(added[defaultButton]);
    if (escapeButton >= 0 && escapeButton < added.size())
        box.setEscapeButton(added[escapeButton]);
    fitTitle(box);
    box.exec();
    const qsizetype pressed = added.indexOf(qobject_cast<QPushButton *>(box.clickedButton()));
    return pressed >= 0 ? int(pressed) : escapeButton;
}

QStringList openFilesBox(const QString &title, const QString &filter)
{
    const DialogRequest request{DialogRequest::Files, filter, shownTitle(title), OkCancel, {}, 0};
    if (responders().dialog) {
        const QString answer = responders().dialog(request).text;
        return answer.isEmpty() ? QStringList() : answer.split(QLatin1Char('\n'));
    }
    return QFileDialog::getOpenFileNames(QApplication::activeWindow(), request.title, QString(),
                                         filter);
}

QString fileBox(const QString &title, const QString &filter, bool saving, bool confirmOverwrite)
{
    const DialogRequest request{saving ? DialogRequest::SaveFile : DialogRequest::OpenFile,
                                filter,
                                shownTitle(title),
                                OkCancel,
                                {},
                                0};
    if (responders().dialog)
        return responders().dialog(request).text;
    QWidget *parent = QApplication::activeWindow();
    const QFileDialog::Options options =
        confirmOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
    return saving ? QFileDialog::getSaveFileName(parent, request.title, QString(), filter, nullptr,
                                                 options)
                  : QFileDialog::getOpenFileName(parent, request.title, QString(), filter);
}

QString inputBox(const QString &prompt, const QString &title)
{
    const DialogRequest request{DialogRequest::Input, prompt, shownTitle(title), OkCancel, {}, 0};
    if (responders().dialog)
        return responders().dialog(request).text;

    QInputDialog dialog(dialogParent());
    dialog.setObjectName(QStringLiteral("vantoraInputBox"));
    dialog.setWindowTitle(request.title);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setMinimumWidth(titleWidth(dialog, request.title));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

void beep()
{
    if (responders().beep) {
        responders().beep();
        return;
    }
    QApplication::beep();
}

} // namespace vantora
