// SPDX-License-Identifier: GPL-3.0-or-later
// The trades window on the hand-worked ledger: its figures, edits in place, adding, deleting,
// importing, and the stock's fields set from the trades.
#include "tests/support/screenfixture.h"

#include "analysis/tradesmodel.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTableView>

using namespace vantora;

namespace {

const QStringList kFields{"Ticker Symbol", "Date", "Action", "Shares", "Price", "Fees"};
// Two lots with fees, a partial sale, a dividend and a split; worked out in the formulas' test.
const QList<QVariantList> kAcme{{"ACME", "2025-01-02", "Buy", 10, 40, 5},
                                {"ACME", "2025-03-03", "Buy", 10, 50, 5},
                                {"ACME", "2025-06-02", "Sell", 5, 55, 5},
                                {"ACME", "2025-07-01", "Dividend", {}, 15, {}},
                                {"ACME", "2025-09-01", "Split", 2, {}, {}}};
const char kAcmeLine[] = "ACME: 30 shares at average cost 22.75; realized 42.50; dividends 15.00; "
                         "unrealized 67.50; money-weighted 19.02% a year; time-weighted 10.73%; "
                         "S&P 500 10.00%";

} // namespace

class TstFrmTrades : public QObject, public test::ScreenFixture
{
    Q_OBJECT

public:
    TstFrmTrades()
        : ScreenFixture("frmTrades")
    {
    }

private Q_SLOTS:
    void init()
    {
        start(QStringLiteral("Trades"), kFields, kAcme);
        const QList<QVariantList> closes{
            {"ACME", "2025-01-02", 40},    {"ACME", "2025-03-03", 50},   {"ACME", "2025-06-02", 55},
            {"ACME", "2025-07-01", 52},    {"ACME", "2025-09-01", 24},   {"ACME", "2025-12-31", 25},
            {"^GSPC", "2025-01-02", 5000}, {"^GSPC", "2025-12-31", 5500}};
        for (const QVariantList &day : closes)
            QVERIFY(
                m_db->insert(QStringLiteral("Prices"), {"Ticker Symbol", "Date", "Close"}, day));
        screen()->unload();
        screen()->show();
    }
    void cleanup() { finish(); }

    // The stock's figures are its line of the returns report; all stocks show the portfolio's.
    void figures_data()
    {
        QTest::addColumn<QString>("stock");
        QTest::addColumn<QStringList>("labels"); // held, average, realized, dividends, return
        QTest::newRow("ACME") << "ACME" << QStringList{"30", "22.75", "42.50", "15.00", kAcmeLine};
        QTest::newRow("all stocks")
            << "All stocks"
            << QStringList{"", "", "42.50", "15.00",
                           "Portfolio: value 750.00; realized 42.50; dividends 15.00; unrealized "
                           "67.50; money-weighted 19.02% a year; time-weighted 10.73%; S&P 500 "
                           "10.00%"};
    }
    void figures()
    {
        QFETCH(QString, stock);
        QFETCH(QStringList, labels);
        choose(stock);
        QStringList shown;
        for (const char *label :
             {"lblHeld", "lblAverage", "lblRealized", "lblDividends", "lblReturn"})
            shown << text(QLatin1String(label));
        QCOMPARE(shown, labels);
        QCOMPARE(model()->rowCount(), 5);
        QCOMPARE(model()->columnCount(), stock == "ACME" ? 6 : 7);
    }

    // Typed into a cell; refused edits leave the trade and the stock as they were.
    void edits_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QVariant>("shares"); // the stock's shares owned afterwards
        const int shares = TradesModel::Shares;
        QTest::newRow("a sale of all") << 2 << shares << "20"
                                       << "" << QVariant(0.0);
        QTest::newRow("a sale of more than is held")
            << 2 << shares << "21"
            << "Nothing was written: ACME sells 21 shares on 2025-06-02, when 20 are held."
            << QVariant();
        QTest::newRow("a dividend with shares")
            << 3 << shares << "3"
            << "Shares: A dividend has no shares; leave them empty." << QVariant();
        QTest::newRow("no date") << 0 << int(TradesModel::Date) << "soon"
                                 << QString("\"soon\" is no date; write dates as %1.")
                                        .arg(QDate::currentDate().toString(Qt::ISODate))
                                 << QVariant();
        QTest::newRow("a sale before the buys")
            << 2 << int(TradesModel::Date) << "2024-12-31"
            << "Nothing was written: ACME sells 5 shares on 2024-12-31, when 0 are held."
            << QVariant();
        QTest::newRow("a split of three") << 4 << shares << "3"
                                          << "" << QVariant(45.0);
    }
    void edits()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QVariant, shares);
        choose(QStringLiteral("ACME"));
        const QModelIndex cell =
            model()->index(row, model()->columnOf(TradesModel::Column(column)));
        const QString before = cell.data().toString();
        type(cell, typed);
        QTRY_COMPARE(m_dialogs->messages(),
                     message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(model()->index(row, cell.column()).data().toString(),
                 message.isEmpty() ? typed : before);
        QCOMPARE(storedStock(QStringLiteral("ACME"), QStringLiteral("Shares Owned")), shares);
    }

    void addAndDelete()
    {
        choose(QStringLiteral("ACME"));
        QApplication::setActiveWindow(screen()->window());
        click(QStringLiteral("cmdAdd"));
        // The new trade is a buy of today, its shares in the editor.
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(storedStock(QStringLiteral("ACME"), QStringLiteral("Shares Owned")),
                     QVariant(35.0));
        QCOMPARE(model()->rows().constLast().date, QDate::currentDate());
        auto *grid = child<QTableView>(QStringLiteral("grdTrades"));
        grid->setCurrentIndex(model()->index(5, 0));
        for (const int answer : {int(AnswerCancel), int(AnswerOk)}) {
            m_dialogs->answerButton(answer);
            click(QStringLiteral("cmdDelete"));
        }
        QCOMPARE(m_dialogs->messages().first(),
                 QStringLiteral("Delete the trade of %1 (Buy 5 ACME)?")
                     .arg(QDate::currentDate().toString(Qt::ISODate)));
        QCOMPARE(m_db->count(QStringLiteral("Trades")), 5);
        QCOMPARE(storedStock(QStringLiteral("ACME"), QStringLiteral("Shares Owned")),
                 QVariant(30.0));
    }

    // The stock's record says otherwise than its trades until it is set from them.
    void importAndSetFromTrades()
    {
        const QString file = QDir(m_db->folder()).filePath(QStringLiteral("beta.csv"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("Date,Ticker,Action,Shares,Price\n2025-02-03,beta,Buy,100,10\n");
        out.close();
        m_dialogs->answerText(file);
        click(QStringLiteral("cmdImport"));
        QVERIFY2(
            m_dialogs->messages().value(0).startsWith(QStringLiteral("Imported 1 trade of BETA")),
            qPrintable(m_dialogs->messages().join(u'\n')));
        QVERIFY(child<QComboBox>(QStringLiteral("cboStock"))->findText(QStringLiteral("BETA")) > 0);
        QVERIFY(m_db->exec(QStringLiteral("UPDATE stocks SET \"Shares Owned\" = 90")));
        choose(QStringLiteral("BETA"));
        QVERIFY(child(QStringLiteral("cmdSetFromTrades"))->isVisible());
        QCOMPARE(text(QStringLiteral("lblDiffers")),
                 QStringLiteral("The stock's record has 90 shares at 10; its trades give 100 "
                                "shares at 10."));
        click(QStringLiteral("cmdSetFromTrades"));
        QCOMPARE(storedStock(QStringLiteral("BETA"), QStringLiteral("Shares Owned")),
                 QVariant(100.0));
        QVERIFY(!child(QStringLiteral("lblDiffers"))->isVisible());
    }

private:
    TradesModel *model() const
    {
        return qobject_cast<TradesModel *>(child<QTableView>(QStringLiteral("grdTrades"))->model());
    }
    void choose(const QString &stock)
    {
        auto *box = child<QComboBox>(QStringLiteral("cboStock"));
        box->setCurrentIndex(box->findText(stock));
        QCOMPARE(box->currentText(), stock);
    }
    // Types over a cell where the window system sends the keys, then Enter.
    void type(const QModelIndex &cell, const QString &typed)
    {
        auto *grid = child<QTableView>(QStringLiteral("grdTrades"));
        QApplication::setActiveWindow(screen()->window());
        grid->setFocus();
        grid->setCurrentIndex(cell);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), typed);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        // The view commits the editor once the key is handled.
        QTRY_COMPARE(QApplication::focusWidget(), grid);
    }
};

VANTORA_TEST_MAIN(TstFrmTrades)
#include "tst_frmtrades.moc"
