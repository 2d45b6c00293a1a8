// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/navigation.h"
#include "app/registry.h"
#include "shell/frmTip.h"
#include "tests/support/testsupport.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <sys/stat.h>

using namespace vantora;

namespace {

const QString kMissingNotice = QStringLiteral(
    "That the TIPOFDAY.TXT file was not found? \r\n\r\nCreate a text file named TIPOFDAY.TXT "
    "using NotePad with 1 tip per line. Then place it in the same directory as the "
    "application. ");

const QString kNoValue = QStringLiteral("<none>");

frmTip *tip()
{
    return ScreenRegistry::get<frmTip>(QStringLiteral("frmTip"));
}

// The store as any program of this name would read it: application name, section, key.
QString storedSetting()
{
    const QString app = QCoreApplication::applicationName();
    QSettings settings(QSettings::UserScope, app, app);
    return settings.value(QStringLiteral("Options/Show Tips at Startup"), kNoValue).toString();
}

// The settings file as it stands: it is written anew (under another inode) whenever it changes.
quint64 settingsFileId()
{
    const QString app = QCoreApplication::applicationName();
    struct stat info
    {
    };
    return ::stat(
               QFile::encodeName(QSettings(QSettings::UserScope, app, app).fileName()).constData(),
               &info) == 0
               ? quint64(info.st_ino)
               : 0;
}

void storeSetting(const QString &value)
{
    const QString app = QCoreApplication::applicationName();
    QSettings settings(QSettings::UserScope, app, app);
    if (value == kNoValue)
        settings.remove(QStringLiteral("Options"));
    else
        settings.setValue(QStringLiteral("Options/Show Tips at Startup"), value);
}

template <typename T> T *control(const char *name)
{
    return test::control<T>(tip(), QString::fromLatin1(name));
}

QString tipText()
{
    return control<QLabel>("lblTipText")->text();
}

// Tip windows that a user could see.
int visibleTipWindows()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("frmTip") && widget->isVisible())
            ++count;
    return count;
}

// The program's start: the main window, then the tip window once the main window has painted.
void startProgram()
{
    navigate(nullptr, QStringLiteral("Form11"));
    QVERIFY(QTest::qWaitForWindowExposed(test::mainWindow()->window()));
    if (tip()->isLoaded())
        QTRY_VERIFY(tip()->window()->isVisible());
}

} // namespace

class TstFrmTip : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_tipsFile = m_dir.filePath(QStringLiteral("TIPOFDAY.TXT"));
    }

    void init()
    {
        storeSetting(kNoValue);
        tip()->setTipsDirectory(m_dir.path());
        QDir(m_tipsFile).removeRecursively();
        QFile::remove(m_tipsFile);
        writeTips("Buy what you understand.\nSell when the reason you bought is gone.\n");
    }

    void cleanup() { test::unloadAllScreens(); }

    void startupSetting_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("storedAfter");
        QTest::addColumn<bool>("written"); // the settings file is written as the program starts

        QTest::newRow("first run") << kNoValue << true << "1" << true;
        QTest::newRow("on") << "1" << true << "1" << false;
        QTest::newRow("off") << "0" << false << "0" << false;
        QTest::newRow("off with blanks") << " 0 " << false << " 0 " << false;
        QTest::newRow("other whole number") << "2" << true << "1" << true;
        QTest::newRow("not a number counts as on") << "maybe" << true << "1" << true;
        QTest::newRow("fraction counts as on") << "0.5" << true << "1" << true;
        QTest::newRow("empty text counts as on") << "" << true << "1" << true;
    }

    void startupSetting()
    {
        QFETCH(QString, stored);
        QFETCH(bool, shown);
        QFETCH(QString, storedAfter);
        QFETCH(bool, written);
        storeSetting(stored);
        const quint64 before = settingsFileId();

        startProgram();

        QVERIFY(test::mainWindow()->isLoaded());
        QCOMPARE(tip()->isLoaded(), shown);
        QCOMPARE(visibleTipWindows(), shown ? 1 : 0);
        if (shown) {
            QCOMPARE(tip()->window()->windowTitle(), QStringLiteral("Tip of the Day"));
            QVERIFY(control<QCheckBox>("chkLoadTipsAtStartup")->isChecked());
            QCOMPARE(control<QLabel>("Label1")->text(), QStringLiteral("Did you know..."));
        }
        QCOMPARE(storedSetting(), storedAfter);
        QCOMPARE(settingsFileId() != before, written);
    }

    void uncheckingKeepsTipsAway()
    {
        startProgram();
        QVERIFY(tip()->isLoaded());

        control<QCheckBox>("chkLoadTipsAtStartup")->click();
        QCOMPARE(storedSetting(), QStringLiteral("0"));
        QVERIFY(tip()->isLoaded());
        QCOMPARE(visibleTipWindows(), 1);

        control<QPushButton>("cmdOK")->click();
        QVERIFY(!tip()->isLoaded());
        test::flushDeletes();

        // Neither a return to the main window nor a new start shows a tip.
        QVERIFY(navigate(test::mainWindow(), QStringLiteral("Form6")));
        QVERIFY(
            navigate(ScreenRegistry::existing(QStringLiteral("Form6")), QStringLiteral("Form11")));
        QVERIFY(!tip()->isLoaded());
        QVERIFY(test::mainWindow()->unload());
        startProgram();
        QVERIFY(!tip()->isLoaded());
        test::flushDeletes();
        QCOMPARE(visibleTipWindows(), 0);
        QCOMPARE(storedSetting(), QStringLiteral("0"));
    }

    void recheckingWritesOne()
    {
        startProgram();
        auto *box = control<QCheckBox>("chkLoadTipsAtStartup");
        box->click();
        QCOMPARE(storedSetting(), QStringLiteral("0"));
        box->click();
        QCOMPARE(storedSetting(), QStringLiteral("1"));
    }

    // A settings file that cannot be written: the lost choice is said once in a run.
    void unwritableSettingsAreReportedOnce()
    {
        const QString app = QCoreApplication::applicationName();
        const QString file = QSettings(QSettings::UserScope, app, app).fileName();
        QVERIFY(QFile::remove(file) || !QFileInfo::exists(file));
        QVERIFY(QDir().mkpath(file)); // a folder where the file would be
        const auto restore = qScopeGuard([file] { QDir(file).removeRecursively(); });
        test::ScriptedDialogs dialogs;
        startProgram();
        QVERIFY(tip()->isLoaded());
        QVERIFY(dialogs.messages().isEmpty());
        auto *box = control<QCheckBox>("chkLoadTipsAtStartup");
        for (int click = 0; click < 3; ++click)
            box->click();
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY2(dialogs.messages().at(0).contains(file) &&
                     dialogs.messages().at(0).contains(QStringLiteral("cannot be written")),
                 qPrintable(dialogs.messages().at(0)));
    }

    void tipsFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("tips");

        QTest::newRow("one line") << QByteArray("Buy low.\n") << QStringList{"Buy low."};
        QTest::newRow("one line, no line end") << QByteArray("Buy low.") << QStringList{"Buy low."};
        QTest::newRow("three lines")
            << QByteArray("Alpha\nBeta\nGamma\n") << QStringList{"Alpha", "Beta", "Gamma"};
        QTest::newRow("written on another system")
            << QByteArray("Alpha\r\nBeta\r\n") << QStringList{"Alpha", "Beta"};
        QTest::newRow("blank line is a tip")
            << QByteArray("Alpha\n\nGamma\n") << QStringList{"Alpha", "", "Gamma"};
        QTest::newRow("spaces kept")
            << QByteArray("  Indented tip  \n") << QStringList{"  Indented tip  "};
        QTest::newRow("accented") << QByteArray("Caf\xc3\xa9 shares\n")
                                  << QStringList{QString::fromUtf8("Caf\xc3\xa9 shares")};
    }

    // Every tip of the file can come up, nothing else does, and "Next Tip" keeps drawing.
    void tipsFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, tips);
        writeTips(content);

        startProgram();
        QVERIFY(tip()->isLoaded());
        QCOMPARE(tip()->tips(), tips);

        QSet<QString> seen{tipText()};
        auto *next = control<QPushButton>("cmdNextTip");
        for (int i = 0; i < 300; ++i) {
            next->click();
            QVERIFY2(tips.contains(tipText()), qPrintable(tipText()));
            seen.insert(tipText());
        }
        QCOMPARE(seen, QSet<QString>(tips.cbegin(), tips.cend()));
        QVERIFY(tip()->currentTip() >= 1 && tip()->currentTip() <= tips.size());
    }

    void noTipsToShow_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("expected");

        QTest::newRow("missing file") << "missing" << kMissingNotice;
        QTest::newRow("folder in its place") << "folder" << kMissingNotice;
        QTest::newRow("empty file") << "empty" << QString();
    }

    void noTipsToShow()
    {
        QFETCH(QString, situation);
        QFETCH(QString, expected);
        QFile::remove(m_tipsFile);
        if (situation == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(m_tipsFile));
        else if (situation == QLatin1String("empty"))
            writeTips(QByteArray());

        startProgram();
        QVERIFY(tip()->isLoaded());
        QCOMPARE(tipText(), expected);
        QVERIFY(tip()->tips().isEmpty());

        control<QPushButton>("cmdNextTip")->click();
        QCOMPARE(tipText(), expected);
        control<QPushButton>("cmdOK")->click();
        QVERIFY(!tip()->isLoaded());
    }

    // Each load reads the file afresh: the list does not grow, and a changed or vanished file
    // shows at once.
    void eachLoadReadsTheFileAfresh()
    {
        for (int visit = 0; visit < 3; ++visit) {
            tip()->show();
            QCOMPARE(tip()->tips().size(), 2);
            tip()->unload();
        }

        writeTips("Only this one.\n");
        tip()->show();
        QCOMPARE(tipText(), QStringLiteral("Only this one."));
        tip()->unload();

        QFile::remove(m_tipsFile);
        tip()->show();
        QCOMPARE(tipText(), kMissingNotice);
        control<QPushButton>("cmdNextTip")->click();
        QCOMPARE(tipText(), kMissingNotice);
    }

    void secondMainWindowLoadKeepsTheTip()
    {
        writeTips("Alpha\nBeta\nGamma\nDelta\nEpsilon\nZeta\nEta\nTheta\n");
        startProgram();
        QWidget *tipWindow = tip()->window();
        const QString shown = tipText();

        QVERIFY(test::mainWindow()->unload());
        test::mainWindow()->show();

        QVERIFY(tip()->isLoaded());
        QCOMPARE(tip()->window(), tipWindow);
        QCOMPARE(tipText(), shown);
        test::flushDeletes();
        QCOMPARE(visibleTipWindows(), 1);
    }

    void tipStaysWhileOtherScreensComeAndGo()
    {
        startProgram();
        const QString shown = tipText();
        QVERIFY(navigate(test::mainWindow(), QStringLiteral("Form6")));
        QVERIFY(tip()->isLoaded());
        QCOMPARE(tipText(), shown);
    }

    void closingTheTipWindow_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("closes");

        QTest::newRow("OK") << "ok" << true;
        QTest::newRow("Enter") << "enter" << true;
        QTest::newRow("Esc") << "esc" << true;
        QTest::newRow("close box") << "close" << true;
        QTest::newRow("Enter on Next Tip") << "enter on next" << false;
        QTest::newRow("Next Tip") << "next" << false;
    }

    void closingTheTipWindow()
    {
        QFETCH(QString, how);
        QFETCH(bool, closes);
        startProgram();
        QWidget *window = tip()->window();

        if (how == QLatin1String("ok"))
            QTest::mouseClick(control<QPushButton>("cmdOK"), Qt::LeftButton);
        else if (how == QLatin1String("enter"))
            QTest::keyClick(window, Qt::Key_Return);
        else if (how == QLatin1String("esc"))
            QTest::keyClick(window, Qt::Key_Escape);
        else if (how == QLatin1String("close"))
            window->close();
        else if (how == QLatin1String("enter on next"))
            QTest::keyClick(control<QPushButton>("cmdNextTip"), Qt::Key_Return);
        else
            QTest::mouseClick(control<QPushButton>("cmdNextTip"), Qt::LeftButton);

        QCOMPARE(tip()->isLoaded(), !closes);
        QVERIFY(test::mainWindow()->isLoaded());
        test::flushDeletes();
        QCOMPARE(visibleTipWindows(), closes ? 0 : 1);
        // The tips stay with the instance.
        QCOMPARE(tip()->tips().size(), 2);
    }

    void reopenedAfterClosingShowsATip()
    {
        startProgram();
        control<QPushButton>("cmdOK")->click();
        QVERIFY(navigate(test::mainWindow(), QStringLiteral("Form6")));
        QVERIFY(
            navigate(ScreenRegistry::existing(QStringLiteral("Form6")), QStringLiteral("Form11")));
        QVERIFY(tip()->isLoaded());
        QVERIFY(tip()->tips().contains(tipText()));
        QVERIFY(!tipText().isEmpty());
    }

private:
    void writeTips(const QByteArray &content)
    {
        QFile file(m_tipsFile);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(content), content.size());
    }

    QTemporaryDir m_dir;
    QString m_tipsFile;
};

VANTORA_TEST_MAIN(TstFrmTip)
#include "tst_frmtip.moc"
