// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop.h"
#include "data/store/database.h"
#include "data/store/privatefiles.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <sys/stat.h>

using namespace vantora;

namespace {

enum Situation { NoFile, FileThere, FolderBlocked };
enum Answer { Sample, Empty, Cancel };

} // namespace

class TstFirstRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The settings file may hold a quote source's key: 0600 in a 0700 folder whatever the
    // umask, and still so once the settings are saved into it.
    void settingsArePrivate_data()
    {
        QTest::addColumn<int>("umask");
        QTest::addColumn<bool>("existing"); // a file and folder left open by an older version
        QTest::newRow("umask 022") << 0022 << false;
        QTest::newRow("umask 000") << 0000 << false;
        QTest::newRow("umask 077") << 0077 << false;
        QTest::newRow("an open file and folder there") << 0022 << true;
    }
    void settingsArePrivate()
    {
        QFETCH(int, umask);
        QFETCH(bool, existing);
        QTemporaryDir home;
        const QString folder = home.filePath(QStringLiteral("config/vantora"));
        const QString path = folder + QStringLiteral("/vantora.conf");
        if (existing) {
            QVERIFY(QDir().mkpath(folder));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(::chmod(qPrintable(folder), 0755) == 0 && ::chmod(qPrintable(path), 0644) == 0);
        }
        const mode_t before = ::umask(mode_t(umask));
        const DbError failure = makeSettingsFilePrivate(path);
        {
            QSettings settings(path, QSettings::IniFormat);
            settings.setValue(QStringLiteral("Quotes/Source"), QStringLiteral("stooq"));
        }
        ::umask(before);
        QVERIFY2(!failure, qPrintable(failure.message));
        struct stat info
        {
        };
        QVERIFY(::stat(qPrintable(folder), &info) == 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0700));
        QVERIFY(::stat(qPrintable(path), &info) == 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0600));
        QVERIFY(QFile(path).size() > 0);
    }

    void offer_data()
    {
        QTest::addColumn<bool>("namedByUser");
        QTest::addColumn<bool>("unattended");
        QTest::addColumn<int>("situation");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("outcome");

        const int none = -1;
        QTest::newRow("sample database")
            << false << false << int(NoFile) << int(Sample) << int(FirstRun::CreatedSample);
        QTest::newRow("empty database")
            << false << false << int(NoFile) << int(Empty) << int(FirstRun::CreatedEmpty);
        QTest::newRow("cancel") << false << false << int(NoFile) << int(Cancel)
                                << int(FirstRun::Declined);
        QTest::newRow("folder cannot be made")
            << false << false << int(FolderBlocked) << int(Sample) << int(FirstRun::CreationFailed);
        QTest::newRow("file named on the command line")
            << true << false << int(NoFile) << none << int(FirstRun::NothingOffered);
        QTest::newRow("screenshot run")
            << false << true << int(NoFile) << none << int(FirstRun::NothingOffered);
        QTest::newRow("database already there")
            << false << false << int(FileThere) << none << int(FirstRun::NothingOffered);
    }

    void offer()
    {
        QFETCH(bool, namedByUser);
        QFETCH(bool, unattended);
        QFETCH(int, situation);
        QFETCH(int, answer);
        QFETCH(int, outcome);
        QTemporaryDir home;
        // The default place lies in a folder that a first run has not made yet.
        const QString path = home.filePath(QStringLiteral("vantora/cm1.db"));
        QByteArray before;
        if (situation == FileThere) {
            QVERIFY(!createDatabase(path, false));
            before = test::fileContents(path);
        } else if (situation == FolderBlocked) {
            QFile blocker(home.filePath(QStringLiteral("vantora")));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }

        test::ScriptedDialogs dialogs;
        dialogs.answerButton(answer);
        QCOMPARE(int(offerDatabase(path, namedByUser, unattended)), outcome);

        const bool offered = answer >= 0;
        QCOMPARE(dialogs.requests().size(), offered ? (situation == FolderBlocked ? 2 : 1) : 0);
        if (offered) {
            const DialogRequest &request = dialogs.requests().constFirst();
            QCOMPARE(request.buttons,
                     QStringList({"Create Sample Database", "Create Empty Database", "Cancel"}));
            QCOMPARE(request.title, QStringLiteral("Vantora Market Pro"));
            QVERIFY2(request.text.contains(QDir::toNativeSeparators(path)),
                     qPrintable(request.text));
        }
        if (situation == FolderBlocked)
            QVERIFY2(
                dialogs.messages().constLast().contains(QStringLiteral("could not be created")),
                qPrintable(dialogs.messages().constLast()));
        if (situation == FileThere)
            QCOMPARE(test::fileContents(path), before);

        const bool made =
            outcome == int(FirstRun::CreatedSample) || outcome == int(FirstRun::CreatedEmpty);
        if (!made) {
            QCOMPARE(QFileInfo::exists(path), situation == FileThere);
            return;
        }
        // The same file as the database tool makes.
        const CheckReport report = checkDatabase(path);
        QVERIFY2(report.ok, qPrintable(report.problems.join(QLatin1Char('\n'))));
        const QString reference = home.filePath(QStringLiteral("reference.db"));
        QStringList create{QStringLiteral("create"), reference};
        if (answer == Sample)
            create << QStringLiteral("--sample");
        const test::ToolRun run = test::runDatabaseTool(create);
        QVERIFY2(run.finished && run.exitCode == 0, qPrintable(run.output));
        QCOMPARE(report.facts, checkDatabase(reference).facts);
    }
};

VANTORA_TEST_MAIN(TstFirstRun)
#include "tst_firstrun.moc"
