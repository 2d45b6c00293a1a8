// SPDX-License-Identifier: GPL-3.0-or-later
// Nothing typed or saved is lost: write conflicts with other programs and other windows, a
// restore under an open screen, long texts, other locales, every character.
#include "tests/support/screenfixture.h"

#include "app/navigation.h"
#include "app/registry.h"
#include "app/sessionend.h"
#include "common/config.h"
#include "common/numbers.h"
#include "data/binding/datacontrol.h"
#include "data/exchange/csv.h"
#include "data/store/backup.h"
#include "data/store/openingcheck.h"
#include "data/store/schema.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QLineEdit>
#include <QProcess>

using namespace vantora;

namespace {

enum Answer { SaveMine, DropMine, Cancel };

// The first record of each record screen of the sample market, a field another program changes
// and a box the user types into.
struct Edit
{
    const char *screen, *table;
    const char *otherField, *otherValue; // what another program writes (an SQL literal)
    const char *box, *myField, *typed;
};
const Edit kEdits[] = {
    {"Form12", "stocks", "Shares Owned", "5", "Text3", "Current Price", "77"},
    {"Form14", "stocks", "52 Wk Hi", "500", "Text8", "Current Price", "77"},
    {"Form2", "stocks", "Current Price", "99", "Text1", "Money", "777"},
    {"Form13", "Analyst", "Credibility", "'Low'", "Text2", "Stock Picks", "ABC"},
    {"Form3", "Forecaster", "Advances", "1", "d1", "Dow Yesterday", "40000"},
};

} // namespace

class TstEdits : public QObject, public test::ScreenFixture
{
    Q_OBJECT

public:
    TstEdits()
        : ScreenFixture("Form13")
    {
    }

private:
    Screen *open(const char *name)
    {
        unloadAndFlush();
        Screen *s = ScreenRegistry::get(QString::fromLatin1(name));
        s->show();
        return s;
    }
    void unloadAndFlush() { test::unloadAllScreens(); }
    DataControl *binding(Screen *s) const { return test::control<DataControl>(s, "Data1"); }
    void typeInto(Screen *s, const QString &box, const QString &text)
    {
        QLineEdit *edit = test::control<QLineEdit>(s, box);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    void next(Screen *s) { binding(s)->findChild<QPushButton *>(QStringLiteral("Next"))->click(); }
    QStringList firstRow(const QString &table) { return m_db->rows(table).value(0).split('|'); }
    int fieldIndex(const QString &table, const QString &field) const
    {
        const schema::Table *t = schema::findTable(table);
        return int(schema::findField(*t, field) - t->fields.constData());
    }
    QList<DialogRequest> choices() const
    {
        QList<DialogRequest> list;
        for (const DialogRequest &request : m_dialogs->requests())
            if (request.kind == DialogRequest::Choice)
                list << request;
        return list;
    }

private Q_SLOTS:
    void init() { start(QStringLiteral("Analyst"), {}, {}, test::TestDatabase::Sample); }
    void cleanup() { finish(); }

    // Leaving the database or the program with an edit on screen saves it first.
    void leavingSavesTheEdit_data()
    {
        QTest::addColumn<bool>("openAnother");
        QTest::newRow("another database from the File menu") << true;
        QTest::newRow("Ctrl+Q") << false;
    }
    void leavingSavesTheEdit()
    {
        QFETCH(bool, openAnother);
        // A new test database becomes the program's: the screen stays on this test's own.
        test::TestDatabase other(test::TestDatabase::Sample);
        config::setDatabasePath(m_db->path());
        Screen *s = open("Form12");
        Screen *main = ScreenRegistry::get(QStringLiteral("Form11"));
        main->show();
        typeInto(s, QStringLiteral("Text3"), QStringLiteral("77"));
        QCOMPARE(test::control<QLineEdit>(s, QStringLiteral("Text3"))->text(),
                 QStringLiteral("77"));
        bool quit = false;
        setQuitHandler([&quit] { quit = true; });
        const auto restore = qScopeGuard([this] {
            setQuitHandler([] {});
            config::setDatabasePath(m_db->path());
        });
        if (openAnother) {
            m_dialogs->answerText(other.path());
            main->window()->findChild<QAction *>(QStringLiteral("opendb"))->trigger();
            QCOMPARE(config::databasePath(), QFileInfo(other.path()).absoluteFilePath());
            QCOMPARE(main->window()->windowTitle(),
                     QStringLiteral("Vantora Market Pro — ") + QFileInfo(other.path()).fileName());
            QVERIFY(main->isLoaded());
        } else {
            auto *key = s->window()->findChild<QAction *>(QStringLiteral("quitKey"));
            QCOMPARE(key->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
            key->trigger();
            QVERIFY(quit);
            QVERIFY(!main->isLoaded());
        }
        QVERIFY(!s->isLoaded());
        // Stored as the number typed, in the file that was open when it was typed.
        QCOMPARE(stored(QStringLiteral("stocks"), QStringLiteral("rowid"), 1,
                        QStringLiteral("Current Price")),
                 QVariant(77.0));
        QCOMPARE(
            other.scalar(QStringLiteral("SELECT \"Current Price\" FROM stocks WHERE rowid = 1")),
            QVariant(48.2));
    }

    void conflict_data()
    {
        QTest::addColumn<int>("edit");
        QTest::addColumn<int>("answer");
        const char *const answers[] = {"save my changes", "drop my changes", "cancel"};
        for (int e = 0; e < int(std::size(kEdits)); ++e)
            for (int a : {SaveMine, DropMine, Cancel})
                QTest::addRow("%s, %s", kEdits[e].screen, answers[a]) << e << a;
    }
    void conflict()
    {
        QFETCH(int, edit);
        QFETCH(int, answer);
        const Edit &e = kEdits[edit];
        const QString table = QString::fromLatin1(e.table);
        Screen *s = open(e.screen);
        QVERIFY(m_db->exec(QStringLiteral("UPDATE %1 SET %2 = %3 WHERE rowid = 1")
                               .arg(table, schema::quoted(QString::fromLatin1(e.otherField)),
                                    QString::fromLatin1(e.otherValue))));
        const QStringList theirs = firstRow(table);
        const QString shownBefore = test::control<QLineEdit>(s, e.box)->text();
        typeInto(s, e.box, QString::fromLatin1(e.typed));
        m_dialogs->answerButton(answer);
        next(s);

        QCOMPARE(choices().size(), 1);
        const DialogRequest ask = choices().first();
        QCOMPARE(ask.title, QStringLiteral("Write Conflict"));
        QCOMPARE(ask.buttons, (QStringList{"Save My Changes", "Drop My Changes", "Cancel"}));
        QVERIFY2(ask.text.contains(QString::fromLatin1(e.otherField) + QStringLiteral(": now")),
                 qPrintable(ask.text));
        QVERIFY2(ask.text.contains(QString::fromLatin1(e.myField) + QStringLiteral(": now")),
                 qPrintable(ask.text));

        QStringList expected = theirs;
        if (answer == SaveMine) {
            const QString field = QString::fromLatin1(e.myField);
            const QVariant typed =
                schema::storedValue(schema::fieldKind(table, field), QString::fromLatin1(e.typed));
            expected[fieldIndex(table, field)] =
                m_db->scalar(QStringLiteral("SELECT quote(?)"), {typed}).toString();
        } else {
            QCOMPARE(test::control<QLineEdit>(s, e.box)->text(),
                     answer == Cancel ? QString::fromLatin1(e.typed) : shownBefore);
        }
        QCOMPARE(firstRow(table), expected);
        QCOMPARE(binding(s)->hasChanges(), answer == Cancel);
    }

    // The record went away under the screen, or its place holds another now: saving one's
    // changes makes them a record of their own, and the other program's work stays.
    void goneOrReplaced_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("word");
        QTest::newRow("deleted") << "DELETE FROM stocks WHERE rowid = 1"
                                 << "deleted";
        QTest::newRow("replaced") << "UPDATE stocks SET \"Name of Stock\" = 'Other Co', "
                                     "\"Ticker Symbol\" = 'OTH' WHERE rowid = 1"
                                  << "replaced";
    }
    void goneOrReplaced()
    {
        QFETCH(QString, change);
        QFETCH(QString, word);
        Screen *s = open("Form12");
        const QString name = test::control<QLineEdit>(s, "Text1")->text();
        QVERIFY(m_db->exec(change));
        const QStringList before = m_db->rows(QStringLiteral("stocks"));
        typeInto(s, "Text3", "77");
        m_dialogs->answerButton(SaveMine);
        next(s);
        QCOMPARE(choices().size(), 1);
        QVERIFY2(choices().first().text.contains(word), qPrintable(choices().first().text));
        const QStringList after = m_db->rows(QStringLiteral("stocks"));
        QCOMPARE(after.mid(0, before.size()), before);
        QCOMPARE(after.size(), before.size() + 1);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT \"Name of Stock\" || ' ' || \"Current Price\" "
                                             "FROM stocks ORDER BY rowid DESC LIMIT 1")),
                 QVariant(name + QStringLiteral(" 77.0")));
    }

    // Two windows of the program on one file, each saving the same field of the same stock:
    // the second is shown the first's price before it writes its own.
    void twoWindows()
    {
        unloadAndFlush();
        auto start = [this](QProcess &p, int answer) {
            p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/editor"),
                    {m_db->path(), QStringLiteral("Form12"), QString::number(answer)});
            return p.waitForStarted(10000);
        };
        auto run = [](QProcess &p, const QByteArray &command) {
            if (!command.isEmpty())
                p.write(command + '\n');
            QByteArray out;
            while (!out.endsWith("done\n") && p.waitForReadyRead(20000))
                out += p.readAll();
            return QString::fromUtf8(out);
        };
        QProcess first, second;
        QVERIFY(start(first, AnswerOk));
        QVERIFY(run(first, "").contains("done"));
        QVERIFY(start(second, SaveMine));
        const QString opened = run(second, "");
        QVERIFY2(opened.contains("is already open in another window of Vantora Market Pro"),
                 qPrintable(opened));
        QVERIFY(run(first, "type Text3 11").contains("done"));
        QVERIFY(run(second, "type Text3 22").contains("done"));
        QCOMPARE(run(first, "step Next"), QStringLiteral("done\n"));
        const QString asked = run(second, "step Next");
        QVERIFY2(asked.contains("dialog Write Conflict") &&
                     asked.contains("Current Price: now stored \"11\", on your screen \"22\""),
                 qPrintable(asked));
        run(first, "close");
        run(second, "close");
        QVERIFY(first.waitForFinished(10000) && second.waitForFinished(10000));
        QCOMPARE(storedStock(QStringLiteral("NWLC"), QStringLiteral("Current Price")),
                 QVariant(22.0));
    }

    // A logout sends SIGTERM: the edit on screen is saved as leaving the record would save it;
    // one that another program's change stands against is kept and offered at the next start.
    void sessionEnd_data()
    {
        QTest::addColumn<bool>("conflict");
        QTest::newRow("saved") << false;
        QTest::newRow("write conflict: kept, then offered") << true;
    }
    void sessionEnd()
    {
        QFETCH(bool, conflict);
        unloadAndFlush();
        auto run = [](QProcess &p, const QByteArray &command) {
            if (!command.isEmpty())
                p.write(command + '\n');
            QByteArray out;
            while (!out.endsWith("done\n") && p.waitForReadyRead(20000))
                out += p.readAll();
            return QString::fromUtf8(out);
        };
        const QString editor = QCoreApplication::applicationDirPath() + QStringLiteral("/editor");
        const QStringList args{m_db->path(), QStringLiteral("Form12"), QString::number(AnswerOk)};
        const QString kept = keptEditsPath(m_db->path());
        const auto price = [this] {
            return storedStock(QStringLiteral("NWLC"), QStringLiteral("Current Price")).toDouble();
        };

        QProcess program;
        program.start(editor, args);
        QVERIFY(program.waitForStarted(10000));
        QVERIFY(run(program, "").endsWith("done\n"));
        QVERIFY(run(program, "type Text3 33").endsWith("done\n"));
        if (conflict)
            QVERIFY(m_db->exec(QStringLiteral("UPDATE stocks SET \"Current Price\" = 44 WHERE "
                                              "\"Ticker Symbol\" = 'NWLC'")));
        program.terminate(); // SIGTERM
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY2(!program.readAll().contains("dialog"), "a dialog at the end of the session");
        QCOMPARE(price(), conflict ? 44.0 : 33.0);
        QCOMPARE(QFile::exists(kept), conflict);
        if (!conflict)
            return;
        // Private to its owner.
        const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        QCOMPARE(QFile::permissions(kept) & others, QFile::Permissions());

        // The next start offers it, naming the record; OK puts it back to be saved.
        QProcess next;
        next.start(editor, args);
        QVERIFY(next.waitForStarted(10000));
        const QString offered = run(next, "");
        QVERIFY2(offered.contains("Restore the changes you had not saved?") &&
                     offered.contains("NWLC") && offered.contains("\"33\""),
                 qPrintable(offered));
        QCOMPARE(price(), 44.0);
        run(next, "close");
        QVERIFY(next.waitForFinished(10000));
        QCOMPARE(price(), 33.0);
        QVERIFY(!QFile::exists(kept));
    }

    // The program's windows hold the file: restore waits until they have let it go; a mark
    // left by a program that crashed does not count.
    void restoreWaitsForTheProgram()
    {
        QString backup;
        QVERIFY(!backupDatabase(m_db->path(), &backup));
        const QByteArray before = test::fileContents(m_db->path());
        QVERIFY(screen()->isLoaded());
        const test::ToolRun refused = test::runDatabaseTool({"restore", backup, m_db->path()});
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.output.contains(QStringLiteral("Vantora Market Pro (process %1) has")
                                             .arg(QCoreApplication::applicationPid())),
                 qPrintable(refused.output));
        QCOMPARE(test::fileContents(m_db->path()), before);

        unloadAndFlush();
        QFile stale(QFileInfo(m_db->path()).dir().filePath(".cm1.db.open-999999"));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        const test::ToolRun allowed = test::runDatabaseTool({"restore", backup, m_db->path()});
        QCOMPARE(allowed.exitCode, 0);
        QVERIFY(!stale.exists());
    }

    // Typed while the file was away: when it is back, nothing replaces the text without a word.
    void typedWhileTheFileWasAway()
    {
        unloadAndFlush();
        // No check or backup of the file started before is still reading it when it goes.
        waitForOpeningChecks();
        QCoreApplication::processEvents();
        const QString away = m_db->path() + QStringLiteral(".away");
        QVERIFY(QFile::rename(m_db->path(), away));
        Screen *s = open("Form13");
        typeInto(s, "Text1", QStringLiteral("typed while away"));
        // The first opening's backup of the missing file has failed; its notice is shown now,
        // not in the middle of the step below.
        waitForOpeningChecks();
        QCoreApplication::processEvents();
        QVERIFY(QFile::rename(away, m_db->path()));
        m_dialogs->clear();
        m_dialogs->answerButton(AnswerCancel);
        next(s);
        QCOMPARE(m_dialogs->messages().size(), 1);
        QVERIFY(m_dialogs->messages().first().contains(QStringLiteral("belongs to no record")));
        QCOMPARE(test::control<QLineEdit>(s, "Text1")->text(), QStringLiteral("typed while away"));
        // Discarded: the records come on show, and the step goes on from the first.
        m_dialogs->answerButton(AnswerOk);
        next(s);
        QCOMPARE(test::control<QLineEdit>(s, "Text1")->text(), QStringLiteral("Daniel Okafor"));
    }

    void anyLength()
    {
        const QString outlook(100000, QLatin1Char('o'));
        QVERIFY(m_db->exec(QStringLiteral("UPDATE Analyst SET \"Market Outlook\" = ? WHERE rowid "
                                          "= 1"),
                           {outlook}));
        Screen *s = open("Form13");
        QLineEdit *box = test::control<QLineEdit>(s, "Text3");
        QCOMPARE(box->text().size(), outlook.size());
        box->setFocus();
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClicks(box, "!");
        next(s);
        QCOMPARE(stored(QStringLiteral("Analyst"), QStringLiteral("rowid"), 1,
                        QStringLiteral("Market Outlook")),
                 QVariant(outlook + QLatin1Char('!')));
    }

    // Run by CTest again where the decimal separator is a comma (tst_edits_comma_locale).
    void numbersInTheLocalesForm()
    {
        const QString forecast = formatNumber(10091.6666666667);
        Screen *s = open("Form3");
        // A forecast is written in the locale's form and stored as a number.
        typeInto(s, "d1", QStringLiteral("10000"));
        test::control<QLineEdit>(s, "d3")->setText(forecast);
        typeInto(s, "Text5", formatNumber(1500.5));
        next(s);
        QCOMPARE(m_db->scalar("SELECT typeof(DF) || ' ' || DF FROM Forecaster WHERE rowid = 1"),
                 QVariant(QStringLiteral("real 10091.6666666667")));
        QCOMPARE(m_db->scalar("SELECT typeof(Advances) FROM Forecaster WHERE rowid = 1"),
                 QVariant(QStringLiteral("real")));
        binding(s)->moveFirst();
        QCOMPARE(test::control<QLineEdit>(s, "d3")->text(), forecast);
        QCOMPARE(test::control<QLineEdit>(s, "Text5")->text(), formatNumber(1500.5));
        // A CSV file writes "." whatever the locale.
        const QString file = QDir(m_db->folder()).filePath(QStringLiteral("days.csv"));
        QVERIFY(csv::exportTable(m_db->path(), QStringLiteral("Forecaster"), file).ok);
        QVERIFY(test::fileContents(file).contains(",10091.6666666667,"));
        if (decimalPoint() != QLatin1Char(','))
            QSKIP("the rest needs a comma for the decimal separator");
        // The other form is not this locale's: it stays the text typed.
        typeInto(s, "Text6", QStringLiteral("12.5"));
        next(s);
        QCOMPARE(m_db->scalar("SELECT quote(Declines) FROM Forecaster WHERE rowid = 1"),
                 QVariant(QStringLiteral("'12.5'")));
    }

    void everyCharacterKept()
    {
        const QString picks = QChar(0xFEFF) + QStringLiteral("NWLC, CRSM");
        Screen *s = open("Form13");
        // As pasted: the mark has no key to type it with.
        QLineEdit *box = test::control<QLineEdit>(s, "Text2");
        box->selectAll();
        box->insert(picks);
        next(s);
        QCOMPARE(stored(QStringLiteral("Analyst"), QStringLiteral("rowid"), 1,
                        QStringLiteral("Stock Picks")),
                 QVariant(picks));
        binding(s)->moveFirst();
        QCOMPARE(test::control<QLineEdit>(s, "Text2")->text(), picks);

        const QString file = QDir(m_db->folder()).filePath(QStringLiteral("analysts.csv"));
        QVERIFY(csv::exportTable(m_db->path(), QStringLiteral("Analyst"), file).ok);
        const QStringList exported = m_db->rows(QStringLiteral("Analyst"));
        unloadAndFlush();
        test::TestDatabase other;
        QVERIFY(csv::importTable(other.path(), QStringLiteral("Analyst"), file).ok);
        QCOMPARE(other.rows(QStringLiteral("Analyst")), exported);
    }
};

VANTORA_TEST_MAIN(TstEdits)
#include "tst_edits.moc"
