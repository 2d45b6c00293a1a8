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
#include <QScreen>
#include <QTimer>
#include <algorithm>

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

// More lines than this and a box would no longer say in a few lines what happened.
constexpr int kShownLines = 12;

// The text a box shows and its details: a long text keeps its first lines and its last (which
// says how it ended); the whole of it goes into the details.
std::pair<QString, QString> shownAndDetails(const QString &text, const QString &details)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() <= kShownLines)
        return {text, details};
    const qsizetype hidden = lines.size() - 4;
    QStringList shown = lines.mid(0, 3);
    shown << QCoreApplication::translate("Dialogs", "… and %1 more lines: see Show Details.")
                 .arg(hidden)
          << lines.constLast();
    return {shown.join(QLatin1Char('\n')),
            details.isEmpty() ? text : text + QStringLiteral("\n\n") + details};
}

// A command line shown in a message ("vantora-db create PATH --sample") is kept on one line, so
// that no option is broken in two; the text stays plain to copy.
QString withWholeCommands(const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    bool command = false;
    for (const QString &line : lines)
        command = command || line.startsWith(QLatin1String("vantora-db "));
    if (!command)
        return text;
    QStringList rich;
    for (const QString &line : lines)
        rich << (line.startsWith(QLatin1String("vantora-db "))
                     ? QStringLiteral("<span style=\"white-space:pre\">%1</span>")
                           .arg(line.toHtmlEscaped())
                     : line.toHtmlEscaped());
    return QStringLiteral("<p>") + rich.join(QStringLiteral("<br>")) + QStringLiteral("</p>");
}

// A message box's buttons as wide as their words.
void prepareBox(QMessageBox &box)
{
    prepareDialog(box);
    for (QAbstractButton *button : box.buttons()) {
        button->ensurePolished();
        const int words = button->fontMetrics().horizontalAdvance(
                              QString(button->text()).remove(QLatin1Char('&'))) +
                          40; // the sheet's padding and border, with air
        button->setMinimumWidth(std::max(button->sizeHint().width(), words));
    }
}

// Once shown, a box lies wholly on the available screen.
void keepOnScreen(QWidget &box)
{
    const QScreen *screen = box.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame = box.frameGeometry();
    if (frame.width() > area.width() || frame.height() > area.height())
        box.resize(std::min(box.width(), area.width() - (frame.width() - box.width())),
                   std::min(box.height(), area.height() - (frame.height() - box.height())));
    frame = box.frameGeometry();
    const QPoint at(std::clamp(frame.left(), area.left(),
                               std::max(area.left(), area.right() - frame.width() + 1)),
                    std::clamp(frame.top(), area.top(),
                               std::max(area.top(), area.bottom() - frame.height() + 1)));
    if (at != frame.topLeft())
        box.move(box.pos() + (at - frame.topLeft()));
}

class OnScreen final : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            if (auto *widget = qobject_cast<QWidget *>(watched))
                QTimer::singleShot(0, widget, [widget] { keepOnScreen(*widget); });
        return false;
    }
};

int runBox(QMessageBox &box)
{
    prepareBox(box);
    return box.exec();
}

// A file dialog of the program's own (Qt's, or the desktop's where it offers one).
QStringList runFileDialog(const QString &title, const QString &filter, QFileDialog::FileMode mode,
                          QFileDialog::AcceptMode accept, QFileDialog::Options options)
{
    QFileDialog dialog(dialogParent(), title, QString(), filter);
    dialog.setObjectName(QStringLiteral("vantoraFileBox"));
    dialog.setFileMode(mode);
    dialog.setAcceptMode(accept);
    dialog.setOptions(options);
    prepareDialog(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
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

Qt::WindowFlags dialogFlags()
{
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}

void prepareDialog(QDialog &dialog)
{
    dialog.setWindowFlags(dialogFlags());
    const QString keeper = QStringLiteral("vantoraOnScreen");
    if (!dialog.findChild<QObject *>(keeper, Qt::FindDirectChildrenOnly)) {
        auto *onScreen = new OnScreen(&dialog);
        onScreen->setObjectName(keeper);
        dialog.installEventFilter(onScreen);
    }
}

// The active window, or, between two dialogs (when the first has closed and the window manager
// has not yet given the focus back), the one the last dialog belonged to, so that the second
// opens over the same window rather than in the screen's middle.
QWidget *dialogParent()
{
    static QPointer<QWidget> last;
    if (QWidget *active = QApplication::activeWindow())
        last = active;
    return last && last->isVisible() ? last.data() : nullptr;
}

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

int msgBox(const QString &text, int style, const QString &title, const QString &details)
{
    const auto [shown, allDetails] = shownAndDetails(text, details);
    const DialogRequest request{
        DialogRequest::Message, shown, shownTitle(title), style, {}, 0, allDetails};
    if (responders().dialog)
        return responders().dialog(request).button;

    QMessageBox box(QMessageBox::NoIcon, request.title, withWholeCommands(shown),
                    QMessageBox::NoButton, dialogParent());
    if (!allDetails.isEmpty())
        box.setDetailedText(allDetails);
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
    runBox(box);
    return box.clickedButton() == ok ? AnswerOk : AnswerCancel;
}

int choiceBox(const QString &text, const QString &title, const QStringList &buttons,
              int defaultButton, int escapeButton)
{
    DialogRequest request{DialogRequest::Choice, text, shownTitle(title), OkOnly, buttons,
                          defaultButton,         {}};
    if (responders().dialog)
        return responders().dialog(request).button;

    QMessageBox box(QMessageBox::NoIcon, request.title, withWholeCommands(text),
                    QMessageBox::NoButton, dialogParent());
    box.setObjectName(QStringLiteral("vantoraChoiceBox"));
    QList<QPushButton *> added;
    for (const QString &caption : buttons)
        added << box.addButton(caption, QMessageBox::ActionRole);
    if (defaultButton >= 0 && defaultButton < added.size())
        box.setDefaultButton(added[defaultButton]);
    if (escapeButton >= 0 && escapeButton < added.size())
        box.setEscapeButton(added[escapeButton]);
    fitTitle(box);
    runBox(box);
    const qsizetype pressed = added.indexOf(qobject_cast<QPushButton *>(box.clickedButton()));
    return pressed >= 0 ? int(pressed) : escapeButton;
}

QStringList openFilesBox(const QString &title, const QString &filter)
{
    const DialogRequest request{
        DialogRequest::Files, filter, shownTitle(title), OkCancel, {}, 0, {}};
    if (responders().dialog) {
        const QString answer = responders().dialog(request).text;
        return answer.isEmpty() ? QStringList() : answer.split(QLatin1Char('\n'));
    }
    return runFileDialog(request.title, filter, QFileDialog::ExistingFiles, QFileDialog::AcceptOpen,
                         {});
}

QString fileBox(const QString &title, const QString &filter, bool saving, bool confirmOverwrite)
{
    const DialogRequest request{saving ? DialogRequest::SaveFile : DialogRequest::OpenFile,
                                filter,
                                shownTitle(title),
                                OkCancel,
                                {},
                                0,
                                {}};
    if (responders().dialog)
        return responders().dialog(request).text;
    const QFileDialog::Options options =
        confirmOverwrite || !saving ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
    return runFileDialog(request.title, filter,
                         saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile,
                         saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen, options)
        .value(0);
}

QString inputBox(const QString &prompt, const QString &title)
{
    const DialogRequest request{
        DialogRequest::Input, prompt, shownTitle(title), OkCancel, {}, 0, {}};
    if (responders().dialog)
        return responders().dialog(request).text;

    QInputDialog dialog(dialogParent());
    dialog.setObjectName(QStringLiteral("vantoraInputBox"));
    dialog.setWindowTitle(request.title);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setMinimumWidth(titleWidth(dialog, request.title));
    prepareDialog(dialog);
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
