// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QObject>
#include <QString>
#include <QUrl>
#include <deque>
#include <functional>

// Downloads that a hostile or broken server cannot make endless or huge: every answer is held to
// a size, a total time and an idle time, and a cancel stops every transfer at once.
namespace vantora::quotes {

struct Limits
{
    qint64 maxBytes = qint64(64) << 20; // an answer's body
    int totalMs = 60000;                // a request from its start to its last byte
    int idleMs = 15000;                 // without a byte
};

// The text of a size for messages: "64 MiB", "1,024 bytes".
QString sizeText(qint64 bytes);

struct Answer
{
    int status = 0; // HTTP status; 0 when no answer came
    QString reason; // its reason phrase
    QByteArray bytes;
    QString problem;                                            // why the body is not whole, if so
    QNetworkReply::NetworkError error = QNetworkReply::NoError; // what the transfer met
    int retryAfterSeconds = -1;                                 // from a Retry-After header
    bool reached() const { return status > 0; }
};

class Transfers final : public QObject
{
public:
    // `keepGoing` is asked every tenth of a second and after every answer; false cancels.
    Transfers(const Limits &limits, std::function<bool()> keepGoing, int parallel = 2);
    ~Transfers() override;
    Q_DISABLE_COPY_MOVE(Transfers)

    using Arrived = std::function<void(const Answer &)>;
    // Queues a GET, started after `delayMs`; `arrived` gets its answer once it is whole or given
    // up (and may queue more).
    void get(const QNetworkRequest &request, Arrived arrived, int delayMs = 0);
    // Runs until every queued request has its answer or a cancel; false after a cancel.
    bool run();
    bool cancelled() const { return m_cancelled; }

private:
    struct Pending
    {
        QNetworkRequest request;
        Arrived arrived;
    };
    void startMore();
    void start(Pending pending);
    void cancel();
    bool idle() const { return m_active == 0 && m_waiting == 0 && m_queue.empty(); }

    Limits m_limits;
    std::function<bool()> m_keepGoing;
    int m_parallel;
    QNetworkAccessManager m_network;
    std::deque<Pending> m_queue;
    QList<QNetworkReply *> m_replies;
    int m_active = 0, m_waiting = 0;
    bool m_cancelled = false, m_running = false;
    std::function<void()> m_quit;
};

} // namespace vantora::quotes
