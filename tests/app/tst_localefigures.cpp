// SPDX-License-Identifier: GPL-3.0-or-later
// Every calculator gives the same figures whatever the locale's decimal separator: CTest runs
// this under C.UTF-8 and again under de_DE.UTF-8 (tst_localefigures_comma_locale). Numbers are
// typed, and expected, in the locale's own form.
#include "tests/support/screenfixture.h"

#include "app/registry.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using namespace vantora;

class TstLocaleFigures : public QObject, public test::ScreenFixture
{
    Q_OBJECT

public:
    TstLocaleFigures()
        : ScreenFixture("form1")
    {
    }

private Q_SLOTS:
    void cleanup() { finish(); }

    void sameFigures_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QVariantList>("record"); // stored as numbers
        QTest::addColumn<QStringList>("typed");   // box=text, "." standing for the separator
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("expected");

        const QStringList none;
        QTest::newRow("retirement: target with a fractional rate and payment")
            << "form1"
            << "stocks" << none << QVariantList{}
            << QStringList{"Text1=30", "Text2=60", "Text3=5.5", "Text4=200.5", "List1=3"}
            << QStringList{"Option2", "Command1"} << "Label8"
            << "4329";
        QTest::newRow("investment: stored price times typed shares")
            << "Form2"
            << "stocks"
            << QStringList{"Name of Stock", "Ticker Symbol", "Shares Owned", "Current Price"}
            << QVariantList{"Northwind Traders", "NWT", 100, 51.16} << none << none << "Label17"
            << "5116";
        QTest::newRow("portfolio: stored prices as shown")
            << "Form12"
            << "stocks" << QStringList{"Name of Stock",  "Ticker Symbol",       "Current Price",
                                       "Purchase Price", "Next Years Earnings", "Shares Owned"}
            << QVariantList{"Northwind Traders", "NWT", 51.16, 40.5, 5, 100} << none
            << QStringList{"Option2", "Command1"} << "Label8"
            << "1066";
        QTest::newRow("portfolio: typed shares")
            << "Form12"
            << "stocks" << QStringList{"Name of Stock",  "Ticker Symbol",       "Current Price",
                                       "Purchase Price", "Next Years Earnings", "Shares Owned"}
            << QVariantList{"Northwind Traders", "NWT", 50, 40, 5, 100}
            << QStringList{"Text6=10000.5"} << QStringList{"Option3", "Command1"} << "Label8"
            << "400020";
        QTest::newRow("ratings: buy price from fractional inputs")
            << "Form14"
            << "stocks" << QStringList{"Name of Stock", "Ticker Symbol"}
            << QVariantList{"Northwind Traders", "NWT"}
            << QStringList{"Text3=51.16", "Text4=2.5",  "Text5=3.25",
                           "Text6=4.75",  "Text7=60.5", "Text8=40.25"}
            << QStringList{"Option6", "Command1"} << "Label14"
            << "-9.02538461538461";
        QTest::newRow("forecaster: fractional closes and changes")
            << "Form3"
            << "Forecaster" << none << QVariantList{}
            << QStringList{"d1=10000.5", "n1=2000.25", "s1=1300.75", "Text5=1500",
                           "Text6=1200", "d2=50.5",    "n2=20.5",    "s2=5.5"}
            << QStringList{"Command3"} << "d3"
            << "10092.1333333333";
    }

    void sameFigures()
    {
        QFETCH(QString, screen);
        QFETCH(QString, table);
        QFETCH(QStringList, fields);
        QFETCH(QVariantList, record);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, clicks);
        QFETCH(QString, result);
        QFETCH(QString, expected);

        setScreen(screen);
        start(table, fields,
              record.isEmpty() ? QList<QVariantList>{} : QList<QVariantList>{record});
        for (const QString &entry : typed) {
            const QString box = entry.section(QLatin1Char('='), 0, 0);
            const QString value = entry.section(QLatin1Char('='), 1);
            if (auto *list = qobject_cast<QListWidget *>(child(box))) {
                list->setCurrentRow(value.toInt(), QItemSelectionModel::ClearAndSelect);
                continue;
            }
            retype(box, test::shown(value));
        }
        for (const QString &button : clicks)
            child<QAbstractButton>(button)->click();
        QCOMPARE(m_dialogs->messages().join(QLatin1Char('\n')), QString());
        QCOMPARE(text(result), test::shown(expected));
    }
};

VANTORA_TEST_MAIN(TstLocaleFigures)
#include "tst_localefigures.moc"
