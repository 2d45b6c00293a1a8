// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/screen.h"

#include <QCloseEvent>
#include <QTimer>

namespace vantora {

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
    QWidget *window = buildWindow();
    window->setObjectName(name());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->installEventFilter(this);
    m_window = window;
    connectHandlers();
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
