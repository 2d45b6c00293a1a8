// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pricesatstart.h"

#include "common/config.h"
#include "data/exchange/priceimport.h"
#include "data/quotes/quotesource.h"
#include "data/store/openingcheck.h"
#include "shell/frmPreferences.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QPropertyAnimation>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <memory>

namespace vantora {
namespace {

// How long the line stays before it fades: a failure longer, so that it is read.
constexpr int kDoneShownMs = 10000;
constexpr int kFailureShownMs = 30000;
constexpr int kFadeMs = 1500;
// How often the update looks whether the opening's check has its verdict, or it is to stop.
constexpr unsigned long kPollMs = 50;

class StartUpdate final : public QObject
{
public:
    StartUpdate(QMainWindow *window, QString databasePath)
        : QObject(window)
        , m_window(window)
        , m_path(std::move(databasePath))
    {
    }
    ~StartUpdate() override { stop(); }
    Q_DISABLE_COPY_MOVE(StartUpdate)

    void start()
    {
        startOpeningCheck(m_path);
        say(QCoreApplication::translate("vantora", "Updating the prices…"), {}, false, false);
        m_thread.reset(QThread::create([this] { run(); }));
        m_thread->start(QThread::LowPriority);
        connect(qApp, &QCoreApplication::aboutToQuit, this, &StartUpdate::stop);
    }

    // Cancels the transfers and waits for the thread; what was stored stays.
    void stop()
    {
        m_stop = true;
        if (m_thread) {
            m_thread->wait();
            m_thread.reset();
        }
    }

private:
    // On the update's thread.
    void run()
    {
        OpeningCheck check;
        while ((check = openingCheck(m_path)).state == OpeningCheck::Checking) {
            if (m_stop)
                return;
            QThread::msleep(kPollMs);
        }
        if (check.state == OpeningCheck::Damaged || check.state == OpeningCheck::Busy) {
            finish(QCoreApplication::translate("vantora", "The prices were not updated: the market "
                                                          "database cannot be used now."),
                   check.message, true);
            return;
        }
        QString problem;
        const QStringList symbols = prices::symbolsToUpdate(m_path, &problem);
        if (symbols.isEmpty()) {
            finish(QCoreApplication::translate("vantora", "The prices were not updated: %1")
                       .arg(problem.section(QLatin1Char('\n'), 0, 0)),
                   problem, true);
            return;
        }
        const quotes::FetchResult result = quotes::fetchAndImport(
            m_path, symbols, quotes::savedOptions(), [this](int, int) { return !m_stop.load(); });
        if (m_stop)
            return;
        finish(QCoreApplication::translate("vantora", "Prices: %1")
                   .arg(result.message.section(QLatin1Char('\n'), 0, 0)),
               result.problems.join(QLatin1Char('\n')), !result.ok);
    }

    // From the update's thread: the line says it on the window's thread.
    void finish(const QString &text, const QString &details, bool failed)
    {
        QMetaObject::invokeMethod(
            this, [this, text, details, failed] { say(text, details, failed, true); },
            Qt::QueuedConnection);
    }

    void say(const QString &text, const QString &details, bool failed, bool done)
    {
        if (!m_window)
            return;
        if (!m_line) {
            QStatusBar *bar = m_window->statusBar();
            m_line = new QLabel(bar);
            m_line->setObjectName(QLatin1String(kPricesAtStartLine));
            m_line->setAccessibleName(QCoreApplication::translate("vantora", "Price update"));
            m_line->setTextFormat(Qt::PlainText);
            bar->addWidget(m_line, 1);
        }
        m_line->setText(text);
        m_line->setAccessibleDescription(text);
        m_line->setToolTip(details);
        if (done)
            fadeLater(failed ? kFailureShownMs : kDoneShownMs);
    }

    // The line fades once it has been shown for a while on a window that can be seen; then
    // the window gives its foot back.
    void fadeLater(int shownMs)
    {
        auto *timer = new QTimer(m_line);
        timer->setSingleShot(true);
        timer->setInterval(shownMs);
        connect(timer, &QTimer::timeout, this, &StartUpdate::fade);
        if (m_window->isVisible()) {
            timer->start();
            return;
        }
        m_shownAgain = std::make_unique<ShownAgain>(timer);
        m_window->installEventFilter(m_shownAgain.get());
    }

    void fade()
    {
        if (!m_line || !m_window)
            return;
        auto *effect = new QGraphicsOpacityEffect(m_line);
        m_line->setGraphicsEffect(effect);
        auto *animation = new QPropertyAnimation(effect, "opacity", m_line);
        animation->setDuration(kFadeMs);
        animation->setStartValue(1.0);
        animation->setEndValue(0.0);
        connect(animation, &QPropertyAnimation::finished, this, [this] {
            if (m_window)
                m_window->setStatusBar(nullptr);
        });
        animation->start();
    }

    // Starts the line's timer when the window it is on shows again.
    class ShownAgain final : public QObject
    {
    public:
        explicit ShownAgain(QTimer *timer)
            : m_timer(timer)
        {
        }
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Show && m_timer && !m_timer->isActive())
                m_timer->start();
            return false;
        }

    private:
        QPointer<QTimer> m_timer;
    };

    QPointer<QMainWindow> m_window;
    const QString m_path;
    QPointer<QLabel> m_line;
    std::unique_ptr<QThread> m_thread;
    std::unique_ptr<ShownAgain> m_shownAgain;
    std::atomic_bool m_stop = false;
};

} // namespace

bool updatePricesInBackground(QMainWindow *window)
{
    const QString path = config::databasePath();
    if (!window || !QFileInfo::exists(path))
        return false;
    (new StartUpdate(window, path))->start();
    return true;
}

bool updatePricesAtStart(QMainWindow *window)
{
    return frmPreferences::updateAtStart() && updatePricesInBackground(window);
}

} // namespace vantora
