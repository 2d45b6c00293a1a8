// SPDX-License-Identifier: GPL-3.0-or-later
// The quote sources' keys in a desktop wallet: a session bus of the test's own with a wallet on
// it (tests/support/fakewallet.py), reached through QtKeychain as a desktop's would be; and the
// settings file once that wallet is gone.
#include "tests/support/coresupport.h"

#include "data/quotes/keys.h"

#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

using namespace vantora;
using quotes::KeyPlace;
using quotes::SourceKind;

namespace {

QString settingsFile()
{
    return QSettings(QSettings::UserScope, QStringLiteral("vantora"), QStringLiteral("vantora"))
        .fileName();
}

} // namespace

class TstKeyring : public QObject
{
    Q_OBJECT

    QProcess m_bus, m_wallet;

    // What the wallet holds, asked on the bus past QtKeychain.
    QString walletHolds()
    {
        QProcess send;
        send.start(QStringLiteral("dbus-send"),
                   {QStringLiteral("--session"), QStringLiteral("--print-reply=literal"),
                    QStringLiteral("--dest=org.kde.kwalletd5"),
                    QStringLiteral("/modules/kwalletd5"), QStringLiteral("org.kde.KWallet.dump")});
        send.waitForFinished(5000);
        return QString::fromUtf8(send.readAllStandardOutput()).trimmed();
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString python =
            QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("dbus-send")).isEmpty() ||
            python.isEmpty() ||
            QProcess::execute(python, {QStringLiteral("-c"), QStringLiteral("import dbus, gi")}) !=
                0)
            QSKIP("needs dbus-daemon, dbus-send, python3-dbus and python3-gi");

        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--session"), QStringLiteral("--nofork"),
                     QStringLiteral("--print-address=1")});
        QVERIFY(m_bus.waitForReadyRead(10000));
        const QByteArray address = m_bus.readLine().trimmed();
        QVERIFY(!address.isEmpty());
        // Before the first keyring job: QtKeychain picks its wallet once, by the desktop.
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        qputenv("XDG_CURRENT_DESKTOP", "KDE");
        qputenv("KDE_SESSION_VERSION", "5");

        m_wallet.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_wallet.start(python, {QStringLiteral(VANTORA_FAKE_WALLET)});
        QVERIFY(m_wallet.waitForReadyRead(10000));
        QCOMPARE(m_wallet.readLine().trimmed(), QByteArray("ready"));
        QFile::remove(settingsFile());
    }

    void cleanupTestCase()
    {
        for (QProcess *process : {&m_wallet, &m_bus}) {
            process->kill();
            process->waitForFinished(5000);
        }
    }

    // Saved, read back, replaced and removed in the wallet, each source under its own name;
    // never in the settings file. The rows run on one wallet.
    void inTheWallet_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<QStringList>("keys"); // saved one after the other
        QTest::addColumn<QString>("held");     // what the wallet holds then
        QTest::newRow("Alpha Vantage")
            << int(SourceKind::AlphaVantage) << QStringList{QStringLiteral("AV-KEY-1")}
            << "vantora/quotes-alphavantage=AV-KEY-1";
        QTest::newRow("Stooq beside it, replaced")
            << int(SourceKind::Stooq)
            << QStringList{QStringLiteral("old-stooq-key"), QStringLiteral("new-stooq-key")}
            << "vantora/quotes-alphavantage=AV-KEY-1\nvantora/quotes-stooq=new-stooq-key";
        QTest::newRow("removed") << int(SourceKind::AlphaVantage) << QStringList{QString()}
                                 << "vantora/quotes-stooq=new-stooq-key";
    }
    void inTheWallet()
    {
        QFETCH(int, source);
        QFETCH(QStringList, keys);
        QFETCH(QString, held);
        const auto kind = SourceKind(source);
        for (const QString &key : keys) {
            quotes::SavedKey where;
            QVERIFY(quotes::saveKey(kind, key, &where));
            QVERIFY2(where.why.isEmpty(), qPrintable(where.why));
            QCOMPARE(int(where.place), int(KeyPlace::Keyring));
            const quotes::SavedKey saved = quotes::savedKey(kind);
            QCOMPARE(saved.key, key);
            QCOMPARE(int(saved.place), int(KeyPlace::Keyring));
            if (!key.isEmpty())
                QVERIFY(!test::fileContents(settingsFile()).contains(key.toUtf8()));
        }
        QCOMPARE(walletHolds(), held);
    }

    // With the wallet gone, a key is kept in the settings file, and the reason is given.
    void walletGone()
    {
        m_wallet.kill();
        QVERIFY(m_wallet.waitForFinished(5000));
        quotes::SavedKey where;
        QVERIFY(quotes::saveKey(SourceKind::AlphaVantage, QStringLiteral("AV-KEY-2"), &where));
        QCOMPARE(int(where.place), int(KeyPlace::SettingsFile));
        QVERIFY(!where.why.isEmpty());
        QVERIFY(test::fileContents(settingsFile()).contains("AV-KEY-2"));
        const quotes::SavedKey saved = quotes::savedKey(SourceKind::AlphaVantage);
        QCOMPARE(saved.key, QStringLiteral("AV-KEY-2"));
        QCOMPARE(int(saved.place), int(KeyPlace::SettingsFile));
    }
};

VANTORA_CORE_TEST_MAIN(TstKeyring)
#include "tst_keyring.moc"
