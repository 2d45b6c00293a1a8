#include "app/screen.h"

#include <QCloseEvent>

namespace vantora {

Screen::Screen(const QString &name)
{
    setObjectName(name);
}

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
    QWidget *window = createWindow();
    window->setObjectName(name());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->installEventFilter(this);
    m_window = window;
    Form_Load();
    if (m_window)
        Q_EMIT loaded();
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
    if (mayUnload)
        Q_EMIT unloaded();
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
    releaseWindow();
    window->hide();
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
