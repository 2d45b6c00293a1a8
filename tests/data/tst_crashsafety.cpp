// SPDX-License-Identifier: GPL-3.0-or-later
// A writer killed at random moments: after every kill the database passes SQLite's integrity
// check and holds every record whose save had returned, whole.

#include "data/store/database.h"
#include "tests/support/coresupport.h"
#include "tests/support/testdb.h"

#include <QElapsedTimer>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <csignal>
#include <sys/types.h>

using namespace vantora;
using vantora::test::TestDatabase;

namespace {

QString picksFor(qint64 number)
{
    return QStringLiteral("picks of %1 ").arg(number).repeated(300);
}

} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedWriterLosesNothing()
    {
        const QString program =
            QCoreApplication::applicationDirPath() + QStringLiteral("/crashwriter");
        QVERIFY2(QFileInfo::exists(program), "crashwriter is not built");
        TestDatabase db;
        QVERIFY(db.isValid());
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        qInfo("seed %u", seed);

        constexpr int kKills = 30;
        QHash<qint64, bool> saved; // every record whose saves returned
        qint64 checks = 0;
        qint64 lost = 0;
        int midTransaction = 0; // kills that left a transaction for the next opener to undo
        QElapsedTimer clock;
        clock.start();
        for (int kill = 0; kill < kKills; ++kill) {
            QProcess writer;
            writer.setProcessChannelMode(QProcess::SeparateChannels);
            writer.start(program, {db.path(), QString::number((kill + 1) * qint64(1000000))});
            QVERIFY(writer.waitForStarted(10000));
            QByteArray output;
            while (!output.contains("ready\n")) {
                QVERIFY2(writer.waitForReadyRead(20000), writer.readAllStandardError().constData());
                output += writer.readAllStandardOutput();
            }
            QThread::msleep(random.bounded(20, 201));
            ::kill(pid_t(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished(10000));
            QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
            output += writer.readAllStandardOutput();
            QVERIFY2(writer.readAllStandardError().isEmpty(), "the writer met an error");
            if (QFileInfo(db.path() + QStringLiteral("-journal")).size() > 0)
                ++midTransaction;

            for (const QByteArray &line : output.split('\n')) {
                bool ok = false;
                const qint64 number = line.toLongLong(&ok);
                if (ok)
                    saved.insert(number, true);
            }

            // As the program would find the file after the crash.
            const CheckReport report = checkDatabase(db.path());
            QVERIFY2(report.ok, qPrintable(report.problems.join(QLatin1Char('\n'))));

            QHash<QString, QVariantList> stored;
            const QVariantList names =
                db.fieldValues(QStringLiteral("Analyst"), QStringLiteral("Analyst's Name"));
            const QVariantList picks =
                db.fieldValues(QStringLiteral("Analyst"), QStringLiteral("Stock Picks"));
            const QVariantList credibility =
                db.fieldValues(QStringLiteral("Analyst"), QStringLiteral("Credibility"));
            for (qsizetype i = 0; i < names.size(); ++i) {
                // Every row there is whole, saved in full or not at all.
                const qint64 number = names[i].toString().mid(7).toLongLong();
                QCOMPARE(picks[i].toString(), picksFor(number));
                stored.insert(names[i].toString(), {picks[i], credibility[i]});
            }
            for (auto it = saved.cbegin(); it != saved.cend(); ++it) {
                ++checks;
                const auto row = stored.constFind(QStringLiteral("writer %1").arg(it.key()));
                if (row == stored.cend() ||
                    row->at(1).toString() != QStringLiteral("checked %1").arg(it.key()))
                    ++lost;
            }
        }
        qInfo("kills %d (%d in the middle of a transaction), records saved %lld, records checked "
              "%lld (each after every later kill), records lost %lld, %lld ms",
              kKills, midTransaction, static_cast<long long>(saved.size()),
              static_cast<long long>(checks), static_cast<long long>(lost),
              static_cast<long long>(clock.elapsed()));
        QVERIFY(!saved.isEmpty());
        QCOMPARE(lost, qint64(0));
    }
};

VANTORA_CORE_TEST_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
