// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/screen.h"

#include "app/accessibility.h"
#include "app/standardkeys.h"
#include "common/config.h"
#include "common/dialogs.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDataStream>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <algorithm>

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

QSettings userSettings()
{
    const QString app = QCoreApplication::applicationName();
    return QSettings(QSettings::UserScope, app, app);
}

QString geometryKey(const QString &screen)
{
    return QStringLiteral("windows/") + screen;
}

// A title bar's worth of the window must lie on one of today's screens for the user to reach it.
bool reachable(const QRect &frame)
{
    const QRect titleBar(frame.topLeft(), QSize(frame.width(), std::min(frame.height(), 32)));
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect common = screen->availableGeometry() & titleBar;
        if (common.width() >= std::min(titleBar.width(), 64) && common.height() >= 8)
            return true;
    }
    return false;
}

// The frame's place as saveGeometry() wrote it, read before Qt's own restore, which would pull
// a window lying off every screen to the nearest edge instead.
QRect savedFrame(const QByteArray &saved)
{
    QDataStream stream(saved);
    stream.setVersion(QDataStream::Qt_4_0);
    quint32 magic = 0;
    quint16 major = 0, minor = 0;
    QRect frame;
    stream >> magic >> major >> minor >> frame;
    return magic == 0x1D9D0CB && stream.status() == QDataStream::Ok ? frame : QRect();
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
    installStandardKeys(this, window);
    prepareBoxes(window);
    nameViewsByCaptions(window);
    restoreWindowGeometry();
    prepareForm();
    Form_Load();
}

void Screen::printReport()
{
    if (isLoaded() && hasReport())
        printReportWithDialog(report(), m_window);
}

void Screen::exportPdf()
{
    if (isLoaded() && hasReport())
        exportReportWithDialog(report());
}

void Screen::restoreWindowGeometry()
{
    m_restoredGeometry = false;
    const QByteArray saved = userSettings().value(geometryKey(name())).toByteArray();
    if (saved.isEmpty())
        return;
    // Off every screen there is today (a monitor since unplugged): placed as on a first start.
    const QRect frame = savedFrame(saved);
    if (!frame.isValid() || !reachable(frame))
        return;
    m_restoredGeometry = m_window->restoreGeometry(saved);
}

void Screen::saveWindowGeometry() const
{
    if (!m_window || !m_window->isVisible())
        return;
    userSettings().setValue(geometryKey(name()), m_window->saveGeometry());
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
        saveWindowGeometry();
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
