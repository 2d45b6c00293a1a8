// SPDX-License-Identifier: GPL-3.0-or-later
// Prices updated when the program starts: in the background, from a quote service played on
// 127.0.0.1, the outcome in one line on the main window and no box to answer.
#include "app/pricesatstart.h"
#include "shell/frmPreferences.h"
#include "tests/support/testdb.h"
#include "tests/support/testsupport.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMutex>
#include <QSettings>
#include <QStatusBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

using namespace vantora;

namespace {

// Shaped as Yahoo Finance answers, with made-up figures: four sessions, one without figures.
const QByteArray kChart =
    R"({"chart": {"result": [{"meta": {"currency": "USD", "gmtoffset": -18000}, "timestamp":)"
    R"( [1793629800, 1793716200, 1793802600, 1793889000], "indicators": {"quote": [{"open":)"
    R"( [410.12, 413.3, null, 412.5], "high": [414.5, 415.88, null, 418.0], "low": [409.01,)"
    R"( 411.2, null, 412.1], "close": [413.27, 412.05, null, 417.66], "volume": [18234500,)"
    R"( 17111200, null, 20455100]}]}}], "error": null}})";
const QByteArray kNotFound = R"({"chart": {"result": null, "error": {"code": "Not Found",)"
                             R"( "description": "No data found, symbol may be delisted"}}})";

// Yahoo's chart service on 127.0.0.1, slow on purpose: each answer after `delayMs`. A symbol
// named in `unknown` gets Yahoo's 404.
class SlowChartService : public QThread
{
public:
    SlowChartService(int delayMs, QByteArray unknown)
        : m_delayMs(delayMs)
        , m_unknown(std::move(unknown))
    {
    }
    ~SlowChartService() override
    {
        quit();
        wait();
    }
    QString base()
    {
        QThread::start();
        while (m_port.loadAcquire() == 0)
            QThread::msleep(5);
        return QStringLiteral("http://127.0.0.1:%1").arg(m_port.loadAcquire());
    }
    int requests() const { return m_requests.loadAcquire(); }

protected:
    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this, &server] {
            QTcpSocket *socket = server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                const QByteArray path = socket->readAll().split(' ').value(1);
                m_requests.fetchAndAddOrdered(1);
                const bool unknown = !m_unknown.isEmpty() && path.contains("/" + m_unknown + "?");
                QTimer::singleShot(m_delayMs, socket, [socket, unknown] {
                    const QByteArray body = unknown ? kNotFound : kChart;
                    socket->write(QByteArray("HTTP/1.1 ") + (unknown ? "404 Not Found" : "200 OK") +
                                  "\r\nContent-Type: application/json\r\nContent-Length: " +
                                  QByteArray::number(body.size()) +
                                  "\r\nConnection: close\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
            });
        });
        m_port.storeRelease(server.serverPort());
        exec();
    }

private:
    int m_delayMs;
    QByteArray m_unknown;
    QAtomicInt m_port, m_requests;
};

QSettings programSettings()
{
    return QSettings(QSettings::UserScope, QStringLiteral("vantora"), QStringLiteral("vantora"));
}

QLabel *line(const QMainWindow &window)
{
    return window.findChild<QLabel *>(QLatin1String(kPricesAtStartLine));
}

} // namespace

class TstPricesAtStart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        QSettings settings = programSettings();
        settings.remove(QStringLiteral("Quotes"));
        settings.remove(frmPreferences::updateAtStartKey());
    }

    void inTheBackground_data()
    {
        QTest::addColumn<QString>("base"); // empty: the played service
        QTest::addColumn<QByteArray>("unknown");
        QTest::addColumn<QString>("said");
        QTest::addColumn<qint64>("stored"); // price rows
        QTest::newRow("every index")
            << QString() << QByteArray() << "Prices: Updated 3 of 3 symbols (9 days)." << qint64(9);
        QTest::newRow("one unknown")
            << QString() << QByteArray("%5EGSPC")
            << "Prices: Updated 2 of 3 symbols (6 days); not updated: ^GSPC (No data found, "
               "symbol may be delisted)."
            << qint64(6);
        QTest::newRow("no one there")
            << "http://127.0.0.1:1" << QByteArray()
            << "Prices: Could not reach 127.0.0.1: connection refused. Nothing was updated."
            << qint64(0);
    }
    void inTheBackground()
    {
        QFETCH(QString, base);
        QFETCH(QByteArray, unknown);
        QFETCH(QString, said);
        QFETCH(qint64, stored);
        test::TestDatabase db;
        QVERIFY2(db.isValid(), qPrintable(db.error()));
        constexpr int kDelayMs = 700;
        SlowChartService service(kDelayMs, unknown);
        QSettings settings = programSettings();
        settings.setValue(QStringLiteral("Quotes/Source"), QStringLiteral("yahoo"));
        settings.setValue(QStringLiteral("Quotes/Base URL"),
                          base.isEmpty() ? service.base() : base);
        settings.setValue(frmPreferences::updateAtStartKey(), true);
        settings.sync();

        test::ScriptedDialogs dialogs;
        QMainWindow window;
        window.resize(600, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // The call returns at once, long before the first answer could have come.
        QElapsedTimer took;
        took.start();
        QVERIFY(updatePricesAtStart(&window));
        QVERIFY2(took.elapsed() < kDelayMs / 2, qPrintable(QString::number(took.elapsed())));
        QVERIFY(line(window));
        QCOMPARE(line(window)->text(), QStringLiteral("Updating the prices…"));

        QTRY_COMPARE_WITH_TIMEOUT(line(window)->text(), said, 30000);
        QCOMPARE(db.count(QStringLiteral("Prices")), stored);
        QVERIFY(dialogs.requests().isEmpty());
        if (base.isEmpty())
            QCOMPARE(service.requests(), 3);
    }

    // Without the preference nothing is asked and the window keeps its foot; a window that
    // goes while the update waits for its answers stops it.
    void offOrGone()
    {
        test::TestDatabase db;
        SlowChartService service(3000, {});
        QSettings settings = programSettings();
        settings.setValue(QStringLiteral("Quotes/Source"), QStringLiteral("yahoo"));
        settings.setValue(QStringLiteral("Quotes/Base URL"), service.base());
        settings.sync();
        {
            QMainWindow window;
            window.show();
            QVERIFY(!updatePricesAtStart(&window));
            QTest::qWait(200);
            QVERIFY(!line(window));
            QCOMPARE(service.requests(), 0);
        }
        auto window = std::make_unique<QMainWindow>();
        window->show();
        QVERIFY(updatePricesInBackground(window.get()));
        QTRY_VERIFY_WITH_TIMEOUT(service.requests() > 0, 10000);
        QElapsedTimer took;
        took.start();
        window.reset();
        QVERIFY2(took.elapsed() < 1500, qPrintable(QString::number(took.elapsed())));
        QCOMPARE(db.count(QStringLiteral("Prices")), qint64(0));
    }
};

VANTORA_TEST_MAIN(TstPricesAtStart)
#include "tst_pricesatstart.moc"
