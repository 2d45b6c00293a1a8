// SPDX-License-Identifier: GPL-3.0-or-later
// The analysts' screen, driven through its real window on a temporary database.
#include "tests/support/screenfixture.h"

#include "analysis/Form13.h"
#include "app/registry.h"
#include "data/binding/datacontrol.h"
#include "data/store/connection.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

using namespace vantora;

namespace {

const QStringList kFields{"Analyst's Name", "Stock Picks", "Market Outlook", "Credibility"};

// Stored order is not name order, so "the first record" tells which order a command used.
const QList<QStringList> kAnalysts{
    {"Margaret Whitfield", "CRSM, FRNW", "Bullish on chips", "High"},
    {"Daniel Okafor", "PCRB, EVHI", "Cautious", "Good"},
    {"Grace O'Donnell", "SLBV", "Defensive", "High"},
    {"Victor Almeida", "SBTC, HFMT", "Contrarian", "Medium"},
};

} // namespace

class TstForm13 : public QObject, public test::ScreenFixture
{
    Q_OBJECT

public:
    TstForm13()
        : ScreenFixture("Form13")
    {
    }

private Q_SLOTS:
    void init()
    {
        connectionOptions() = {};
        // Our own analysts instead of the sample ones; the sample stocks stay for the portfolio.
        QList<QVariantList> rows;
        for (const QStringList &row : kAnalysts)
            rows << QVariantList{row[0], row[1], row[2], row[3]};
        start(QStringLiteral("Analyst"), kFields, rows, test::TestDatabase::Sample);
    }

    void cleanup() { finish(); }

    void opensOnFirstAnalystWithItsTexts()
    {
        QCOMPARE(screen()->window()->windowTitle(), QStringLiteral("Analysis"));
        QCOMPARE(screen()->window()->objectName(), QStringLiteral("Form13"));
        const std::pair<const char *, const char *> captions[] = {{"Label1", "Popular Strategy"},
                                                                  {"Label2", "Analyst's Name"},
                                                                  {"Label3", "Stock Picks"},
                                                                  {"Label4", "Market Outlook"},
                                                                  {"Label5", "Credibility"}};
        for (const auto &[name, caption] : captions)
            QCOMPARE(child<QLabel>(name)->text(), QString::fromUtf8(caption));
        const std::pair<const char *, const char *> buttons[] = {{"Command1", "&Add To Portfolio"},
                                                                 {"Command2", "&Home"},
                                                                 {"Command3", "&Find"},
                                                                 {"Command4", "&Add"}};
        for (const auto &[name, caption] : buttons)
            QCOMPARE(child<QPushButton>(name)->text(), QString::fromUtf8(caption));
        QCOMPARE(child<DataControl>("Data1")->caption(), QStringLiteral("Data1"));
        QVERIFY(child("WebBrowser1"));
        QCOMPARE(text("Text1"), kAnalysts[0][0]);
        QCOMPARE(text("Text2"), kAnalysts[0][1]);
        QCOMPARE(text("Text3"), kAnalysts[0][2]);
        QCOMPARE(text("Text4"), kAnalysts[0][3]);
        QVERIFY(m_dialogs->requests().isEmpty());
    }

    void tabOrderRunsThroughBoxesThenButtons()
    {
        const QStringList expected{"Text1",    "Text2",    "Text3",    "Text4",
                                   "Command1", "Command2", "Command3", "Command4"};
        QStringList order;
        QWidget *w = child("Text1");
        for (int i = 0; i < 40 && order.size() < expected.size(); ++i) {
            if (expected.contains(w->objectName()) && !order.contains(w->objectName()))
                order << w->objectName();
            w = w->nextInFocusChain();
        }
        QCOMPARE(order, expected);
    }

    void editReachesTheFileOnlyWhenLeaving_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("home") << "Command2";
        QTest::newRow("add to portfolio") << "Command1";
        QTest::newRow("close box") << "close";
        QTest::newRow("step") << "Next";
    }
    void editReachesTheFileOnlyWhenLeaving()
    {
        QFETCH(QString, how);
        child<QLineEdit>("Text2")->setText(QStringLiteral("NEW, PICKS"));
        QCOMPARE(m_db->fieldValues(QStringLiteral("Analyst"), kFields[1]).at(0).toString(),
                 kAnalysts[0][1]);
        if (how == QLatin1String("close"))
            screen()->window()->close();
        else if (how == QLatin1String("Next"))
            step("Next");
        else
            click(qPrintable(how));
        QCOMPARE(m_db->fieldValues(QStringLiteral("Analyst"), kFields[1]).at(0).toString(),
                 QStringLiteral("NEW, PICKS"));
        QCOMPARE(screen()->isLoaded(), how == QLatin1String("Next"));
    }

    void homeOpensMainWindow()
    {
        click("Command2");
        QVERIFY(!screen()->isLoaded());
        Screen *home = ScreenRegistry::existing(QStringLiteral("Form11"));
        QVERIFY(home && home->isLoaded());
    }

    void addToPortfolioCarriesNothingOver()
    {
        click("Command1");
        QVERIFY(!screen()->isLoaded());
        Screen *portfolio = ScreenRegistry::existing(QStringLiteral("Form12"));
        QVERIFY(portfolio && portfolio->isLoaded());
        const QString firstStock =
            m_db->fieldValues(QStringLiteral("stocks"), QStringLiteral("Name of Stock"))
                .at(0)
                .toString();
        auto *name = portfolio->window()->findChild<QLineEdit *>(QStringLiteral("Text1"));
        QVERIFY(name);
        QCOMPARE(name->text(), firstStock);
        for (QLineEdit *box : portfolio->window()->findChildren<QLineEdit *>())
            for (const QString &value : kAnalysts[0])
                QVERIFY2(box->text() != value, qPrintable(box->objectName()));
    }

    // A file another program holds locked: closing the window asks; Cancel keeps the screen and
    // the edit, OK closes without it.
    void unsavableEditAsksBeforeClosing()
    {
        connectionOptions().busyTimeoutMs = 50;
        screen()->unload();
        screen()->show(); // reopened with the short busy timeout
        child<QLineEdit>("Text3")->setText(QStringLiteral("edited while locked"));
        {
            test::ExclusiveLock lock(m_db->path());
            QVERIFY(lock.isLocked());
            m_dialogs->answerButton(AnswerCancel);
            screen()->window()->close();
            QVERIFY(screen()->isLoaded());
            QCOMPARE(text("Text3"), QStringLiteral("edited while locked"));
            QCOMPARE(m_dialogs->requests().size(), 1);
            QCOMPARE(m_dialogs->requests().at(0).style, int(OkCancel));
            QVERIFY(m_dialogs->requests().at(0).text.contains(
                QStringLiteral("in use by another program")));
            m_dialogs->answerButton(AnswerOk);
            screen()->window()->close();
            QVERIFY(!screen()->isLoaded());
        }
        QCOMPARE(m_db->fieldValues(QStringLiteral("Analyst"), kFields[2]).at(0).toString(),
                 kAnalysts[0][2]);
    }
};

VANTORA_TEST_MAIN(TstForm13)
#include "tst_form13.moc"
