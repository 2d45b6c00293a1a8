// SPDX-License-Identifier: GPL-3.0-or-later
// Engine errors meet the record binding: each one is a clear message, the screen stays usable,
// and nothing typed or stored is lost.

#include "common/config.h"
#include "data/binding/datacontrol.h"
#include "data/binding/recordcommands.h"
#include "data/store/connection.h"
#include "tests/support/testdb.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>

using namespace vantora;
using vantora::test::ExclusiveLock;
using vantora::test::ReadOnlyFolder;
using vantora::test::ScriptedDialogs;
using vantora::test::TestDatabase;

namespace {

const QString kName = QStringLiteral("Analyst's Name");

const QString kPicks = QStringLiteral("Stock Picks");

// A record screen in miniature: two boxes bound to Analyst, and the data control.
struct BoundScreen
{
    QWidget window;
    QLineEdit *name = new QLineEdit(&window);
    QLineEdit *picks = new QLineEdit(&window);
    DataControl *data = new DataControl(&window);
    BoundScreen()
    {
        data->bind(name, kName);
        data->bind(picks, kPicks);
    }
    void click(const char *button)
    {
        data->findChild<QPushButton *>(QString::fromLatin1(button))->click();
    }
};

void addTwo(TestDatabase &db)
{
    db.insert(QStringLiteral("Analyst"), {kName, kPicks},
              {QStringLiteral("Mary Cole"), QStringLiteral("AAA")});
    db.insert(QStringLiteral("Analyst"), {kName, kPicks},
              {QStringLiteral("Adam Best"), QStringLiteral("BBB")});
}

} // namespace

class TestDataErrors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { connectionOptions() = {}; }
    void cleanup() { connectionOptions() = {}; }

    void missingFileIsNamedWithTheCreateCommand()
    {
        TestDatabase db;
        const QString path = db.folder() + QStringLiteral("/no such/cm1.db");
        config::setDatabasePath(path);
        BoundScreen s;
        ScriptedDialogs dialogs;
        s.name->setText(QStringLiteral("left over"));
        QVERIFY(!s.data->open(QStringLiteral("Analyst")));
        QCOMPARE(dialogs.messages().size(), 1);
        const QString message = dialogs.messages().at(0);
        QVERIFY2(message.contains(path), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("vantora-db create \"%1\" --sample").arg(path)),
                 qPrintable(message));
        QCOMPARE(dialogs.requests().at(0).title, QStringLiteral("Vantora Market Pro"));
        QCOMPARE(dialogs.requests().at(0).style, int(OkOnly));
        QVERIFY(!QFile::exists(path)); // never created
        QCOMPARE(s.name->text(), QString());
        QVERIFY(s.data->isEmpty());

        // Still usable: every command tells the same, and closing is quiet.
        s.click("Next");
        s.name->setText(QStringLiteral("typed meanwhile"));
        QVERIFY(!s.data->addNew());
        QVERIFY(!s.data->deleteCurrent());
        QCOMPARE(dialogs.messages().size(), 4);
        QCOMPARE(s.name->text(), QStringLiteral("typed meanwhile"));
        QVERIFY(s.data->close());
        QVERIFY(!QFile::exists(path));
    }

    void fileCreatedLaterIsPickedUp()
    {
        TestDatabase db;
        addTwo(db);
        const QString real = db.path();
        config::setDatabasePath(real + QStringLiteral(".missing"));
        BoundScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(!s.data->open(QStringLiteral("Analyst")));
        QVERIFY(QFile::rename(real, real + QStringLiteral(".missing")));
        s.click("Next");
        QCOMPARE(s.name->text(), QStringLiteral("Adam Best"));
        QCOMPARE(dialogs.messages().size(), 1);
    }

    void notADatabase_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("text file")
            << QByteArray("Name,Ticker\nAcme,ACME\n").repeated(60) << "is not a market database";
        QTest::newRow("empty file") << QByteArray() << "is an empty file";
    }
    void notADatabase()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        TestDatabase db;
        const QString path = db.folder() + QStringLiteral("/notes.db");
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        config::setDatabasePath(path);
        BoundScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(!s.data->open(QStringLiteral("Analyst")));
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY2(dialogs.messages().at(0).contains(expected), qPrintable(dialogs.messages().at(0)));
        QVERIFY2(dialogs.messages().at(0).contains(path), qPrintable(dialogs.messages().at(0)));
        QCOMPARE(test::fileContents(path), bytes); // the file is left exactly as it was
    }

    void missingTableFieldOrIndex_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("expected");
        QTest::newRow("table") << "DROP TABLE Analyst"
                               << "has no table \"Analyst\"";
        QTest::newRow("field") << "ALTER TABLE Analyst DROP COLUMN \"Stock Picks\""
                               << "has no field \"Stock Picks\"";
    }
    void missingTableFieldOrIndex()
    {
        QFETCH(QString, damage);
        QFETCH(QString, expected);
        TestDatabase db;
        addTwo(db);
        QVERIFY(db.exec(damage));
        BoundScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(!s.data->open(QStringLiteral("Analyst")));
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY2(dialogs.messages().at(0).contains(expected), qPrintable(dialogs.messages().at(0)));
        QVERIFY(dialogs.messages().at(0).contains(db.path()));
        QCOMPARE(s.name->text(), QString());
    }

    void missingIndexKeepsTheRecord()
    {
        TestDatabase db;
        addTwo(db);
        QVERIFY(db.exec(QStringLiteral("DROP INDEX \"Analyst's Name\"")));
        BoundScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        s.click("Next");
        s.picks->setText(QStringLiteral("typed"));
        dialogs.answerText(QStringLiteral("Mary Cole"));
        recordFind(s.data,
                   {QStringLiteral("p"), QStringLiteral("t"), QStringLiteral("Analyst's Name"),
                    QStringLiteral("Sorry, I couldn't find this analyst. ")});
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY2(
            dialogs.messages().at(0).contains(QStringLiteral("has no index \"Analyst's Name\"")),
            qPrintable(dialogs.messages().at(0)));
        QCOMPARE(s.name->text(), QStringLiteral("Adam Best"));
        QCOMPARE(s.picks->text(), QStringLiteral("typed"));
        s.click("Previous"); // still stepping in stored order, and the edit is kept
        QCOMPARE(s.name->text(), QStringLiteral("Mary Cole"));
        QCOMPARE(db.fieldValues(QStringLiteral("Analyst"), kPicks).at(1).toString(),
                 QStringLiteral("typed"));
    }

    void emptyTable_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("expected");
        QTest::newRow("delete") << "delete"
                                << "There is no record to delete: the table \"Analyst\" is empty.";
        QTest::newRow("first") << "First"
                               << "The table \"Analyst\" has no records. Click Add to enter one.";
        QTest::newRow("previous")
            << "Previous"
            << "The table \"Analyst\" has no records. Click Add to enter one.";
        QTest::newRow("next") << "Next"
                              << "The table \"Analyst\" has no records. Click Add to enter one.";
        QTest::newRow("last") << "Last"
                              << "The table \"Analyst\" has no records. Click Add to enter one.";
        QTest::newRow("find") << "find"
                              << "Sorry, I couldn't find this analyst. ";
    }
    void emptyTable()
    {
        QFETCH(QString, command);
        QFETCH(QString, expected);
        TestDatabase db;
        BoundScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        QVERIFY(dialogs.messages().isEmpty());
        if (command == QLatin1String("delete")) {
            recordDelete(s.data);
        } else if (command == QLatin1String("find")) {
            recordFind(s.data,
                       {QStringLiteral("p"), QStringLiteral("t"), QStringLiteral("Analyst's Name"),
                        QStringLiteral("Sorry, I couldn't find this analyst. ")});
        } else {
            s.click(qPrintable(command));
        }
        QCOMPARE(dialogs.messages().last(), expected);
        QVERIFY(s.data->isEmpty());
        QCOMPARE(s.name->text(), QString());
        // Still usable: a record can be added.
        QVERIFY(s.data->addNew());
        s.name->setText(QStringLiteral("First One"));
        s.click("Previous");
        QCOMPARE(db.count(QStringLiteral("Analyst")), 1);
    }

    void typingIntoEmptyTableWithoutAddIsKept()
    {
        TestDatabase db;
        BoundScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        s.name->setText(QStringLiteral("typed without Add"));
        s.click("Next");
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY(dialogs.messages().at(0).contains(QStringLiteral("Click Add")));
        QCOMPARE(s.name->text(), QStringLiteral("typed without Add"));
    }

    // A file the program may not write, one in a folder it may not write, or one another program
    // holds locked: the edit stays on screen, the record is not left, and the stored row is
    // untouched.
    void unsavableEdit_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("expected");
        QTest::newRow("read-only") << "read-only"
                                   << "is read-only";
        QTest::newRow("locked") << "locked"
                                << "is in use by another program";
        QTest::newRow("read-only folder") << "folder"
                                          << "that holds the market database";
    }
    void unsavableEdit()
    {
        QFETCH(QString, how);
        QFETCH(QString, expected);
        const bool locked = how == QLatin1String("locked");
        TestDatabase db;
        addTwo(db);
        connectionOptions().busyTimeoutMs = 50;
        connectionOptions().readOnly = how == QLatin1String("read-only");
        BoundScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        test::finishOpeningChecks();
        s.picks->setText(QStringLiteral("my edit"));
        auto lock = locked ? std::make_unique<ExclusiveLock>(db.path()) : nullptr;
        QVERIFY(!lock || lock->isLocked());
        std::unique_ptr<ReadOnlyFolder> folder;
        if (how == QLatin1String("folder")) {
            folder = std::make_unique<ReadOnlyFolder>(db.folder());
            if (!folder->isReadOnly())
                QSKIP("no way to make a folder read-only here");
            expected = QStringLiteral("the folder \"%1\" %2").arg(db.folder(), expected);
        }

        s.click("Next");
        QCOMPARE(dialogs.messages().size(), 1);
        const QString message = dialogs.messages().at(0);
        QVERIFY2(message.contains(expected) && message.contains(db.path()) &&
                     message.startsWith(QStringLiteral("Your changes could not be saved")),
                 qPrintable(message));
        QCOMPARE(s.name->text(), QStringLiteral("Mary Cole"));
        QCOMPARE(s.picks->text(), QStringLiteral("my edit"));
        QVERIFY(s.data->hasChanges());

        // Closing asks; Cancel stays with the edit, OK discards it.
        dialogs.clear();
        dialogs.answerButton(AnswerCancel);
        QVERIFY(!s.data->close());
        QCOMPARE(dialogs.requests().size(), 1);
        QCOMPARE(dialogs.requests().at(0).style, int(OkCancel));
        QVERIFY(dialogs.requests().at(0).text.contains(expected));
        QVERIFY(dialogs.requests().at(0).text.contains(QStringLiteral("discard")));
        QCOMPARE(s.picks->text(), QStringLiteral("my edit"));
        QVERIFY(s.data->isOpen());

        lock.reset();
        if (!locked) {
            dialogs.answerButton(AnswerOk);
            QVERIFY(s.data->close());
            QCOMPARE(db.fieldValues(QStringLiteral("Analyst"), kPicks).at(0).toString(),
                     QStringLiteral("AAA"));
        } else {
            // Once the other program lets go, the same step saves.
            s.click("Next");
            QCOMPARE(s.name->text(), QStringLiteral("Adam Best"));
            QCOMPARE(db.fieldValues(QStringLiteral("Analyst"), kPicks).at(0).toString(),
                     QStringLiteral("my edit"));
        }
        QCOMPARE(db.count(QStringLiteral("Analyst")), 2);
    }

    void newRecordOnLockedFileIsKept()
    {
        TestDatabase db;
        addTwo(db);
        connectionOptions().busyTimeoutMs = 50;
        BoundScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        QVERIFY(s.data->addNew());
        s.name->setText(QStringLiteral("New Person"));
        {
            ExclusiveLock lock(db.path());
            QVERIFY(lock.isLocked());
            s.click("Previous");
            QCOMPARE(dialogs.messages().size(), 1);
            QVERIFY(s.data->isNewRecord());
            QCOMPARE(s.name->text(), QStringLiteral("New Person"));
        }
        s.click("Previous");
        QCOMPARE(db.count(QStringLiteral("Analyst")), 3);
        QCOMPARE(db.fieldValues(QStringLiteral("Analyst"), kName).last().toString(),
                 QStringLiteral("New Person"));
    }

    void deleteOnReadOnlyFileKeepsTheRow()
    {
        TestDatabase db;
        addTwo(db);
        connectionOptions().readOnly = true;
        BoundScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        s.click("Next");
        QVERIFY(!s.data->deleteCurrent());
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY2(
            dialogs.messages().at(0).startsWith(QStringLiteral("The record could not be deleted")),
            qPrintable(dialogs.messages().at(0)));
        QCOMPARE(db.count(QStringLiteral("Analyst")), 2);
        QCOMPARE(s.name->text(), QStringLiteral("Adam Best"));
    }

    // A file another program holds locked when the screen opens: the message names the table,
    // and a step opens it once the other program lets go.
    void openingALockedFileNamesTheTable()
    {
        TestDatabase db;
        addTwo(db);
        connectionOptions().busyTimeoutMs = 50;
        BoundScreen s;
        ScriptedDialogs dialogs;
        {
            ExclusiveLock lock(db.path());
            QVERIFY(lock.isLocked());
            QVERIFY(!s.data->open(QStringLiteral("Analyst")));
        }
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY2(dialogs.messages().at(0).startsWith(
                     QStringLiteral("The table \"Analyst\" could not be read: the market database "
                                    "\"%1\" is in use by another program")
                         .arg(db.path())),
                 qPrintable(dialogs.messages().at(0)));
        s.click("Next");
        QCOMPARE(s.name->text(), QStringLiteral("Adam Best"));
        QCOMPARE(dialogs.messages().size(), 1);
    }

    // Another program holds the file locked: every action says so within two seconds, naming the
    // table; what was typed stays, and is saved once the other program lets go.
    void lockedFileIsReportedWithinTwoSeconds_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("says");
        QTest::newRow("opening") << "open"
                                 << "The table \"Analyst\" could not be read";
        QTest::newRow("stepping") << "Next"
                                  << "The table \"Analyst\" could not be read";
        QTest::newRow("finding") << "find"
                                 << "The table \"Analyst\" could not be read";
        QTest::newRow("saving an edit") << "edit"
                                        << "Your changes could not be saved in the table "
                                           "\"Analyst\"";
    }
    void lockedFileIsReportedWithinTwoSeconds()
    {
        QFETCH(QString, action);
        QFETCH(QString, says);
        TestDatabase db;
        addTwo(db);
        BoundScreen s;
        ScriptedDialogs dialogs;
        if (action != QLatin1String("open")) {
            QVERIFY(s.data->open(QStringLiteral("Analyst")));
            test::finishOpeningChecks();
            if (action == QLatin1String("edit"))
                s.picks->setText(QStringLiteral("typed"));
        }
        const QString shown = s.picks->text();
        auto lock = std::make_unique<ExclusiveLock>(db.path());
        QVERIFY(lock->isLocked());
        QElapsedTimer clock;
        clock.start();
        if (action == QLatin1String("open")) {
            QVERIFY(!s.data->open(QStringLiteral("Analyst")));
        } else if (action == QLatin1String("find")) {
            dialogs.answerText(QStringLiteral("Adam Best"));
            recordFind(s.data,
                       {QStringLiteral("p"), QStringLiteral("t"), QStringLiteral("Analyst's Name"),
                        QStringLiteral("Sorry, I couldn't find this analyst. ")});
        } else {
            s.click("Next");
        }
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(dialogs.messages().size(), 1);
        const QString message = dialogs.messages().at(0);
        QVERIFY2(message.startsWith(says) &&
                     message.contains(QStringLiteral("the market database \"%1\" is in use by "
                                                     "another program")
                                          .arg(db.path())),
                 qPrintable(message));
        QCOMPARE(s.picks->text(), shown); // nothing typed is lost, no record half shown

        lock.reset();
        s.click("Next");
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(s.name->text(), QStringLiteral("Adam Best"));
        if (action == QLatin1String("edit"))
            QCOMPARE(db.fieldValues(QStringLiteral("Analyst"), kPicks).at(0).toString(),
                     QStringLiteral("typed"));
    }

    // Without HOME there is no home folder to find the database in: the message says so,
    // instead of a path that nothing can open.
    void unsetHomeIsExplained()
    {
        const QByteArray home = qgetenv("HOME");
        const QByteArray data = qgetenv("XDG_DATA_HOME");
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", home);
            qputenv("XDG_DATA_HOME", data);
        });
        qunsetenv("HOME");
        qunsetenv("XDG_DATA_HOME");
        config::setDatabasePath(QString());
        BoundScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(!s.data->open(QStringLiteral("Analyst")));
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY2(dialogs.messages().at(0).contains(QStringLiteral("HOME is not set")) &&
                     dialogs.messages().at(0).contains(QStringLiteral("--database PATH")),
                 qPrintable(dialogs.messages().at(0)));
    }

    // A folder planted where this process's mark of the open file goes is said, once; a link
    // planted there is replaced, never followed, and the file is marked.
    void plantedInstanceMark_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::newRow("a folder") << true;
        QTest::newRow("a link") << false;
    }
    void plantedInstanceMark()
    {
        QFETCH(bool, folder);
        TestDatabase db(TestDatabase::Sample);
        const QFileInfo file(db.path());
        const QString mark = file.dir().filePath(QStringLiteral(".%1.open-%2")
                                                     .arg(file.fileName())
                                                     .arg(QCoreApplication::applicationPid()));
        const QString target = db.folder() + QStringLiteral("/elsewhere");
        QVERIFY(folder ? QDir().mkdir(mark) : QFile::link(target, mark));
        ScriptedDialogs dialogs;
        {
            BoundScreen s;
            QVERIFY(s.data->open(QStringLiteral("Analyst")));
        }
        if (folder) {
            QCOMPARE(dialogs.messages().size(), 1);
            QVERIFY2(dialogs.messages().at(0).contains(
                         QStringLiteral("a folder is at \"%1\", where the mark goes").arg(mark)),
                     qPrintable(dialogs.messages().at(0)));
        } else {
            QCOMPARE(dialogs.messages(), QStringList());
            QVERIFY(!QFileInfo::exists(target));
        }
    }

    void readingALockedFileKeepsTheRecord()
    {
        TestDatabase db;
        addTwo(db);
        connectionOptions().busyTimeoutMs = 50;
        BoundScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        {
            ExclusiveLock lock(db.path());
            s.click("Next");
        }
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY2(dialogs.messages().at(0).contains(QStringLiteral("in use by another program")),
                 qPrintable(dialogs.messages().at(0)));
        QCOMPARE(s.name->text(), QStringLiteral("Mary Cole"));
        s.click("Next");
        QCOMPARE(s.name->text(), QStringLiteral("Adam Best"));
    }
};

VANTORA_TEST_MAIN(TestDataErrors)
#include "tst_dataerrors.moc"
