// SPDX-License-Identifier: GPL-3.0-or-later
// The preferences: what they save, where a key goes, and what Try says.
#include "app/registry.h"
#include "data/quotes/keys.h"
#include "tests/support/testsupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <sys/stat.h>

using namespace vantora;

namespace {

QSettings settings()
{
    return QSettings(QSettings::UserScope, QStringLiteral("vantora"), QStringLiteral("vantora"));
}

Screen *preferences()
{
    return ScreenRegistry::get(QStringLiteral("frmPreferences"));
}

template <typename T> T *control(const char *name)
{
    return test::control<T>(preferences(), QString::fromLatin1(name));
}

// Opens the window from the File menu, as a user does.
void openFromTheMenu()
{
    test::mainWindow()->show();
    test::control<QAction>(test::mainWindow(), QStringLiteral("prefs"))->trigger();
}

} // namespace

class TstFrmPreferences : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        test::unloadAllScreens();
        QSettings all = settings();
        all.remove(QStringLiteral("Quotes"));
        all.remove(QStringLiteral("Options"));
    }

    // Without a keyring (this test's session has none) the key goes into the private settings
    // file, the window says so without showing the key, and the sources read it from there.
    void keyWithoutAKeyring()
    {
        test::ScriptedDialogs dialogs;
        openFromTheMenu();
        QCOMPARE(preferences()->window()->objectName(), QStringLiteral("frmPreferences"));
        QVERIFY(!control<QLineEdit>("txtKey")->isEnabled()); // Yahoo Finance, the default
        control<QComboBox>("cboSource")->setFocus();
        control<QComboBox>("cboSource")->setCurrentIndex(1);
        QCOMPARE(control<QComboBox>("cboSource")->currentText(), QStringLiteral("Alpha Vantage"));
        QVERIFY(control<QLineEdit>("txtKey")->isEnabled());
        QCOMPARE(control<QLineEdit>("txtKey")->echoMode(), QLineEdit::Password);
        control<QLineEdit>("txtKey")->setFocus();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("SECRETKEY"));
        control<QSpinBox>("spnBackups")->setValue(4);
        control<QCheckBox>("chkUpdateAtStart")->setChecked(true);
        control<QPushButton>("cmdOK")->click();

        QVERIFY(!preferences()->isLoaded());
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY2(dialogs.messages().at(0).contains(QStringLiteral("settings file")) &&
                     !dialogs.messages().at(0).contains(QStringLiteral("SECRETKEY")),
                 qPrintable(dialogs.messages().at(0)));
        QSettings saved = settings();
        QCOMPARE(saved.value(QStringLiteral("Quotes/Source")).toString(),
                 QStringLiteral("alphavantage"));
        QCOMPARE(saved.value(QStringLiteral("Options/Backups kept")).toInt(), 4);
        QCOMPARE(saved.value(QStringLiteral("Options/Update Prices at Startup")).toBool(), true);
        struct stat info
        {
        };
        QVERIFY(::stat(qPrintable(saved.fileName()), &info) == 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0600));
        QCOMPARE(quotes::keyFor(quotes::SourceKind::AlphaVantage), QStringLiteral("SECRETKEY"));

        // Opened again: the key is there (hidden), and where it is kept is said.
        openFromTheMenu();
        QCOMPARE(control<QLineEdit>("txtKey")->text(), QStringLiteral("SECRETKEY"));
        QVERIFY(control<QLabel>("lblKeyPlace")
                    ->text()
                    .contains(QStringLiteral("readable by you only")));
        control<QPushButton>("cmdCancel")->click();
    }

    // A template without {symbol} is refused and the window stays; Try asks the source and says
    // what came, storing nothing.
    void templateAndTry()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        connect(&server, &QTcpServer::newConnection, &server, [&server] {
            QTcpSocket *socket = server.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                socket->readAll();
                const QByteArray body = "Date,Close\n2026-11-03,10\n2026-11-04,11\n";
                socket->write(
                    "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) +
                    "\r\nConnection: close\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
        });
        test::ScriptedDialogs dialogs;
        openFromTheMenu();
        control<QComboBox>("cboSource")->setCurrentIndex(3);
        QVERIFY(control<QLineEdit>("txtTemplate")->isEnabled());
        control<QLineEdit>("txtTemplate")
            ->setText(QStringLiteral("http://127.0.0.1:%1/prices.csv").arg(server.serverPort()));
        control<QPushButton>("cmdOK")->click();
        QVERIFY(preferences()->isLoaded());
        QVERIFY2(dialogs.messages().value(0).contains(QStringLiteral("has no {symbol}")),
                 qPrintable(dialogs.messages().join('\n')));

        control<QLineEdit>("txtTemplate")
            ->setText(QStringLiteral("http://127.0.0.1:%1/{symbol}.csv").arg(server.serverPort()));
        control<QPushButton>("cmdTry")->click();
        QCOMPARE(control<QLabel>("lblTry")->text(),
                 QStringLiteral("Address template answered: 2 days of MSFT."));
        control<QPushButton>("cmdOK")->click();
        QVERIFY(!preferences()->isLoaded());
        QCOMPARE(settings().value(QStringLiteral("Quotes/Source")).toString(),
                 QStringLiteral("url"));
    }
};

VANTORA_TEST_MAIN(TstFrmPreferences)
#include "tst_frmpreferences.moc"
