// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/quotes/download.h"

#include <QEventLoop>
#include <QLocale>
#include <QTimer>
#include <memory>

namespace vantora::quotes {

QString sizeText(qint64 bytes)
{
    if (bytes >= (qint64(1) << 20) && bytes % (qint64(1) << 20) == 0)
        return QStringLiteral("%1 MiB").arg(QLocale::c().toString(bytes >> 20));
    return QStringLiteral("%1 bytes").arg(QLocale::c().toString(bytes));
}

namespace {

// A redirect is followed to the same host and port only, and never from https to anything else.
bool followed(const QUrl &from, const QUrl &to)
{
    return to.host().compare(from.host(), Qt::CaseInsensitive) == 0 &&
           to.port(-1) == from.port(-1) &&
           !(from.scheme() == QLatin1String("https") && to.scheme() != QLatin1String("https"));
}

// What a finished reply came to, without its body. Its problem is the first of: what a limit
// gave up on, the cancel, the idle time-out, the transfer's own error.
Answer answerOf(QNetworkReply *reply, const QString &limitProblem, bool cancelled, int idleMs)
{
    Answer answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.error = reply->error();
    bool seconds = false;
    const int retry = reply->rawHeader("Retry-After").trimmed().toInt(&seconds);
    if (seconds)
        answer.retryAfterSeconds = retry;
    answer.reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    answer.problem = limitProblem;
    if (answer.problem.isEmpty() && cancelled)
        answer.problem = QStringLiteral("cancelled");
    else if (answer.problem.isEmpty() && answer.error == QNetworkReply::OperationCanceledError)
        answer.problem = QStringLiteral("no answer within %1 seconds").arg(idleMs / 1000);
    else if (answer.problem.isEmpty() && answer.error != QNetworkReply::NoError &&
             answer.status < 400)
        // An error status comes with a body worth reading; anything else is the transfer's.
        answer.problem = reply->errorString();
    return answer;
}

} // namespace

Transfers::Transfers(const Limits &limits, std::function<bool()> keepGoing, int parallel)
    : m_limits(limits)
    , m_keepGoing(std::move(keepGoing))
    , m_parallel(std::max(1, parallel))
{
}

Transfers::~Transfers()
{
    cancel();
}

void Transfers::get(const QNetworkRequest &request, Arrived arrived, int delayMs)
{
    if (m_cancelled)
        return;
    if (delayMs <= 0) {
        m_queue.push_back({request, std::move(arrived)});
        startMore();
        return;
    }
    ++m_waiting;
    QTimer::singleShot(delayMs, this, [this, request, arrived = std::move(arrived)]() mutable {
        --m_waiting;
        if (m_cancelled)
            return;
        m_queue.push_back({request, std::move(arrived)});
        startMore();
    });
}

void Transfers::startMore()
{
    while (m_running && !m_cancelled && m_active < m_parallel && !m_queue.empty()) {
        Pending next = std::move(m_queue.front());
        m_queue.pop_front();
        start(std::move(next));
    }
    if (m_running && idle() && m_quit)
        m_quit();
}

void Transfers::start(Pending pending)
{
    QNetworkRequest request = pending.request;
    request.setTransferTimeout(m_limits.idleMs);
    // Redirects are looked at one by one: another host is not followed.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    QNetworkReply *reply = m_network.get(request);
    // What Qt holds unread stays small: the body goes into `bytes` as it comes, up to the limit.
    reply->setReadBufferSize(256 * 1024);
    ++m_active;
    m_replies << reply;

    struct State
    {
        QByteArray bytes;
        QString problem;
    };
    const auto state = std::make_shared<State>();
    const qint64 maxBytes = m_limits.maxBytes;
    auto giveUp = [reply, state](const QString &problem) {
        if (state->problem.isEmpty())
            state->problem = problem;
        reply->abort();
    };

    auto *total = new QTimer(reply);
    total->setSingleShot(true);
    QObject::connect(total, &QTimer::timeout, reply, [giveUp, ms = m_limits.totalMs] {
        giveUp(QStringLiteral("no whole answer within %1 seconds").arg(ms / 1000.0));
    });
    total->start(m_limits.totalMs);

    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, giveUp, maxBytes] {
        const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (announced > maxBytes)
            giveUp(QStringLiteral("the answer is larger than %1 (it announces %2)")
                       .arg(sizeText(maxBytes), sizeText(announced)));
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, state, giveUp, maxBytes] {
        if (!state->problem.isEmpty())
            return;
        const qint64 room = maxBytes - state->bytes.size();
        state->bytes += reply->read(std::max<qint64>(room + 1, 1));
        if (state->bytes.size() > maxBytes) {
            state->bytes.clear();
            state->bytes.squeeze();
            giveUp(QStringLiteral("the answer is larger than %1").arg(sizeText(maxBytes)));
        }
    });
    QObject::connect(
        reply, &QNetworkReply::redirected, reply,
        [reply, giveUp, from = request.url()](const QUrl &to) {
            if (followed(from, to))
                Q_EMIT reply->redirectAllowed();
            else
                giveUp(QStringLiteral("the source sent the request on to %1, which "
                                      "is not followed")
                           .arg(to.adjusted(QUrl::RemoveQuery | QUrl::RemovePath).toString()));
        });
    QObject::connect(
        reply, &QNetworkReply::finished, this,
        [this, reply, state, arrived = std::move(pending.arrived), idleMs = m_limits.idleMs] {
            Answer answer = answerOf(reply, state->problem, m_cancelled, idleMs);
            if (answer.problem.isEmpty()) {
                state->bytes += reply->readAll();
                answer.bytes = std::move(state->bytes);
            }
            m_replies.removeOne(reply);
            reply->deleteLater();
            --m_active;
            if (!m_cancelled) {
                arrived(answer);
                if (m_keepGoing && !m_keepGoing())
                    cancel();
            }
            startMore();
        });
}

void Transfers::cancel()
{
    if (m_cancelled)
        return;
    m_cancelled = true;
    m_queue.clear();
    const QList<QNetworkReply *> replies = m_replies;
    for (QNetworkReply *reply : replies)
        reply->abort();
    if (m_quit)
        m_quit();
}

bool Transfers::run()
{
    QEventLoop loop;
    m_quit = [&loop] { loop.quit(); };
    m_running = true;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [this] {
        if (m_keepGoing && !m_keepGoing())
            cancel();
    });
    tick.start(100);
    startMore();
    if (!idle() && !m_cancelled)
        loop.exec();
    m_running = false;
    m_quit = nullptr;
    return !m_cancelled;
}

} // namespace vantora::quotes
