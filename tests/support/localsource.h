// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAtomicInt>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace vantora::test {

// A quote source on 127.0.0.1, in a thread of its own so that it also answers a tool that the
// test waits for. /ok/SYMBOL gives a small history, /slow/ never answers, /html/, /empty/ and
// /missing/ give a web page, "No data" and 404.
class LocalSource : public QThread
{
public:
    ~LocalSource() override
    {
        quit();
        wait();
    }
    quint16 start()
    {
        QThread::start();
        while (m_port.loadAcquire() == 0)
            QThread::msleep(5);
        return quint16(m_port.loadAcquire());
    }
    QString url(const char *kind) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2/{symbol}?from={from}")
            .arg(QString::number(m_port.loadAcquire()), QLatin1String(kind));
    }

protected:
    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [&server] {
            QTcpSocket *socket = server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                const QByteArray path = socket->readAll().split(' ').value(1);
                if (path.startsWith("/slow/"))
                    return;
                QByteArray status = "200 OK", body;
                if (path.startsWith("/ok/"))
                    body = "Date,Open,High,Low,Close,Volume\r\n2026-12-03,1,2,1,1.5,10\r\n"
                           "2026-12-04,1.5,3,1.5,2.5,20\r\n";
                else if (path.startsWith("/html/"))
                    body = "<!DOCTYPE html><html><body>Sorry</body></html>";
                else if (path.startsWith("/empty/"))
                    body = "No data";
                else
                    status = "404 Not Found";
                socket->write("HTTP/1.1 " + status +
                              "\r\nContent-Length: " + QByteArray::number(body.size()) +
                              "\r\nConnection: close\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
        });
        m_port.storeRelease(server.serverPort());
        exec();
    }

private:
    QAtomicInt m_port;
};

} // namespace vantora::test
