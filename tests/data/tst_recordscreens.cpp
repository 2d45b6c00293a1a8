// SPDX-License-Identifier: GPL-3.0-or-later
// The record commands of the five record screens, through their real windows on a temporary
// database: Find (letter case of every script included), Add, Delete, stepping and saving from
// the keyboard alone.
#include "tests/support/screenfixture.h"

#include "data/binding/datacontrol.h"
#include "data/store/schema.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace vantora;

namespace {

const QString kAddText = QStringLiteral("Enter new record, and click left arrow button. ");
const QString kStockSearch = QStringLiteral("Stock Search");
const QString kTickerPrompt =
    QStringLiteral("Enter the full(complete) ticker symbol of the company. ");

// A record screen, the rows it opens on (stored order is never the order of its indexes, so
// that "the first record" tells which order a command used) and its commands' texts.
struct RecordScreen
{
    const char *name;
    const char *table;
    QStringList fields;
    QList<QVariantList> rows;
    test::TestDatabase::Content content;
    const char *find, *add, *remove;
    const char *firstBox; // the box Add gives the focus to
    QString prompt, title, notFound;
    QString promptByName; // the ratings screen's, with "Find By Name" chosen
    // What stepping after a Find shows: steps, then the box that tells, and what it shows ("*":
    // anything but nothing).
    QStringList afterFind;
    QString afterBox, afterShows;
};

const QList<RecordScreen> &recordScreens()
{
    static const QList<RecordScreen> all{
        {"Form12",
         "stocks",
         {"Name of Stock", "Ticker Symbol", "Stock Exchange", "Current Price", "Purchase Price",
          "Next Years Earnings", "Shares Owned", "Analyst's Comments"},
         {{"Northwind Traders", "NWT", "NYSE", 50, 40, 5, 100, "Steady grower"},
          {"Zenith Mining", "ZEN", "NASDAQ", 45, 50, 10, 20, "Cheap"},
          {"Blue Harbor Shipping", "BHS", "AMEX", 30, 40, 0, 10, QVariant()}},
         test::TestDatabase::Empty,
         "Command5",
         "Command4",
         "Command3",
         "Text1",
         QStringLiteral("Enter the full (complete) name of the stock. "),
         kStockSearch,
         QStringLiteral("Sorry, I couldn't find your stock. "),
         {},
         {"First", "Next"},
         "Text1",
         "Northwind Traders"},
        {"Form14",
         "stocks",
         {"Name of Stock", "Ticker Symbol", "Current Price", "Last Years Earnings",
          "This Years Earnings", "Next Years Earnings", "52 Wk Hi", "52 Wk Lo", "AnalystRating",
          "Safety Rating", "Growth", "Market Cap", "Overall Rating", "Buy\\Target Price"},
         {{"Northwind Traders", "NWT", 40, 2, 3, 4, 50, 30, "Buy", 12.5, 7, 8, 9, 10},
          {"Acme Widgets", "ZZW", 25, 1, 2, 3, 30, 20, "Hold", 1, 2, 3, 4, 5},
          {"Blue Harbor Shipping", "BHS", 18, 1.5, 1.8, 2.1, 22, 15, "Sell", 6, 7, 8, 9, 11}},
         test::TestDatabase::Empty,
         "Command3",
         "Command4",
         "Command5",
         "Text1",
         kTickerPrompt,
         kStockSearch,
         QStringLiteral("Sorry, I couldn't find your stock. "),
         QStringLiteral("Enter the full(complete) name of the company. "),
         {},
         {},
         {}},
        {"Form2",
         "stocks",
         {"Name of Stock", "Ticker Symbol", "Shares Owned", "Current Price", "Money",
          "Predicted Price", "52 Wk Lo", "52 Wk Hi", "Status", "Advice"},
         // The third stock has the second's price, so stepping there changes no price text.
         {{"Northwind Traders", "NWT", 100, 12.5, 5000, 20, 10, 30, "Active", "Hold"},
          {"Acme Widgets", "ACM", 3, 0.1, 250, 0, 0.05, 0.5, "Watch", QVariant()},
          {"Blue Harbor Shipping", "BHS", 40, 0.1, 0, QVariant(), 0.02, 30, QVariant(), "Short"},
          {"Zenith Mining", "ZEN", 7, QVariant(), 80, 15, 9, 16, "New", QVariant()}},
         test::TestDatabase::Empty,
         "Command5",
         "Command6",
         nullptr,
         "Text1",
         kTickerPrompt,
         kStockSearch,
         QStringLiteral("Sorry, I couldn't find your stock. "),
         {},
         // Ticker order: ACM, BHS, NWT, ZEN.
         {"First", "Next"},
         "Text5",
         "BHS"},
        {"Form13",
         "Analyst",
         {"Analyst's Name", "Stock Picks", "Market Outlook", "Credibility"},
         {{"Margaret Whitfield", "CRSM, FRNW", "Bullish on chips", "High"},
          {"Daniel Okafor", "PCRB, EVHI", "Cautious", "Good"},
          {"Grace O'Donnell", "SLBV", "Defensive", "High"},
          {"Victor Almeida", "SBTC, HFMT", "Contrarian", "Medium"}},
         // The sample stocks stay, for the portfolio.
         test::TestDatabase::Sample,
         "Command3",
         "Command4",
         nullptr,
         "Text1",
         QStringLiteral("Enter the full (complete) name of the Analyst "),
         QStringLiteral("Analyst's Search"),
         QStringLiteral("Sorry, I couldn't find this analyst. "),
         {},
         {},
         {},
         {}},
        {"Form3",
         "Forecaster",
         {"Date", "Dow Yesterday", "NasdaQ Yesterday", "SP 500 Yesterday", "Advances", "Declines",
          "DD", "Dn", "Ds"},
         // The first stored day is 5 March, the first by date 1 March; the Dow close tells them
         // apart.
         {{"2024-03-05", 10000, 2000, 1300, 1500, 1200, 50, 20, 5},
          {"2024-03-01", 9800, 1950, 1280, 1100, 1700, -40, -12, -6},
          {"2024-03-04", 9900, 1975, 1290, 1400, 1300, 20, 8, 3}},
         test::TestDatabase::Empty,
         "Command2",
         "Command1",
         nullptr,
         "text1",
         QStringLiteral("Enter the full(complete) date of the Forecast you wish to analyze "),
         QStringLiteral("Forecast Search"),
         QStringLiteral("Sorry, I couldn't find your date. "),
         {},
         // The screen stays usable: a forecast still works on the day on show.
         {"Command3"},
         "d3",
         "*"},
    };
    return all;
}

const RecordScreen &shapeOf(const QString &name)
{
    for (const RecordScreen &screen : recordScreens())
        if (name == QLatin1String(screen.name))
            return screen;
    return recordScreens().first();
}

// "name=value" into its two halves.
std::pair<QString, QString> split(const QString &pair)
{
    const qsizetype at = pair.indexOf(QLatin1Char('='));
    return {pair.left(at), pair.mid(at + 1)};
}

} // namespace

class TstRecordScreens : public QObject, public test::ScreenFixture
{
    Q_OBJECT

public:
    TstRecordScreens()
        : ScreenFixture("Form12")
    {
    }

private:
    const RecordScreen *m_shape = nullptr;

    void open(const QString &screen)
    {
        m_shape = &shapeOf(screen);
        setScreen(screen);
        start(QString::fromLatin1(m_shape->table), m_shape->fields, m_shape->rows,
              m_shape->content);
    }
    // Step buttons by their names, anything else as a click, and "focus:Box".
    void act(const QStringList &actions)
    {
        for (const QString &action : actions) {
            if (action.startsWith(QLatin1String("focus:")))
                child(action.mid(6))->setFocus();
            else if (QStringList{"First", "Previous", "Next", "Last"}.contains(action))
                step(action);
            else
                click(action);
        }
    }
    // "box=text" pairs as shown; numbers in the locale's form.
    void compareShown(const QStringList &pairs)
    {
        for (const QString &pair : pairs) {
            const auto [box, expected] = split(pair);
            QCOMPARE(text(box), test::shown(expected));
        }
    }
private Q_SLOTS:
    void cleanup()
    {
        finish();
        QLocale::setDefault(QLocale::system());
    }

    void find_data();
    void find();
    void stepsFollowTheIndexAfterFind_data();
    void stepsFollowTheIndexAfterFind();
    void add_data();
    void add();
    void deleteRecord_data();
    void deleteRecord();
    void keyboardAlone_data();
    void keyboardAlone();
    void pastedLineBreaksBecomeSpaces();
};

void TstRecordScreens::find_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QStringList>("before"); // steps and clicks
    QTest::addColumn<QString>("locale");     // the user's; empty for the one of the run
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("addedField"); // a row added behind the screen's back, if any
    QTest::addColumn<QString>("addedKey");

    const auto row = [](const char *tag, const char *screen, const QStringList &before,
                        const QString &answer, const char *box, const QString &shown, bool found,
                        const QString &locale = {}) {
        QTest::newRow(tag) << screen << before << locale << answer << box << shown << found
                           << QString() << QString();
    };
    // A miss shows the message and the first record of the index just set.
    row("portfolio: exact name", "Form12", {}, "Zenith Mining", "Text1", "Zenith Mining", true);
    row("portfolio: other case", "Form12", {}, "blue HARBOR shipping", "Text1",
        "Blue Harbor Shipping", true);
    row("portfolio: partial name", "Form12", {}, "Zenith", "Text1", "Blue Harbor Shipping", false);
    row("portfolio: ticker is no name", "Form12", {}, "ZEN", "Text1", "Blue Harbor Shipping",
        false);
    row("portfolio: cancelled", "Form12", {}, "", "Text1", "Blue Harbor Shipping", false);
    row("analysts: full name", "Form13", {"Last"}, "Grace O'Donnell", "Text1", "Grace O'Donnell",
        true);
    row("analysts: other case", "Form13", {"Last"}, "grace o'DONNELL", "Text1", "Grace O'Donnell",
        true);
    row("analysts: first name only", "Form13", {"Last"}, "Grace", "Text1", "Daniel Okafor", false);
    row("analysts: cancelled", "Form13", {"Last"}, "", "Text1", "Daniel Okafor", false);
    row("ratings: by ticker, other case", "Form14", {}, "zzw", "Text1", "Acme Widgets", true);
    row("ratings: by name, other case", "Form14", {"Option4"}, "acme WIDGETS", "Text1",
        "Acme Widgets", true);
    row("ratings: a rating option after find by name searches tickers", "Form14",
        {"Option4", "Option1"}, "BHS", "Text1", "Blue Harbor Shipping", true);
    row("ratings: a name is no ticker", "Form14", {}, "Acme Widgets", "Text1",
        "Blue Harbor Shipping", false);
    row("ratings: partial name", "Form14", {"Option4"}, "Blue Harbor", "Text1", "Acme Widgets",
        false);
    row("ratings: a ticker is no name", "Form14", {"Option4"}, "NWT", "Text1", "Acme Widgets",
        false);
    row("planner: ticker", "Form2", {}, "ZEN", "Text4", "Zenith Mining", true);
    row("planner: other case", "Form2", {}, "bhs", "Text4", "Blue Harbor Shipping", true);
    row("planner: not there", "Form2", {}, "XYZ", "Text4", "Acme Widgets", false);
    row("planner: partial ticker", "Form2", {}, "ZE", "Text4", "Acme Widgets", false);
    row("planner: cancelled", "Form2", {}, "", "Text4", "Acme Widgets", false);
    row("planner: name is no ticker", "Form2", {}, "Zenith Mining", "Text4", "Acme Widgets", false);
    const QString march4 = QLocale().toString(QDate(2024, 3, 4), QLocale::ShortFormat);
    row("forecaster: ISO date", "Form3", {}, "2024-03-04", "d1", "9900", true);
    row("forecaster: locale's short date", "Form3", {}, march4, "d1", "9900", true);
    row("forecaster: US short date", "Form3", {}, "3/4/24", "d1", "9900", true, "en_US");
    row("forecaster: German short date", "Form3", {}, "04.03.24", "d1", "9900", true, "de_DE");
    row("forecaster: ISO with blanks around", "Form3", {}, "  2024-03-01 ", "d1", "9800", true);
    row("forecaster: no such day", "Form3", {}, "2024-03-06", "d1", "9800", false);
    row("forecaster: other locale's form", "Form3", {}, "04.03.24", "d1", "9800", false, "en_US");
    row("forecaster: no date at all", "Form3", {}, "last Tuesday", "d1", "9800", false);
    row("forecaster: impossible date", "Form3", {}, "2024-02-30", "d1", "9800", false);
    row("forecaster: cancelled (empty answer)", "Form3", {}, "", "d1", "9800", false);

    // Letters of every script, typed in other case, on every Find that compares text. Full
    // case folding: ß and ẞ are "ss", a final sigma is a sigma.
    const std::pair<const char *, const char *> keys[] = {
        {"Émile Zoë Ångström", "ÉMILE ZOË ÅNGSTRÖM"},
        {"Οδυσσέας Ελύτης", "ΟΔΥΣΣΈΑΣ ΕΛΎΤΗΣ"},
        {"Пётр Чайковский", "ПЁТР ЧАЙКОВСКИЙ"},
        {"Weiß & Söhne", "WEISS & SÖHNE"},
        {"STRAẞE 1", "straße 1"},
    };
    struct Finder
    {
        const char *tag, *screen;
        QStringList before;
        const char *field, *box;
    };
    const Finder finders[] = {
        {"portfolio", "Form12", {}, "Name of Stock", "Text1"},
        {"ratings by name", "Form14", {"Option4"}, "Name of Stock", "Text1"},
        {"ratings by ticker", "Form14", {}, "Ticker Symbol", "Text2"},
        {"planner", "Form2", {}, "Ticker Symbol", "Text5"},
        {"analysts", "Form13", {}, "Analyst's Name", "Text1"},
    };
    for (const Finder &f : finders)
        for (const auto &[stored, typed] : keys)
            QTest::addRow("%s: %s", f.tag, typed)
                << f.screen << f.before << QString() << QString::fromUtf8(typed) << f.box
                << QString::fromUtf8(stored) << true << f.field << QString::fromUtf8(stored);
}

void TstRecordScreens::find()
{
    QFETCH(QString, form);
    QFETCH(QStringList, before);
    QFETCH(QString, locale);
    QFETCH(QString, answer);
    QFETCH(QString, box);
    QFETCH(QString, shown);
    QFETCH(bool, found);
    QFETCH(QString, addedField);
    QFETCH(QString, addedKey);

    if (!locale.isEmpty())
        QLocale::setDefault(QLocale(locale));
    open(form);
    if (!addedField.isEmpty())
        QVERIFY(m_db->insert(QString::fromLatin1(m_shape->table), {addedField}, {addedKey}));
    act(before);
    const bool byName =
        form == QLatin1String("Form14") && child<QRadioButton>("Option4")->isChecked();
    m_dialogs->answerText(answer);
    click(QString::fromLatin1(m_shape->find));

    const QList<DialogRequest> &asked = m_dialogs->requests();
    QVERIFY(!asked.isEmpty());
    QCOMPARE(asked.first().kind, DialogRequest::Input);
    // The prompt may add an example on a line of its own.
    QCOMPARE(asked.first().text.section(QLatin1Char('\n'), 0, 0),
             byName ? m_shape->promptByName : m_shape->prompt);
    QCOMPARE(asked.first().title, m_shape->title);
    QCOMPARE(m_dialogs->messages(), found ? QStringList() : QStringList{m_shape->notFound});
    if (!found) {
        QCOMPARE(asked.last().title, QString::fromUtf8(kAppTitle));
        QCOMPARE(asked.last().style, int(OkOnly));
    }
    QCOMPARE(text(box), shown);

    act(m_shape->afterFind);
    if (!m_shape->afterBox.isEmpty()) {
        if (m_shape->afterShows == QLatin1String("*"))
            QVERIFY(!text(m_shape->afterBox).isEmpty());
        else
            QCOMPARE(text(m_shape->afterBox), m_shape->afterShows);
    }
}

void TstRecordScreens::stepsFollowTheIndexAfterFind_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("shown"); // after the Find, then after each step

    QTest::newRow("analysts by name")
        << "Form13"
        << "Margaret Whitfield"
        << "Text1" << QStringList{"Next", "Next", "Next", "First", "Next"}
        << QStringList{"Margaret Whitfield", "Victor Almeida", "Victor Almeida",
                       "Victor Almeida",     "Daniel Okafor",  "Grace O'Donnell"};
    QTest::newRow("days by date") << "Form3"
                                  << "2024-03-01"
                                  << "d1" << QStringList{"Next", "Next"}
                                  << QStringList{"9800", "9900", "10000"};
}

void TstRecordScreens::stepsFollowTheIndexAfterFind()
{
    QFETCH(QString, form);
    QFETCH(QString, answer);
    QFETCH(QString, box);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, shown);
    open(form);
    m_dialogs->answerText(answer);
    click(QString::fromLatin1(m_shape->find));
    QStringList seen{text(box)};
    for (const QString &arrow : steps) {
        step(arrow);
        seen << text(box);
    }
    QCOMPARE(seen, shown);
}

void TstRecordScreens::add_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("shown");   // "box=text" right after the answer
    QTest::addColumn<QStringList>("entries"); // "box=text" typed key by key, or a click
    QTest::addColumn<QStringList>("during");  // shown after the entries
    QTest::addColumn<bool>("leave");          // with the left arrow
    QTest::addColumn<QStringList>("after");   // shown after leaving
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("stored"); // "field=value" of the new row, found by the first

    const int ok = AnswerOk, cancel = AnswerCancel;
    const QStringList none;
    QStringList dayCleared;
    for (const char *box : {"text1", "d1", "n1", "s1", "Text5", "Text6", "d2", "n2", "s2", "d3",
                            "d4", "n3", "n4", "s3", "s4"})
        dayCleared << QString::fromLatin1(box) + QLatin1Char('=');

    QTest::newRow("portfolio, OK")
        << "Form12" << QStringList{"focus:Text3"} << ok << QStringList{"Text1=", "Label8="}
        << QStringList{"Text1=Harbor Lights",
                       "Text2=HLT",
                       "Text3=12",
                       "Text4=10",
                       "Text5=2",
                       "Text6=50",
                       "Option2",
                       "Command1"}
        << QStringList{"Label8=100"} << true << none << 4
        << QStringList{"Ticker Symbol=HLT", "Name of Stock=Harbor Lights", "Shares Owned=50",
                       "Stock Exchange=<null>"};
    QTest::newRow("portfolio, Cancel")
        << "Form12" << QStringList{"focus:Text3"} << cancel
        << QStringList{"Text1=Northwind Traders"} << none << none << false << none << 3 << none;
    QTest::newRow("analysts, cancel") << "Form13" << QStringList{"Next", "focus:Text3"} << cancel
                                      << QStringList{"Text1=Daniel Okafor", "Text2=PCRB, EVHI"}
                                      << none << none << false << none << 4 << none;
    // The left arrow steps back from the new row.
    QTest::newRow("analysts, ok, typed, left arrow")
        << "Form13" << QStringList{"Next", "focus:Text3"} << ok
        << QStringList{"Text1=", "Text2=", "Text3=", "Text4="}
        << QStringList{"Text1=Nina Frost", "Text4=Unknown"} << none << true
        << QStringList{"Text1=Victor Almeida"} << 5
        << QStringList{"Analyst's Name=Nina Frost", "Credibility=Unknown"};
    QTest::newRow("analysts, ok, nothing typed")
        << "Form13" << QStringList{"Next", "focus:Text3"} << ok
        << QStringList{"Text1=", "Text2=", "Text3=", "Text4="} << none << none << true << none << 4
        << none;
    QTest::newRow("ratings, add, cancel")
        << "Form14" << none << cancel << QStringList{"Text1=Northwind Traders"} << none << none
        << false << none << 3 << none;
    QTest::newRow("ratings, add, OK")
        << "Form14" << none << ok << QStringList{"Text1=", "Text2=", "Text3=", "Text4=", "Text5=",
                                                 "Text6=", "Text7=", "Text8=", "Text9="}
        << none << none << false << none << 3 << none;
    QTest::newRow("planner, OK")
        << "Form2" << QStringList{"focus:Text4"} << ok
        << QStringList{"Text4=", "Text5=", "Text6=", "Text7=", "Text1=", "Label17=0"}
        << QStringList{"Text1=900", "Text5=NEW", "Text6=4", "Text7=2.5"}
        << QStringList{"Label17=10"} << true << none << 5
        << QStringList{"Ticker Symbol=NEW", "Money=900", "Current Price=2.5"};
    QTest::newRow("planner, Cancel") << "Form2" << QStringList{"focus:Text4"} << cancel
                                     << QStringList{"Text4=Northwind Traders", "Label17=1250"}
                                     << none << none << false << none << 4 << none;
    // A forecast on the new day is stored with it; the point changes keep their own columns.
    QTest::newRow("forecaster, OK")
        << "Form3" << none << ok << dayCleared
        << QStringList{"text1=2024-03-06", "d1=10000", "n1=2000", "s1=1300", "Text5=1500",
                       "Text6=1200",       "d2=100",   "n2=30",   "s2=10",   "Command3"}
        << QStringList{"d3=10088.3333333333"} << true << none << 4
        << QStringList{
               "Date=2024-03-06", "DF=10088.3333333333", "NF=2012", "SF=1309.75", "Dn=30", "Ds=10"};
    QTest::newRow("forecaster, cancelled") << "Form3" << none << cancel << QStringList{"d1=10000"}
                                           << none << none << false << none << 3 << none;
}

void TstRecordScreens::add()
{
    QFETCH(QString, form);
    QFETCH(QStringList, before);
    QFETCH(int, answer);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, during);
    QFETCH(bool, leave);
    QFETCH(QStringList, after);
    QFETCH(int, rows);
    QFETCH(QStringList, stored);

    open(form);
    act(before);
    m_dialogs->answerButton(answer);
    click(QString::fromLatin1(m_shape->add));

    QCOMPARE(m_dialogs->requests().size(), 1);
    QCOMPARE(m_dialogs->requests().first().text, kAddText);
    QCOMPARE(m_dialogs->requests().first().title, QStringLiteral("Add Record"));
    QCOMPARE(m_dialogs->requests().first().style, int(OkCancel));
    QCOMPARE(data()->isNewRecord(), answer == AnswerOk);
    if (answer == AnswerOk)
        QCOMPARE(screen()->window()->focusWidget(), child(QString::fromLatin1(m_shape->firstBox)));
    compareShown(shown);

    for (const QString &entry : entries) {
        if (!entry.contains(QLatin1Char('='))) {
            click(entry);
            continue;
        }
        const auto [box, typed] = split(entry);
        retype(box, typed);
    }
    compareShown(during);
    if (leave)
        step(QStringLiteral("Previous"));
    compareShown(after);
    test::unloadAllScreens();
    QCOMPARE(m_db->count(QString::fromLatin1(m_shape->table)), rows);
    if (stored.isEmpty())
        return;
    const auto [keyField, key] = split(stored.first());
    const QString table = QString::fromLatin1(m_shape->table);
    QCOMPARE(schema::shownText(m_db->fieldValues(table, keyField).last()), key);
    for (const QString &pair : stored) {
        const auto [field, expected] = split(pair);
        const QVariant value = ScreenFixture::stored(table, keyField, key, field);
        QCOMPARE(value.isNull() ? QStringLiteral("<null>") : schema::shownText(value), expected);
    }
}

void TstRecordScreens::deleteRecord_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("name"); // Text1 afterwards

    QTest::newRow("portfolio, OK")
        << "Form12" << QStringList{"Next"} << int(AnswerOk) << 2 << "Northwind Traders";
    QTest::newRow("portfolio, Cancel")
        << "Form12" << QStringList{"Next"} << int(AnswerCancel) << 3 << "Zenith Mining";
    QTest::newRow("ratings, cancel")
        << "Form14" << QStringList() << int(AnswerCancel) << 3 << "Northwind Traders";
    QTest::newRow("ratings, OK") << "Form14" << QStringList() << int(AnswerOk) << 2
                                 << "Acme Widgets";
}

void TstRecordScreens::deleteRecord()
{
    QFETCH(QString, form);
    QFETCH(QStringList, before);
    QFETCH(int, answer);
    QFETCH(int, rows);
    QFETCH(QString, name);

    open(form);
    act(before);
    m_dialogs->answerButton(answer);
    click(QString::fromLatin1(m_shape->remove));
    QCOMPARE(m_dialogs->messages(),
             QStringList{QStringLiteral("Do you really want to delete this record")});
    QCOMPARE(m_dialogs->requests().first().title, QStringLiteral("Delete Record"));
    QCOMPARE(m_dialogs->requests().first().style, int(OkCancel));
    QCOMPARE(m_db->count(QString::fromLatin1(m_shape->table)), rows);
    QCOMPARE(text(QStringLiteral("Text1")), name);
}

void TstRecordScreens::keyboardAlone_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("lastBox");    // the last box in the Tab order
    QTest::addColumn<QString>("shownBox");   // tells the records apart
    QTest::addColumn<QString>("shownField"); // what that box shows
    QTest::addColumn<QString>("field");      // of the box Add gives the focus to
    QTest::addColumn<QString>("typed");

    const auto row = [](const char *tag, const char *screen, const char *lastBox,
                        const char *shownBox, const char *shownField, const char *field,
                        const char *typed) {
        QTest::newRow(tag) << screen << lastBox << shownBox << shownField << field
                           << QString::fromUtf8(typed);
    };
    row("portfolio", "Form12", "Text7", "Text1", "Name of Stock", "Name of Stock",
        "Ørsted Énergie");
    row("ratings", "Form14", "Text9", "Text1", "Name of Stock", "Name of Stock", "Ørsted Énergie");
    row("planner", "Form2", "Text1", "Text4", "Name of Stock", "Money", "900");
    row("analysts", "Form13", "Text4", "Text1", "Analyst's Name", "Analyst's Name", "Σοφία Κ.");
    row("forecaster", "Form3", "s4", "text1", "Date", "Date", "2024-03-07");
}

// Stepping, the Tab order through the step buttons, adding and saving a record with keys only.
void TstRecordScreens::keyboardAlone()
{
    QFETCH(QString, form);
    QFETCH(QString, lastBox);
    QFETCH(QString, shownBox);
    QFETCH(QString, shownField);
    QFETCH(QString, field);
    QFETCH(QString, typed);

    open(form);
    QVERIFY(QTest::qWaitForWindowActive(screen()->window()));
    // The records in stored order, as the box that tells them apart shows them.
    QStringList records;
    for (const QVariantList &row : m_shape->rows)
        records << row.at(m_shape->fields.indexOf(shownField)).toString();

    const std::pair<int, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_PageDown, Qt::NoModifier},
        {Qt::Key_PageDown, Qt::ControlModifier},
        {Qt::Key_PageUp, Qt::NoModifier},
        {Qt::Key_PageUp, Qt::ControlModifier},
    };
    const qsizetype last = records.size() - 1;
    const qsizetype expected[] = {1, last, last - 1, 0};
    for (int i = 0; i < 4; ++i) {
        test::pressKey(keys[i].first, keys[i].second);
        QTRY_COMPARE(text(shownBox), records.at(expected[i]));
    }

    // Tab goes from the last box to First, Previous, Next and Last; Space presses the one
    // with the focus.
    child(lastBox)->setFocus();
    QStringList order;
    for (int i = 0; i < 4; ++i) {
        test::pressKey(Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, (QStringList{"First", "Previous", "Next", "Last"}));
    test::pressKey(Qt::Key_Space);
    QTRY_COMPARE(text(shownBox), records.at(last));

    // Add by its access key (where two buttons share it, the key moves the focus between them
    // and Space presses the one chosen), type, and save with the left arrow's key.
    m_dialogs->answerButton(AnswerOk);
    auto *add = child<QPushButton>(QString::fromLatin1(m_shape->add));
    for (int i = 0; i < 3 && !data()->isNewRecord(); ++i) {
        const QWidget *before = QApplication::focusWidget();
        test::pressKey(Qt::Key_A, Qt::AltModifier);
        QTRY_VERIFY(data()->isNewRecord() || QApplication::focusWidget() != before);
        QVERIFY(screen()->isLoaded());
        if (!data()->isNewRecord() && QApplication::focusWidget() == add)
            test::pressKey(Qt::Key_Space);
    }
    QVERIFY(data()->isNewRecord());
    QCOMPARE(QApplication::focusWidget(), child(QString::fromLatin1(m_shape->firstBox)));
    test::typeText(typed);
    test::pressKey(Qt::Key_PageUp);
    QTRY_VERIFY(!data()->isNewRecord());
    const QVariantList stored = m_db->fieldValues(QString::fromLatin1(m_shape->table), field);
    QCOMPARE(stored.size(), m_shape->rows.size() + 1);
    QCOMPARE(schema::shownText(stored.last()), typed);
}

// What shows is what is stored: a pasted line break becomes a space.
void TstRecordScreens::pastedLineBreaksBecomeSpaces()
{
    open(QStringLiteral("Form13"));
    QVERIFY(QTest::qWaitForWindowActive(screen()->window()));
    QGuiApplication::clipboard()->setText(QStringLiteral("Chips,\r\nbanks\nand\u2028energy"));
    child(QStringLiteral("Text2"))->setFocus();
    test::pressKey(Qt::Key_A, Qt::ControlModifier);
    test::pressKey(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(text(QStringLiteral("Text2")), QStringLiteral("Chips, banks and energy"));
    test::pressKey(Qt::Key_PageDown);
    QTRY_COMPARE(ScreenFixture::stored(QStringLiteral("Analyst"), QStringLiteral("Analyst's Name"),
                                       QStringLiteral("Margaret Whitfield"),
                                       QStringLiteral("Stock Picks"))
                     .toString(),
                 QStringLiteral("Chips, banks and energy"));
}

VANTORA_TEST_MAIN(TstRecordScreens)
#include "tst_recordscreens.moc"
