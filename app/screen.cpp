// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/screen.h"

#include "app/accessibility.h"
#include "common/config.h"
#include "common/dialogs.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

namespace vantora {
namespace {

// A single-line box shows a pasted line break as a space; it stores a space too, so that what
// shows is what is stored.
void keepOnOneLine(QLineEdit *box)
{
    QObject::connect(box, &QLineEdit::textEdited, box, [box](const QString &text) {
        static const QRegularExpression lineBreak(
            QStringLiteral("\\r\\n|[\\r\\n\\v\\f\\x{85}\\x{2028}\\x{2029}]"));
        if (!text.contains(lineBreak))
            return;
        const int cursor = int(QString(text.left(box->cursorPosition()))
                                   .replace(lineBreak, QStringLiteral(" "))
                                   .size());
        box->setText(QString(text).replace(lineBreak, QStringLiteral(" ")));
        box->setCursorPosition(cursor);
    });
}

// What the keyboard does in every screen's boxes.
void prepareBoxes(QWidget *window)
{
    QPushButton *main = nullptr;
    // A dialog presses its default button on Enter itself; a plain window leaves it to us.
    if (!qobject_cast<QDialog *>(window))
        for (QPushButton *button : window->findChildren<QPushButton *>())
            if (button->isDefault())
                main = button;
    for (QLineEdit *box : window->findChildren<QLineEdit *>()) {
        keepOnOneLine(box);
        // Enter in a box runs the screen's main action ("&Calculate", "&Forecast").
        if (main)
            QObject::connect(box, &QLineEdit::returnPressed, main, &QPushButton::click);
    }
}

} // namespace

Screen::~Screen()
{
    if (m_window) {
        m_window->removeEventFilter(this);
        delete m_window.data();
    }
}

void Screen::load()
{
    if (m_window)
        return;
    installAccessibility();
    QWidget *window = buildWindow();
    window->setObjectName(name());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->installEventFilter(this);
    m_window = window;
    connectHandlers();
    prepareBoxes(window);
    nameViewsByCaptions(window);
    prepareForm();
    Form_Load();
}

bool Screen::unload()
{
    if (!m_window)
        return true;
    if (m_unloading)
        return false;
    m_unloading = true;
    const bool mayUnload = queryUnload();
    if (mayUnload) {
        Form_UnLoad();
        destroyWindow();
    }
    m_unloading = false;
    return mayUnload;
}

void Screen::show()
{
    load();
    if (!m_window)
        return;
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void Screen::destroyWindow()
{
    QWidget *window = m_window;
    m_window = nullptr;
    window->removeEventFilter(this);
    // The window is deleted later, and until then its timers and web views could still call
    // handlers whose controls are gone (a modal message box holds the deletion back).
    for (QTimer *timer : window->findChildren<QTimer *>())
        timer->stop();
    for (QObject *child : window->findChildren<QObject *>())
        QObject::disconnect(child, nullptr, this, nullptr);
    QObject::disconnect(window, nullptr, this, nullptr);
    releaseForm();
    // Closed, not only hidden, so that unloading the last open window ends the program.
    window->close();
    // The window may be the one whose handler is running right now.
    window->deleteLater();
}

bool Screen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Close) {
        // The system close box unloads this screen only.
        if (!unload())
            event->ignore();
        return !event->isAccepted();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vantora
