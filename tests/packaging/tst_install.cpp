// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop.h"
#include "common/config.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QIcon>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace vantora;

namespace {

const QString kBuildDir = QStringLiteral(VANTORA_BUILD_DIR);
const QString kAppId = QStringLiteral("example.tallowby.vantora");

// Every file below a folder, relative to it, sorted.
QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

struct Run
{
    int exitCode = -1;
    QString output;
};

Run run(const QString &program, const QStringList &args,
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(120000))
        return {-1, program + QStringLiteral(": ") + process.errorString()};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

} // namespace

// The build installed as a package installs it: prefix /usr, into a temporary DESTDIR.
class TstInstall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_destDir.isValid());
        applyDesktopIdentity(); // as the program does at start-up
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DESTDIR"), m_destDir.path());
        const Run install =
            run(QStringLiteral(VANTORA_CMAKE_COMMAND),
                {QStringLiteral("--install"), kBuildDir, QStringLiteral("--prefix"), "/usr"},
                environment);
        QVERIFY2(install.exitCode == 0, qPrintable(install.output));
        m_usr = m_destDir.filePath(QStringLiteral("usr"));
    }

    // Every file in its place, and nothing else (no library, nothing left in bin/).
    void installedFiles()
    {
        QStringList expected{
            "bin/vantora",
            "bin/vantora-db",
            "share/applications/" + kAppId + ".desktop",
            "share/doc/vantora/changelog.gz",
            "share/doc/vantora/copyright",
            "share/icons/hicolor/128x128/apps/vantora.png",
            "share/icons/hicolor/256x256/apps/vantora.png",
            "share/icons/hicolor/48x48/apps/vantora.png",
            "share/icons/hicolor/scalable/apps/vantora.svg",
            "share/man/man1/vantora-db.1.gz",
            "share/man/man1/vantora.1.gz",
            "share/metainfo/" + kAppId + ".metainfo.xml",
            "share/vantora/TIPOFDAY.TXT",
            "share/vantora/manual/index.html",
            "share/vantora/translations/vantora_de.qm",
            VANTORA_WEB_MODULE,
        };
        const QStringList site = filesBelow(kBuildDir + QStringLiteral("/bin/site"));
        QVERIFY(site.contains(QStringLiteral("ban2.htm")));
        for (const QString &page : site)
            expected << QStringLiteral("share/vantora/site/") + page;
        for (QString &file : expected)
            file.prepend(QStringLiteral("usr/"));
        expected.sort();
        QCOMPARE(filesBelow(m_destDir.path()), expected);
        for (const char *program : {"bin/vantora", "bin/vantora-db"})
            QVERIFY(QFileInfo(m_usr + QLatin1Char('/') + QLatin1String(program)).isExecutable());
        // Where the program looks for its web module, from its own folder.
        QVERIFY(QFileInfo::exists(
            m_usr + QStringLiteral("/bin/" VANTORA_MODULE_FROM_BIN "/vantora-web.so")));
    }

    void validated_data()
    {
        QTest::addColumn<QString>("validator");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");

        QTest::newRow("desktop entry") << "desktop-file-validate" << QStringList()
                                       << "share/applications/" + kAppId + ".desktop";
        QTest::newRow("metainfo") << "appstreamcli" << QStringList{"validate", "--no-net"}
                                  << "share/metainfo/" + kAppId + ".metainfo.xml";
    }

    void validated()
    {
        QFETCH(QString, validator);
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        const QString program = QStandardPaths::findExecutable(validator);
        QVERIFY2(
            !program.isEmpty(),
            qPrintable(validator + QStringLiteral(" is missing (scripts/test.sh installs it)")));
        const Run check = run(program, arguments << m_usr + QLatin1Char('/') + file);
        QVERIFY2(check.exitCode == 0, qPrintable(check.output));
    }

    // The installed program finds its data from its own folder; the build tree's beside it.
    void dataFound_data()
    {
        QTest::addColumn<QString>("programFolder");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("folder");

        QTest::newRow("installed tips") << "usr/bin"
                                        << "TIPOFDAY.TXT"
                                        << "usr/share/vantora";
        QTest::newRow("installed site") << "usr/bin"
                                        << "site"
                                        << "usr/share/vantora";
        QTest::newRow("tips in the build tree") << ""
                                                << "TIPOFDAY.TXT"
                                                << "";
        QTest::newRow("site in the build tree") << ""
                                                << "site"
                                                << "";
        QTest::newRow("installed translations") << "usr/bin"
                                                << "translations"
                                                << "usr/share/vantora";
        QTest::newRow("translations in the build tree") << ""
                                                        << "translations"
                                                        << "";
    }

    void dataFound()
    {
        QFETCH(QString, programFolder);
        QFETCH(QString, entry);
        QFETCH(QString, folder);
        // Rows name folders of the install; an empty one is the build tree's bin/.
        auto place = [this](const QString &relative) {
            return relative.isEmpty() ? kBuildDir + QStringLiteral("/bin")
                                      : m_destDir.filePath(relative);
        };
        QCOMPARE(config::dataFolder(entry, place(programFolder)), place(folder));
    }

    void icons_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("48") << 48;
        QTest::newRow("128") << 128;
        QTest::newRow("256") << 256;
    }

    // The installed theme icons and the icon every window shows.
    void icons()
    {
        QFETCH(int, size);
        const QString file = QStringLiteral("%1/share/icons/hicolor/%2x%2/apps/vantora.png")
                                 .arg(m_usr, QString::number(size));
        QCOMPARE(QImage(file).size(), QSize(size, size));
        QVERIFY(QApplication::windowIcon().availableSizes().contains(QSize(size, size)));
    }

private:
    QTemporaryDir m_destDir;
    QString m_usr;
};

VANTORA_TEST_MAIN(TstInstall)
#include "tst_install.moc"
