// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/navigation.h"
#include "app/registry.h"
#include "common/config.h"
#include "data/store/schema.h"
#include "tests/support/testsupport.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace vantora;

namespace {

using Captions = QMap<QString, QString>; // control name -> caption

QWidget *openScreen(const QString &name)
{
    if (!navigate(nullptr, name))
        return nullptr;
    return ScreenRegistry::get(name)->window();
}

// The colour of the window's own background, away from any control.
QColor backgroundAt(QWidget *window, QPoint point)
{
    return window->grab().toImage().pixelColor(point * window->devicePixelRatio());
}

} // namespace

class TstInfoScreens : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        // "&Go Back" opens the forecaster, which wants a database (an empty one will do).
        QVERIFY(m_dir.isValid());
        const QString path = m_dir.filePath(QStringLiteral("cm1.db"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                        QStringLiteral("tst_infoscreens"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery query(db);
            for (const QString &statement : schema::createStatements())
                QVERIFY(query.exec(statement));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("tst_infoscreens"));
        config::setDatabasePath(path);
    }

    void init() { test::unloadAllScreens(); }
    void cleanup() { test::unloadAllScreens(); }

    void screens_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<Captions>("controls");
        QTest::addColumn<bool>("red"); // else blue

        QTest::newRow("about") << "Form4"
                               << "About Tallowby" << Captions{{"Command1", "&Home"}} << true;
        QTest::newRow("forecaster help") << "Form5"
                                         << "Form5"
                                         << Captions{{"Label1", "FORECASTER HELP "},
                                                     {"Command1", "&Go Back"},
                                                     {"Command2", "Go &Home"}}
                                         << true;
        QTest::newRow("disclaimer") << "Form6"
                                    << "Disclaimer" << Captions{{"Command1", "&Home"}} << false;
    }

    void screens()
    {
        QFETCH(QString, screen);
        QFETCH(QString, caption);
        QFETCH(Captions, controls);
        QFETCH(bool, red);

        QWidget *window = openScreen(screen);
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->windowTitle(), caption);
        for (auto it = controls.cbegin(); it != controls.cend(); ++it) {
            QWidget *control = window->findChild<QWidget *>(it.key());
            QVERIFY2(control, qPrintable(it.key()));
            if (auto *label = qobject_cast<QLabel *>(control))
                QCOMPARE(label->text(), it.value());
            else
                QCOMPARE(qobject_cast<QPushButton *>(control)->text(), it.value());
        }
        // No banner view on these screens.
        QVERIFY(!window->findChild<QWidget *>(QStringLiteral("WebBrowser1")));

        const QColor colour = backgroundAt(window, QPoint(6, window->height() / 2));
        if (red) {
            QVERIFY2(colour.red() > 2 * colour.blue() && colour.red() > 2 * colour.green(),
                     qPrintable(colour.name()));
        } else {
            QVERIFY2(colour.blue() > 2 * colour.red() && colour.blue() > colour.green(),
                     qPrintable(colour.name()));
        }
    }

    void disclaimer()
    {
        QWidget *window = openScreen(QStringLiteral("Form6"));
        QVERIFY(window);
        auto *label = window->findChild<QLabel *>(QStringLiteral("Label1"));
        const QString text = label->text();
        QCOMPARE(text.size(), 273);
        QVERIFY(text.startsWith(QStringLiteral("Disclaimer :") + QString(51, u' ') + u'W'));
        QVERIFY(text.endsWith(QStringLiteral(
            "We will not be responsible for any losses or profits that come from use of this "
            "product, be advised that the program is not always accurate but will maintain 89.4% "
            "accuracy as a Guarantee, use in moderation !!!")));
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QVERIFY(label->wordWrap());
        label->ensurePolished();
        QCOMPARE(label->font().pointSize(), 12);
    }

    void typeOfTheTexts_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("minimumPoints");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("serif"); // else any family

        QTest::newRow("about heading") << "Form4"
                                       << "Label1" << 16 << true << false;
        QTest::newRow("about pitch") << "Form4"
                                     << "Label3" << 9 << true << false;
        QTest::newRow("about joke") << "Form4"
                                    << "Label4" << 9 << true << true;
        QTest::newRow("help heading") << "Form5"
                                      << "Label1" << 18 << true << false;
    }

    void typeOfTheTexts()
    {
        QFETCH(QString, screen);
        QFETCH(QString, label);
        QFETCH(int, minimumPoints);
        QFETCH(bool, bold);
        QFETCH(bool, serif);

        QWidget *window = openScreen(screen);
        QVERIFY(window);
        auto *control = window->findChild<QLabel *>(label);
        QVERIFY(control);
        control->ensurePolished();
        const QFont font = control->font();
        QVERIFY2(font.pointSize() >= minimumPoints, qPrintable(QString::number(font.pointSize())));
        if (screen == QLatin1String("Form5"))
            QCOMPARE(font.pointSize(), 18);
        QCOMPARE(font.bold(), bold);
        const QString family = QFontInfo(font).family();
        if (serif)
            QVERIFY2(family.contains(QLatin1String("Serif")) &&
                         !family.contains(QLatin1String("Sans")),
                     qPrintable(family));
    }

    // The texts are ours but must name the maker and its addresses, and read in full.
    void namesAndAddresses_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("mentions");

        QTest::newRow("about heading") << "Form4"
                                       << "Label1" << QStringList{"About Vantora Market Pro"};
        QTest::newRow("ownership") << "Form4"
                                   << "Label2" << QStringList{"registered product", "Tallowby"};
        QTest::newRow("joke") << "Form4"
                              << "Label4" << QStringList{"Tallowby", "donate"};
        QTest::newRow("help") << "Form5"
                              << "Label2"
                              << QStringList{"www.tallowby.example", "help@tallowby.example",
                                             "advancing and declining", "Thank you"};
    }

    void namesAndAddresses()
    {
        QFETCH(QString, screen);
        QFETCH(QString, label);
        QFETCH(QStringList, mentions);
        QWidget *window = openScreen(screen);
        QVERIFY(window);
        const QString text = window->findChild<QLabel *>(label)->text();
        for (const QString &mention : mentions)
            QVERIFY2(text.contains(mention), qPrintable(mention));
    }

    // Every text and button shows in full inside the window as it opens.
    void nothingClipped_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::newRow("about") << "Form4";
        QTest::newRow("forecaster help") << "Form5";
        QTest::newRow("disclaimer") << "Form6";
    }

    void nothingClipped()
    {
        QFETCH(QString, screen);
        QWidget *window = openScreen(screen);
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QRect inside = window->rect();
        const QList<QWidget *> controls = window->findChildren<QWidget *>();
        int checked = 0;
        for (QWidget *control : controls) {
            auto *label = qobject_cast<QLabel *>(control);
            auto *button = qobject_cast<QPushButton *>(control);
            if (!label && !button)
                continue;
            ++checked;
            const QString name = control->objectName();
            QVERIFY2(control->isVisible(), qPrintable(name));
            const QRect area(control->mapTo(window, QPoint(0, 0)), control->size());
            QVERIFY2(inside.contains(area), qPrintable(name));
            if (label && label->wordWrap()) {
                QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                         qPrintable(name));
            } else {
                QVERIFY2(control->sizeHint().width() <= control->width(), qPrintable(name));
                QVERIFY2(control->sizeHint().height() <= control->height(), qPrintable(name));
            }
        }
        QVERIFY(checked >= 2);
    }

    void resizingMovesNothing_data() { nothingClipped_data(); }

    void resizingMovesNothing()
    {
        QFETCH(QString, screen);
        QWidget *window = openScreen(screen);
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QHash<QWidget *, QRect> before;
        for (QWidget *control : window->findChildren<QWidget *>())
            before.insert(control, control->geometry());
        window->resize(window->size() + QSize(240, 160));
        QCoreApplication::processEvents();
        QTRY_COMPARE(window->size(), window->minimumSize() + QSize(240, 160));
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QCOMPARE(it.key()->geometry(), it.value());
    }

    void buttons_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("target");

        QTest::newRow("about, Home") << "Form4"
                                     << "Command1"
                                     << "Form11";
        QTest::newRow("disclaimer, Home") << "Form6"
                                          << "Command1"
                                          << "Form11";
        QTest::newRow("help, Go Back") << "Form5"
                                       << "Command1"
                                       << "Form3";
        QTest::newRow("help, Go Home") << "Form5"
                                       << "Command2"
                                       << "Form11";
    }

    void buttons()
    {
        QFETCH(QString, screen);
        QFETCH(QString, button);
        QFETCH(QString, target);

        test::ScriptedDialogs dialogs;
        QWidget *window = openScreen(screen);
        QVERIFY(window);
        QTest::mouseClick(window->findChild<QPushButton *>(button), Qt::LeftButton);
        QVERIFY(!ScreenRegistry::get(screen)->isLoaded());
        Screen *next = ScreenRegistry::get(target);
        QVERIFY(next->isLoaded());
        QVERIFY(next->window()->isVisible());
        // Only the target is open (the tip window may stand beside the main window).
        for (Screen *open : ScreenRegistry::loaded())
            QVERIFY2(open == next || open->name() == QLatin1String("frmTip"),
                     qPrintable(open->name()));
    }
};

VANTORA_TEST_MAIN(TstInfoScreens)
#include "tst_infoscreens.moc"
