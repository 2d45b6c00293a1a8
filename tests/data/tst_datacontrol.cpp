// SPDX-License-Identifier: GPL-3.0-or-later
// The record binding over a real temporary database: filling, change detection, saving when the
// record is left and never before, and the Add, Delete and Find commands.

#include "data/binding/datacontrol.h"
#include "data/binding/recordcommands.h"
#include "data/store/connection.h"
#include "tests/support/testdb.h"
#include "tests/support/testsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <memory>

using namespace vantora;
using vantora::test::ScriptedDialogs;
using vantora::test::TestDatabase;

namespace {

const QString kName = QStringLiteral("Analyst's Name");
const QString kPicks = QStringLiteral("Stock Picks");
const QString kOutlook = QStringLiteral("Market Outlook");
const QString kCred = QStringLiteral("Credibility");

// A small record screen over Analyst: two boxes, a bound label and a display-only label.
struct AnalystScreen
{
    QWidget window;
    QLineEdit *name = new QLineEdit(&window);
    QLineEdit *picks = new QLineEdit(&window);
    QLabel *outlook = new QLabel(&window);     // bound: what code writes is stored
    QLabel *credibility = new QLabel(&window); // display only
    DataControl *data = new DataControl(&window);

    AnalystScreen()
    {
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *w : {static_cast<QWidget *>(name), static_cast<QWidget *>(picks),
                           static_cast<QWidget *>(outlook), static_cast<QWidget *>(credibility),
                           static_cast<QWidget *>(data)})
            layout->addWidget(w);
        data->setCaption(QStringLiteral("Data1"));
        data->bind(name, kName);
        data->bind(picks, kPicks);
        data->bind(outlook, kOutlook);
        data->bind(credibility, kCred, DataControl::Mode::DisplayOnly);
    }
    void click(const char *button)
    {
        data->findChild<QPushButton *>(QString::fromLatin1(button))->click();
    }
};

// Rows in stored order; their names are deliberately not in alphabetical order.
void addAnalysts(TestDatabase &db)
{
    const QStringList fields = {kName, kPicks, kOutlook, kCred};
    db.insert(QStringLiteral("Analyst"), fields,
              {QStringLiteral("Mary Cole"), QStringLiteral("AAA"), QStringLiteral("up"),
               QStringLiteral("high")});
    db.insert(QStringLiteral("Analyst"), fields,
              {QStringLiteral("Adam Best"), QStringLiteral("BBB"), QStringLiteral("down"),
               QStringLiteral("low")});
    db.insert(QStringLiteral("Analyst"), fields,
              {QStringLiteral("Zoe Dunn"), QStringLiteral("CCC"), QStringLiteral("flat"),
               QStringLiteral("medium")});
    db.insert(QStringLiteral("Analyst"), fields,
              {QStringLiteral("carl eddy"), QStringLiteral("DDD"), QStringLiteral("up"),
               QStringLiteral("high")});
}

QStringList names(TestDatabase &db)
{
    QStringList list;
    for (const QVariant &v : db.fieldValues(QStringLiteral("Analyst"), kName))
        list << v.toString();
    return list;
}

} // namespace

class TestDataControl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { connectionOptions() = {}; }

    void opensOnFirstRecordInStoredOrder()
    {
        TestDatabase db;
        addAnalysts(db);
        AnalystScreen s;
        QSignalSpy shown(s.data, &DataControl::recordShown);
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        QCOMPARE(s.name->text(), QStringLiteral("Mary Cole"));
        QCOMPARE(s.name->cursorPosition(), 0); // a long value shows its beginning
        QCOMPARE(s.outlook->text(), QStringLiteral("up"));
        QCOMPARE(s.credibility->text(), QStringLiteral("high"));
        QCOMPARE(s.data->caption(), QStringLiteral("Data1"));
        QCOMPARE(shown.count(), 1);
        QVERIFY(!s.data->hasChanges());
        for (const char *button : {"First", "Previous", "Next", "Last"})
            QVERIFY(s.data->findChild<QPushButton *>(QString::fromLatin1(button)));
        QVERIFY(s.data->findChild<QLabel *>(QStringLiteral("Caption")));
    }

    void stepsFollowStoredOrder_data()
    {
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("expected");
        QTest::newRow("next") << QStringList{"Next"} << "Adam Best";
        QTest::newRow("next twice") << QStringList{"Next", "Next"} << "Zoe Dunn";
        QTest::newRow("last") << QStringList{"Last"} << "carl eddy";
        QTest::newRow("last, previous") << QStringList{"Last", "Previous"} << "Zoe Dunn";
        QTest::newRow("next at last stays") << QStringList{"Last", "Next"} << "carl eddy";
        QTest::newRow("previous at first stays") << QStringList{"Previous"} << "Mary Cole";
        QTest::newRow("last, first") << QStringList{"Last", "First"} << "Mary Cole";
    }
    void stepsFollowStoredOrder()
    {
        QFETCH(QStringList, buttons);
        QFETCH(QString, expected);
        TestDatabase db;
        addAnalysts(db);
        AnalystScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        for (const QString &b : buttons)
            s.click(qPrintable(b));
        QCOMPARE(s.name->text(), expected);
        QVERIFY(dialogs.requests().isEmpty());
    }

    void stepAtEndChangesNothing()
    {
        TestDatabase db;
        addAnalysts(db);
        AnalystScreen s;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        s.credibility->setText(QStringLiteral("shown by code"));
        QSignalSpy shown(s.data, &DataControl::recordShown);
        s.click("Previous");
        QCOMPARE(shown.count(), 0);
        QCOMPARE(s.credibility->text(), QStringLiteral("shown by code"));
    }

    // How the record is left, and that the edit reaches the file then and not before.
    void savesWhenLeaving_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("next") << "Next";
        QTest::newRow("previous") << "Previous";
        QTest::newRow("first") << "First";
        QTest::newRow("last") << "Last";
        QTest::newRow("find") << "find";
        QTest::newRow("add") << "add";
        QTest::newRow("close") << "close";
    }
    void savesWhenLeaving()
    {
        QFETCH(QString, how);
        TestDatabase db;
        addAnalysts(db);
        AnalystScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        s.click("Next"); // Adam Best, second row
        s.picks->setText(QStringLiteral("XYZ, QQQ"));
        s.name->end(false);
        QTest::keyClicks(s.name, QStringLiteral(" Jr"));
        QVERIFY(s.data->hasChanges());
        QCOMPARE(names(db).at(1), QStringLiteral("Adam Best")); // nothing saved yet

        if (how == QLatin1String("find")) {
            dialogs.answerText(QStringLiteral("zoe dunn"));
            recordFind(s.data, {QStringLiteral("p"), QStringLiteral("t"),
                                QStringLiteral("Analyst's Name"), QStringLiteral("nf")});
        } else if (how == QLatin1String("add")) {
            QVERIFY(s.data->addNew());
        } else if (how == QLatin1String("close")) {
            QVERIFY(s.data->close());
        } else {
            s.click(qPrintable(how));
        }
        QCOMPARE(names(db).at(1), QStringLiteral("Adam Best Jr"));
        QCOMPARE(db.fieldValues(QStringLiteral("Analyst"), kPicks).at(1).toString(),
                 QStringLiteral("XYZ, QQQ"));
        QCOMPARE(db.count(QStringLiteral("Analyst")), 4);
        QVERIFY(dialogs.messages().isEmpty());
    }

    void labelSetByCodeIsSavedUnlessDisplayOnly()
    {
        TestDatabase db;
        addAnalysts(db);
        AnalystScreen s;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        s.outlook->setText(QStringLiteral("computed"));
        s.credibility->setText(QStringLiteral("a result that is not a credibility"));
        QVERIFY(s.data->hasChanges());
        s.click("Next");
        QCOMPARE(db.fieldValues(QStringLiteral("Analyst"), kOutlook).at(0).toString(),
                 QStringLiteral("computed"));
        QCOMPARE(db.fieldValues(QStringLiteral("Analyst"), kCred).at(0).toString(),
                 QStringLiteral("high"));
        s.click("Previous");
        QCOMPARE(s.outlook->text(), QStringLiteral("computed"));
        QCOMPARE(s.credibility->text(), QStringLiteral("high"));
    }

    // Only changed controls are written: a field changed by someone else meanwhile survives.
    void writesOnlyChangedFields()
    {
        TestDatabase db;
        addAnalysts(db);
        AnalystScreen s;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        db.exec(QStringLiteral("UPDATE Analyst SET \"Stock Picks\" = 'elsewhere' WHERE rowid = 1"));
        s.name->setText(QStringLiteral("Mary Cole-Smith"));
        // Another program's change to the record on show is a write conflict; saving one's own
        // changes over it writes the changed field only.
        ScriptedDialogs dialogs;
        dialogs.answerButton(0);
        s.click("Next");
        QCOMPARE(dialogs.requests().size(), 1);
        QCOMPARE(dialogs.requests().at(0).title, QStringLiteral("Write Conflict"));
        QCOMPARE(db.fieldValues(QStringLiteral("Analyst"), kPicks).at(0).toString(),
                 QStringLiteral("elsewhere"));
        QCOMPARE(names(db).at(0), QStringLiteral("Mary Cole-Smith"));
    }

    void typedBackToFilledTextIsNoChange()
    {
        TestDatabase db;
        addAnalysts(db);
        AnalystScreen s;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        s.name->setText(QStringLiteral("other"));
        s.name->setText(QStringLiteral("Mary Cole"));
        QVERIFY(!s.data->hasChanges());
    }

    void addCommand_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("rowsAfter");
        QTest::addColumn<QString>("shownAfter");
        QTest::newRow("cancel") << int(AnswerCancel) << QString() << 4 << "Mary Cole";
        QTest::newRow("ok, typed, left arrow") << int(AnswerOk) << "Nina Frost" << 5 << "carl eddy";
        QTest::newRow("ok, untouched, left arrow")
            << int(AnswerOk) << QString() << 4 << "Mary Cole";
    }
    void addCommand()
    {
        QFETCH(int, answer);
        QFETCH(QString, typed);
        QFETCH(int, rowsAfter);
        QFETCH(QString, shownAfter);
        TestDatabase db;
        addAnalysts(db);
        AnalystScreen s;
        s.window.show();
        ScriptedDialogs dialogs;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        s.picks->setFocus();
        dialogs.answerButton(answer);
        recordAdd(s.data, s.name);
        QCOMPARE(dialogs.requests().size(), 1);
        QCOMPARE(dialogs.requests().at(0).text,
                 QStringLiteral("Enter new record, and click left arrow button. "));
        QCOMPARE(dialogs.requests().at(0).title, QStringLiteral("Add Record"));
        QCOMPARE(dialogs.requests().at(0).style, int(OkCancel));
        if (answer == AnswerOk) {
            QVERIFY(s.data->isNewRecord());
            QCOMPARE(s.window.focusWidget(), s.name);
            QCOMPARE(s.name->text(), QString());
            QCOMPARE(s.outlook->text(), QString());
            QCOMPARE(s.credibility->text(), QString());
            if (!typed.isEmpty()) {
                QTest::keyClicks(s.name, typed);
                s.outlook->setText(QStringLiteral("new outlook"));
            }
            s.click("Previous");
            QVERIFY(!s.data->isNewRecord());
        } else {
            QVERIFY(!s.data->isNewRecord());
        }
        QCOMPARE(db.count(QStringLiteral("Analyst")), rowsAfter);
        QCOMPARE(s.name->text(), shownAfter);
        if (!typed.isEmpty()) {
            QCOMPARE(names(db).last(), typed);
            QCOMPARE(db.fieldValues(QStringLiteral("Analyst"), kOutlook).last().toString(),
                     QStringLiteral("new outlook"));
            QVERIFY(db.fieldValues(QStringLiteral("Analyst"), kPicks).last().isNull());
        }
        QCOMPARE(dialogs.requests().size(), 1);
    }

    void revertTakesBackEditsAndNewRecord()
    {
        TestDatabase db;
        addAnalysts(db);
        AnalystScreen s;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        s.click("Next");
        s.name->setText(QStringLiteral("changed"));
        s.data->revert();
        QCOMPARE(s.name->text(), QStringLiteral("Adam Best"));
        QVERIFY(s.data->addNew());
        s.name->setText(QStringLiteral("half typed"));
        s.data->revert();
        QVERIFY(!s.data->isNewRecord());
        QCOMPARE(s.name->text(), QStringLiteral("Adam Best"));
        s.click("Next");
        QCOMPARE(db.count(QStringLiteral("Analyst")), 4);
        QCOMPARE(names(db).at(1), QStringLiteral("Adam Best"));
    }

    void deleteCommand_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("afterFind");
        QTest::addColumn<QStringList>("rowsAfter");
        QTest::addColumn<QString>("shownAfter");
        QTest::newRow("cancel") << int(AnswerCancel) << false
                                << QStringList{"Mary Cole", "Adam Best", "Zoe Dunn", "carl eddy"}
                                << "Zoe Dunn";
        QTest::newRow("ok shows first in stored order")
            << int(AnswerOk) << false << QStringList{"Mary Cole", "Adam Best", "carl eddy"}
            << "Mary Cole";
        QTest::newRow("ok after find shows first by name")
            << int(AnswerOk) << true << QStringList{"Mary Cole", "Adam Best", "carl eddy"}
            << "Adam Best";
    }
    void deleteCommand()
    {
        QFETCH(int, answer);
        QFETCH(bool, afterFind);
        QFETCH(QStringList, rowsAfter);
        QFETCH(QString, shownAfter);
        TestDatabase db;
        addAnalysts(db);
        AnalystScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        if (afterFind) {
            dialogs.answerText(QStringLiteral("ZOE DUNN"));
            recordFind(s.data, {QString(), QString(), QStringLiteral("analyst's name"),
                                QStringLiteral("nf")});
        } else {
            s.click("Next");
            s.click("Next");
        }
        QCOMPARE(s.name->text(), QStringLiteral("Zoe Dunn"));
        s.picks->setText(QStringLiteral("edited before deleting"));
        dialogs.answerButton(answer);
        recordDelete(s.data);
        QCOMPARE(dialogs.requests().last().text,
                 QStringLiteral("Do you really want to delete this record"));
        QCOMPARE(dialogs.requests().last().title, QStringLiteral("Delete Record"));
        QCOMPARE(names(db), rowsAfter);
        QCOMPARE(s.name->text(), shownAfter);
        QCOMPARE(dialogs.messages().size(), 1);
    }

    void deleteLastRowLeavesEmptyBoxes()
    {
        TestDatabase db;
        db.insert(QStringLiteral("Analyst"), {kName}, {QStringLiteral("Solo")});
        AnalystScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        QVERIFY(s.data->deleteCurrent());
        QCOMPARE(db.count(QStringLiteral("Analyst")), 0);
        QVERIFY(s.data->isEmpty());
        QCOMPARE(s.name->text(), QString());
        QVERIFY(dialogs.messages().isEmpty());
    }

    void findCommand_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("notFound");
        QTest::newRow("exact") << "Zoe Dunn"
                               << "Zoe Dunn" << false;
        QTest::newRow("other case") << "ZOE dunn"
                                    << "Zoe Dunn" << false;
        QTest::newRow("lower-case stored, upper-case asked") << "CARL EDDY"
                                                             << "carl eddy" << false;
        QTest::newRow("first name only") << "Zoe"
                                         << "Adam Best" << true;
        QTest::newRow("trailing blank") << "Zoe Dunn "
                                        << "Adam Best" << true;
        QTest::newRow("cancelled (empty)") << ""
                                           << "Adam Best" << true;
    }
    void findCommand()
    {
        QFETCH(QString, key);
        QFETCH(QString, shown);
        QFETCH(bool, notFound);
        TestDatabase db;
        addAnalysts(db);
        AnalystScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        s.click("Last");
        dialogs.answerText(key);
        const FindTexts texts{QStringLiteral("Enter the full (complete) name of the Analyst "),
                              QStringLiteral("Analyst's Search"), QStringLiteral("Analyst's Name"),
                              QStringLiteral("Sorry, I couldn't find this analyst. ")};
        recordFind(s.data, texts);
        QCOMPARE(dialogs.requests().at(0).kind, DialogRequest::Input);
        QCOMPARE(dialogs.requests().at(0).text, texts.prompt);
        QCOMPARE(dialogs.requests().at(0).title, texts.title);
        QCOMPARE(s.name->text(), shown);
        if (notFound) {
            QCOMPARE(dialogs.messages(), QStringList{texts.notFound});
            QCOMPARE(dialogs.requests().last().title, QStringLiteral("Vantora Market Pro"));
            QCOMPARE(dialogs.requests().last().style, int(OkOnly));
        } else {
            QVERIFY(dialogs.messages().isEmpty());
        }
    }

    void emptyNameIsFoundWhenStored()
    {
        TestDatabase db;
        addAnalysts(db);
        db.insert(QStringLiteral("Analyst"), {kName, kPicks},
                  {QString(""), QStringLiteral("blank")});
        AnalystScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        recordFind(s.data,
                   {QString(), QString(), QStringLiteral("Analyst's Name"), QStringLiteral("nf")});
        QCOMPARE(s.picks->text(), QStringLiteral("blank"));
        QVERIFY(dialogs.messages().isEmpty());
    }

    // After a Find the arrows follow the index, rows without a name first, equal names by age.
    void stepsFollowIndexAfterFind()
    {
        TestDatabase db;
        addAnalysts(db);
        db.insert(QStringLiteral("Analyst"), {kName, kPicks},
                  {QVariant(), QStringLiteral("no name 1")});
        db.insert(QStringLiteral("Analyst"), {kName, kPicks},
                  {QStringLiteral("ADAM BEST"), QStringLiteral("second adam")});
        db.insert(QStringLiteral("Analyst"), {kName, kPicks},
                  {QVariant(), QStringLiteral("no name 2")});
        AnalystScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        dialogs.answerText(QStringLiteral("Mary Cole"));
        recordFind(s.data,
                   {QString(), QString(), QStringLiteral("Analyst's Name"), QStringLiteral("nf")});
        QCOMPARE(s.data->currentIndex(), QStringLiteral("Analyst's Name"));

        const QStringList order = {"no name 1", "no name 2", "BBB", "second adam",
                                   "DDD",       "AAA",       "CCC"};
        s.click("First");
        QStringList forward{s.picks->text()};
        for (int i = 0; i < 8; ++i) {
            s.click("Next");
            forward << s.picks->text();
        }
        QCOMPARE(forward.mid(0, 7), order);
        QCOMPARE(forward.mid(7), (QStringList{"CCC", "CCC"})); // stays on the last
        QStringList backward{s.picks->text()};
        for (int i = 0; i < 7; ++i) {
            s.click("Previous");
            backward << s.picks->text();
        }
        std::reverse(backward.begin(), backward.end());
        QCOMPARE(backward.mid(1), order);
        s.click("Last");
        QCOMPARE(s.picks->text(), QStringLiteral("CCC"));
        QVERIFY(dialogs.messages().isEmpty());
    }

    void editedKeyMovesRecordInIndexOrder()
    {
        TestDatabase db;
        addAnalysts(db);
        AnalystScreen s;
        ScriptedDialogs dialogs;
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        QVERIFY(s.data->setIndex(QStringLiteral("Analyst's Name")));
        QVERIFY(s.data->moveFirst()); // Adam Best
        s.name->setText(QStringLiteral("Zzz Last"));
        s.click("Next"); // saved; the record now sorts last, so nothing follows it
        QCOMPARE(s.name->text(), QStringLiteral("Zzz Last"));
        s.click("Previous");
        QCOMPARE(s.name->text(), QStringLiteral("Zoe Dunn"));
    }

    // What is typed into a number field comes back exactly as typed, stored as a number only
    // when that is exact.
    void numberFieldKeepsWhatWasTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("storedAsNumber");
        QTest::newRow("whole") << "250" << true;
        QTest::newRow("decimal") << "12.5" << true;
        QTest::newRow("negative") << "-3.75" << true;
        QTest::newRow("zero") << "0" << true;
        QTest::newRow("15 digits") << "10091.6666666667" << true;
        QTest::newRow("trailing zero") << "1.50" << false;
        QTest::newRow("leading zeros") << "007" << false;
        QTest::newRow("exponent") << "1e3" << false;
        QTest::newRow("grouping") << "1,000" << false;
        QTest::newRow("text after number") << "12abc" << false;
        QTest::newRow("words") << "n/a" << false;
        QTest::newRow("leading blank") << " 5" << false;
        QTest::newRow("minus zero") << "-0" << false;
        QTest::newRow("infinity") << "inf" << false;
        QTest::newRow("too precise") << "0.12345678901234567" << false;
    }
    void numberFieldKeepsWhatWasTyped()
    {
        QFETCH(QString, typed);
        QFETCH(bool, storedAsNumber);
        TestDatabase db;
        db.insert(QStringLiteral("stocks"),
                  {QStringLiteral("Name of Stock"), QStringLiteral("Current Price")},
                  {QStringLiteral("Acme"), 10.0});
        db.insert(QStringLiteral("stocks"), {QStringLiteral("Name of Stock")},
                  {QStringLiteral("Other")});
        QWidget window;
        auto *price = new QLineEdit(&window);
        auto *data = new DataControl(&window);
        data->bind(price, QStringLiteral("Current Price"));
        QVERIFY(data->open(QStringLiteral("stocks")));
        QCOMPARE(price->text(), QStringLiteral("10"));
        price->setText(typed);
        QVERIFY(data->moveNext());
        QVERIFY(data->movePrevious());
        QCOMPARE(price->text(), typed);
        const QString type =
            db.scalar(
                  QStringLiteral("SELECT typeof(\"Current Price\") FROM stocks WHERE rowid = 1"))
                .toString();
        QCOMPARE(type, storedAsNumber ? QStringLiteral("real") : QStringLiteral("text"));
    }

    void clearedNumberIsStoredAsNull()
    {
        TestDatabase db;
        db.insert(QStringLiteral("stocks"),
                  {QStringLiteral("Name of Stock"), QStringLiteral("Current Price")},
                  {QStringLiteral("Acme"), 10.0});
        QWidget window;
        auto *price = new QLineEdit(&window);
        auto *data = new DataControl(&window);
        data->bind(price, QStringLiteral("Current Price"));
        QVERIFY(data->open(QStringLiteral("stocks")));
        price->clear();
        QVERIFY(data->save());
        QVERIFY(db.scalar(QStringLiteral("SELECT \"Current Price\" FROM stocks")).isNull());
    }

    // The Date field: ISO and the locale's short form are stored as ISO; other text as typed.
    void dateField_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("iso") << "2026-12-07"
                             << "2026-12-07";
        QTest::newRow("short form") << "12/7/26"
                                    << "2026-12-07";
        QTest::newRow("short form, four-digit year") << "12/7/2026"
                                                     << "2026-12-07";
        QTest::newRow("last century") << "3/9/99"
                                      << "1999-03-09";
        QTest::newRow("no such day") << "2/30/26"
                                     << "2/30/26";
        QTest::newRow("not a date") << "next Friday"
                                    << "next Friday";
    }
    void dateField()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        const auto restore = qScopeGuard([before = QLocale()] { QLocale::setDefault(before); });
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TestDatabase db;
        db.insert(QStringLiteral("Forecaster"), {QStringLiteral("Date"), QStringLiteral("DD")},
                  {QStringLiteral("2025-03-03"), 12.0});
        QWidget window;
        auto *date = new QLineEdit(&window);
        auto *data = new DataControl(&window);
        data->bind(date, QStringLiteral("Date"));
        QVERIFY(data->open(QStringLiteral("Forecaster")));
        QCOMPARE(date->text(), QStringLiteral("2025-03-03"));
        date->setText(typed);
        QVERIFY(data->save());
        QCOMPARE(db.scalar(QStringLiteral("SELECT Date FROM Forecaster")).toString(), stored);
        QCOMPARE(date->text(), stored);
    }

    void findDate_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("shownDD");
        QTest::addColumn<bool>("notFound");
        QTest::newRow("iso") << "2025-03-05"
                             << "3" << false;
        QTest::newRow("short form") << "3/5/25"
                                    << "3" << false;
        QTest::newRow("short form, four-digit year") << "3/5/2025"
                                                     << "3" << false;
        QTest::newRow("a date not stored") << "2025-03-08"
                                           << "1" << true;
        QTest::newRow("no date") << "last Tuesday"
                                 << "1" << true;
        QTest::newRow("empty") << ""
                               << "1" << true;
    }
    void findDate()
    {
        QFETCH(QString, key);
        QFETCH(QString, shownDD);
        QFETCH(bool, notFound);
        const auto restore = qScopeGuard([before = QLocale()] { QLocale::setDefault(before); });
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TestDatabase db;
        for (const auto &[day, dd] : {std::pair{"2025-03-06", 2.0}, std::pair{"2025-03-04", 1.0},
                                      std::pair{"2025-03-05", 3.0}})
            db.insert(QStringLiteral("Forecaster"), {QStringLiteral("Date"), QStringLiteral("DD")},
                      {QString::fromLatin1(day), dd});
        QWidget window;
        auto *date = new QLineEdit(&window);
        auto *dd = new QLineEdit(&window);
        auto *data = new DataControl(&window);
        data->bind(date, QStringLiteral("Date"));
        data->bind(dd, QStringLiteral("DD"));
        QVERIFY(data->open(QStringLiteral("Forecaster")));
        ScriptedDialogs dialogs;
        dialogs.answerText(key);
        recordFind(data, {QStringLiteral(
                              "Enter the full(complete) date of the Forecast you wish to analyze "),
                          QStringLiteral("Forecast Search"), QStringLiteral("Date"),
                          QStringLiteral("Sorry, I couldn't find your date. ")});
        QCOMPARE(dd->text(), shownDD);
        QCOMPARE(dialogs.messages(),
                 notFound ? QStringList{QStringLiteral("Sorry, I couldn't find your date. ")}
                          : QStringList{});
        // The day order holds from now on.
        data->moveNext();
        if (shownDD == QLatin1String("1"))
            QCOMPARE(dd->text(), QStringLiteral("3"));
    }

    void nullShowsEmpty()
    {
        TestDatabase db;
        db.insert(QStringLiteral("Analyst"), {kName}, {QStringLiteral("Only a name")});
        AnalystScreen s;
        s.picks->setText(QStringLiteral("left over"));
        QVERIFY(s.data->open(QStringLiteral("Analyst")));
        QCOMPARE(s.picks->text(), QString());
        QCOMPARE(s.data->fieldText(kPicks), QString());
        QCOMPARE(s.data->fieldText(QStringLiteral("analyst's name")),
                 QStringLiteral("Only a name"));
    }
};

VANTORA_TEST_MAIN(TestDataControl)
#include "tst_datacontrol.moc"
