#include "common/dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace vantora {
namespace {

DialogHandler &dialogHandler()
{
    static DialogHandler handler;
    return handler;
}

BeepHandler &beepHandler()
{
    static BeepHandler handler;
    return handler;
}

QString shownTitle(const QString &title)
{
    return title.isEmpty() ? QString::fromUtf8(kAppTitle) : title;
}

} // namespace

void setDialogHandler(DialogHandler handler)
{
    dialogHandler() = std::move(handler);
}

void setBeepHandler(BeepHandler handler)
{
    beepHandler() = std::move(handler);
}

int msgBox(const QString &text, int style, const QString &title)
{
    const DialogRequest request{DialogRequest::Message, text, shownTitle(title), style};
    if (dialogHandler())
        return dialogHandler()(request).button;

    QMessageBox box(QMessageBox::NoIcon, request.title, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("vantoraMessageBox"));
    QPushButton *ok = box.addButton(QMessageBox::Ok);
    if (style == OkCancel) {
        box.addButton(QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setEscapeButton(ok);
    }
    box.setDefaultButton(ok);
    box.exec();
    return box.clickedButton() == ok ? AnswerOk : AnswerCancel;
}

QString inputBox(const QString &prompt, const QString &title)
{
    const DialogRequest request{DialogRequest::Input, prompt, shownTitle(title), OkCancel};
    if (dialogHandler())
        return dialogHandler()(request).text;

    QInputDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("vantoraInputBox"));
    dialog.setWindowTitle(request.title);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

void beep()
{
    if (beepHandler()) {
        beepHandler()();
        return;
    }
    QApplication::beep();
}

} // namespace vantora
