// SPDX-License-Identifier: GPL-3.0-or-later
// Esc on a record screen takes back every unsaved change of the record on show: typed text,
// results of a calculation, and a new record started by Add. Driven through the real screens.

#include "app/registry.h"
#include "app/screen.h"
#include "data/binding/datacontrol.h"
#include "data/store/schema.h"
#include "tests/support/testdb.h"
#include "tests/support/testsupport.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <memory>

using namespace vantora;
using vantora::test::ScriptedDialogs;
using vantora::test::TestDatabase;

class TestRevert : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_db = std::make_unique<TestDatabase>(TestDatabase::Sample);
        QVERIFY2(m_db->isValid(), qPrintable(m_db->error()));
        m_dialogs = std::make_unique<ScriptedDialogs>();
    }
    void cleanup()
    {
        test::unloadAllScreens();
        m_dialogs.reset();
        m_db.reset();
    }

    void escTakesBackTypedText_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("other");
        QTest::newRow("ratings: price") << "Form14"
                                        << "stocks"
                                        << "Text8"
                                        << "Text1";
        QTest::newRow("portfolio: comments") << "Form12"
                                             << "stocks"
                                             << "Text7"
                                             << "Text2";
        QTest::newRow("investment planner: money") << "Form2"
                                                   << "stocks"
                                                   << "Text1"
                                                   << "Text5";
        QTest::newRow("analysts: picks") << "Form13"
                                         << "Analyst"
                                         << "Text2"
                                         << "Text1";
        QTest::newRow("forecaster: Dow") << "Form3"
                                         << "Forecaster"
                                         << "d1"
                                         << "text1";
    }
    void escTakesBackTypedText()
    {
        QFETCH(QString, screen);
        QFETCH(QString, table);
        QFETCH(QString, box);
        QFETCH(QString, other);
        open(screen);
        const QStringList before = m_db->rows(table);
        QLineEdit *typed = child<QLineEdit>(box);
        QLineEdit *second = child<QLineEdit>(other);
        const QString shown = typed->text();
        const QString otherShown = second->text();

        typed->setFocus();
        typed->selectAll();
        QTest::keyClicks(typed, QStringLiteral("12345"));
        second->setText(QStringLiteral("changed too"));
        QVERIFY(data()->hasChanges());

        QTest::keyClick(typed, Qt::Key_Escape);
        QCOMPARE(typed->text(), shown);
        QCOMPARE(second->text(), otherShown);
        QVERIFY(!data()->hasChanges());

        // Leaving the record now stores nothing.
        click(QStringLiteral("Next"));
        click(QStringLiteral("Previous"));
        QCOMPARE(typed->text(), shown);
        QCOMPARE(m_db->rows(table), before);
    }

    // A calculation's results in bound labels and boxes go back to the stored values too.
    void escTakesBackCalculatedResults_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("result");
        QTest::newRow("ratings: safety rating") << "Form14"
                                                << "stocks"
                                                << "Text8"
                                                << "45"
                                                << "Option1"
                                                << "Command1"
                                                << "Label8";
        QTest::newRow("ratings: buy/target price") << "Form14"
                                                   << "stocks"
                                                   << "Text3"
                                                   << "7"
                                                   << "Option6"
                                                   << "Command1"
                                                   << "Label14";
        QTest::newRow("portfolio: profit in the exchange's label") << "Form12"
                                                                   << "stocks"
                                                                   << "Text6"
                                                                   << "1000"
                                                                   << "Option2"
                                                                   << "Command1"
                                                                   << "Label8";
        QTest::newRow("investment planner: advice") << "Form2"
                                                    << "stocks"
                                                    << "Text7"
                                                    << "10"
                                                    << ""
                                                    << "Command4"
                                                    << "Label10";
        QTest::newRow("forecaster: Dow forecast high") << "Form3"
                                                       << "Forecaster"
                                                       << "d1"
                                                       << "50000"
                                                       << ""
                                                       << "Command3"
                                                       << "d3";
    }
    void escTakesBackCalculatedResults()
    {
        QFETCH(QString, screen);
        QFETCH(QString, table);
        QFETCH(QString, input);
        QFETCH(QString, value);
        QFETCH(QString, option);
        QFETCH(QString, button);
        QFETCH(QString, result);
        open(screen);
        const QStringList before = m_db->rows(table);
        QWidget *output = child<QWidget>(result);
        const QString inputShown = child<QLineEdit>(input)->text();
        const QString resultShown = output->property("text").toString();

        child<QLineEdit>(input)->setText(value);
        if (!option.isEmpty())
            click(option);
        click(button);
        QVERIFY2(output->property("text").toString() != resultShown,
                 "the calculation changed nothing");

        QTest::keyClick(child<QLineEdit>(input), Qt::Key_Escape);
        QCOMPARE(child<QLineEdit>(input)->text(), inputShown);
        QCOMPARE(output->property("text").toString(), resultShown);
        click(QStringLiteral("Next"));
        QCOMPARE(m_db->rows(table), before);
    }

    // Add, then Esc: the new record is abandoned and the record on show before comes back.
    void escAbandonsANewRecord_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("add");
        QTest::addColumn<QString>("name");
        QTest::newRow("ratings") << "Form14"
                                 << "stocks"
                                 << "Command4"
                                 << "Text1";
        QTest::newRow("portfolio") << "Form12"
                                   << "stocks"
                                   << "Command4"
                                   << "Text1";
        QTest::newRow("investment planner") << "Form2"
                                            << "stocks"
                                            << "Command6"
                                            << "Text4";
        QTest::newRow("analysts") << "Form13"
                                  << "Analyst"
                                  << "Command4"
                                  << "Text1";
        QTest::newRow("forecaster") << "Form3"
                                    << "Forecaster"
                                    << "Command1"
                                    << "text1";
    }
    void escAbandonsANewRecord()
    {
        QFETCH(QString, screen);
        QFETCH(QString, table);
        QFETCH(QString, add);
        QFETCH(QString, name);
        open(screen);
        const QStringList before = m_db->rows(table);
        const QString first = child<QLineEdit>(name)->text();
        click(QStringLiteral("Next"));
        const QString second = child<QLineEdit>(name)->text();
        QVERIFY(second != first);

        m_dialogs->answerButton(AnswerOk);
        click(add);
        QVERIFY(data()->isNewRecord());
        QCOMPARE(child<QLineEdit>(name)->text(), QString());
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keyClicks(focus, QStringLiteral("1999"));
        child<QLineEdit>(name)->setText(QStringLiteral("Never stored"));

        QTest::keyClick(focus, Qt::Key_Escape);
        QVERIFY(!data()->isNewRecord());
        QCOMPARE(child<QLineEdit>(name)->text(), second);

        // The steps move on from the record on show; nothing was added.
        click(QStringLiteral("Previous"));
        QCOMPARE(child<QLineEdit>(name)->text(), first);
        QCOMPARE(m_db->rows(table), before);
    }

    // The tip window is a window of its own: its Esc closes it and leaves the record screen's
    // edit alone.
    void tipWindowKeepsItsOwnEsc()
    {
        {
            const QString app = QCoreApplication::applicationName();
            QSettings settings(QSettings::UserScope, app, app);
            settings.setValue(QStringLiteral("Options/Show Tips at Startup"), QStringLiteral("1"));
        }
        open(QStringLiteral("Form14"));
        QLineEdit *price = child<QLineEdit>(QStringLiteral("Text8"));
        const QString shown = price->text();
        price->setText(QStringLiteral("99"));

        Screen *tip = ScreenRegistry::get(QStringLiteral("frmTip"));
        tip->show();
        QVERIFY(tip->isLoaded());
        QWidget *tipWindow = tip->window();
        tipWindow->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(tipWindow));
        QTest::keyClick(tipWindow, Qt::Key_Escape);
        QVERIFY(!tip->isLoaded());
        QCOMPARE(price->text(), QStringLiteral("99"));

        activate();
        QTest::keyClick(price, Qt::Key_Escape);
        QCOMPARE(price->text(), shown);
    }

private:
    void open(const QString &name)
    {
        m_screen = ScreenRegistry::get(name);
        QVERIFY(m_screen);
        m_screen->show();
        QVERIFY(m_screen->isLoaded());
        activate();
        QVERIFY(m_dialogs->messages().isEmpty());
    }
    void activate()
    {
        // Esc belongs to the window the user works in.
        m_screen->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_screen->window()));
    }
    template <typename T> T *child(const QString &name) const
    {
        return test::control<T>(m_screen, name);
    }
    DataControl *data() const { return child<DataControl>(QStringLiteral("Data1")); }
    void click(const QString &name)
    {
        QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton);
    }

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    Screen *m_screen = nullptr;
};

VANTORA_TEST_MAIN(TestRevert)
#include "tst_revert.moc"
