// SPDX-License-Identifier: GPL-3.0-or-later
// The program speaks the system's language: German under a German locale (CTest runs this again
// as tst_languages_german), its own English under C.UTF-8; F1 and Ctrl+P in either.
#include "tests/support/screenfixture.h"

#include "app/application.h"
#include "app/registry.h"
#include "common/config.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QRegularExpression>
#include <QTimer>
#include <QTranslator>
#include <QXmlStreamReader>

using namespace vantora;

namespace {

// The access key of a caption, lower case; none for a caption without one.
QChar accessKey(const QString &text)
{
    const QRegularExpression key(QStringLiteral("&([^&])"));
    const QRegularExpressionMatch m = key.match(QString(text).remove(QLatin1String("&&")));
    return m.hasMatch() ? m.captured(1).at(0).toLower() : QChar();
}

// Runs `answer` on the next modal dialog once it is open (within five seconds), then closes it.
void whenModal(std::function<void(QDialog *)> answer, int tries = 500)
{
    QTimer::singleShot(10, qApp, [answer, tries] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            if (tries > 0)
                whenModal(answer, tries - 1);
            return;
        }
        answer(dialog);
        dialog->reject();
    });
}

} // namespace

class TstLanguages : public QObject, public test::ScreenFixture
{
    Q_OBJECT

public:
    TstLanguages()
        : ScreenFixture("Form11")
    {
    }

private:
    bool m_german = false;
    QString says(const QString &english, const QString &german) const
    {
        return m_german ? german : english;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_german = installTranslations(QLocale::system());
        QCOMPARE(m_german, QLocale::system().language() == QLocale::German);
    }
    void init() { start(QStringLiteral("stocks"), {}, {}, test::TestDatabase::Sample); }
    void cleanup() { finish(); }

    void menus_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("german");
        const char *const rows[][3] = {
            {"file", "Fi&le", "&Datei"},
            {"memfin", "&Financial Planner", "&Finanzplaner"},
            {"memstck", "&Stocks", "&Aktien"},
            {"recentdb", "Open &Recent", "&Zuletzt geöffnet"},
            {"opendb", "&Open Database…", "Datenbank ö&ffnen…"},
            {"quit", "&Quit", "&Beenden"},
            {"memretire", "R&etirement Planner", "&Ruhestandsplaner"},
            {"memhold", "Holdings &Overview", "Depot&übersicht"},
            {"memhel", "He&lp", "&Hilfe"},
        };
        for (const auto &[name, english, german] : rows)
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(english)
                                << QString::fromUtf8(german);
    }
    void menus()
    {
        QFETCH(QString, name);
        QFETCH(QString, english);
        QFETCH(QString, german);
        QWidget *window = screen()->window();
        if (auto *menu = window->findChild<QMenu *>(name))
            QCOMPARE(menu->title(), says(english, german));
        else
            QCOMPARE(test::control<QAction>(screen(), name)->text(), says(english, german));
        // The keys stay as they are in every language.
        QCOMPARE(test::control<QAction>(screen(), QStringLiteral("quit"))->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+Q")));
    }

    // Within each menu and each window, no two captions share an access key.
    void accessKeysUnique()
    {
        if (!m_german)
            QSKIP("the English captions and their keys are the program's own");
        const auto unique = [](const QString &where, const QList<QString> &captions) {
            QHash<QChar, QString> seen;
            for (const QString &caption : captions) {
                const QChar key = accessKey(caption);
                if (key.isNull())
                    continue;
                QVERIFY2(!seen.contains(key),
                         qPrintable(QStringLiteral("%1: \"%2\" and \"%3\"")
                                        .arg(where, seen.value(key), caption)));
                seen.insert(key, caption);
            }
        };
        QWidget *main = screen()->window();
        QList<QString> titles;
        for (QAction *action : main->findChild<QMenuBar *>()->actions())
            titles << action->text();
        unique(QStringLiteral("menu bar"), titles);
        for (QMenu *menu : main->findChildren<QMenu *>()) {
            QList<QString> entries;
            for (QAction *action : menu->actions())
                entries << action->text();
            unique(menu->objectName(), entries);
        }
        for (const QString &name : ScreenRegistry::names()) {
            Screen *s = ScreenRegistry::get(name);
            s->show();
            QList<QString> captions;
            for (QAbstractButton *button : s->window()->findChildren<QAbstractButton *>())
                captions << button->text();
            for (QLabel *label : s->window()->findChildren<QLabel *>())
                if (label->buddy())
                    captions << label->text();
            unique(name, captions);
            if (name != QLatin1String("Form11"))
                s->unload();
        }
    }

    // A message box of the program with the standard buttons, which Qt's own translation gives.
    void messageBox()
    {
        // The real box.
        m_dialogs.reset();
        const DialogHandler scripted = dialogHandler();
        setDialogHandler(nullptr);
        const auto restore = qScopeGuard([&scripted] { setDialogHandler(scripted); });
        QString title, text;
        QStringList buttons;
        whenModal([&](QDialog *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            for (QAbstractButton *button : box->buttons())
                buttons << button->text().remove(QLatin1Char('&'));
        });
        test::control<QAbstractButton>(screen(), QStringLiteral("Command1"))->click();
        QCOMPARE(title, says("Special Information !!", "Besondere Information !!"));
        QVERIFY2(text.contains(says("PLEASE use the program ONLY when on the Internet",
                                    "benutzen Sie das Programm BITTE NUR")),
                 qPrintable(text));
        buttons.sort();
        QCOMPARE(buttons,
                 m_german ? QStringList({"Abbrechen", "OK"}) : QStringList({"Cancel", "OK"}));
    }

    // F1 shows the user manual in the program's browser window; Ctrl+P opens the print dialog
    // where a screen has a report.
    void standardKeys_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("F1 on the portfolio") << "Form12"
                                             << "helpKey" << QKeySequence(Qt::Key_F1);
        QTest::newRow("Ctrl+P on the holdings") << "frmHoldings"
                                                << "printKey" << QKeySequence(Qt::CTRL | Qt::Key_P);
        QTest::newRow("Ctrl+P on the scorecard")
            << "frmScorecard"
            << "printKey" << QKeySequence(Qt::CTRL | Qt::Key_P);
    }
    void standardKeys()
    {
        QFETCH(QString, screen);
        QFETCH(QString, key);
        QFETCH(QKeySequence, keys);
        Screen *s = ScreenRegistry::get(screen);
        s->show();
        auto *action = test::control<QAction>(s, key);
        QCOMPARE(action->shortcut(), keys);
        if (key == QLatin1String("helpKey")) {
            action->trigger();
            Screen *browser = ScreenRegistry::get(QStringLiteral("frmBrowser"));
            QVERIFY(browser->isLoaded());
            QVERIFY2(browser->property("StartingAddress")
                         .toString()
                         .endsWith(QLatin1String("/manual/index.html")),
                     qPrintable(browser->property("StartingAddress").toString()));
            return;
        }
        QString title;
        whenModal([&title](QDialog *dialog) {
            QVERIFY(qobject_cast<QPrintDialog *>(dialog));
            title = dialog->windowTitle();
        });
        action->trigger();
        QCOMPARE(title, says("Print ", "") + s->window()->windowTitle() + says("", " drucken"));
    }

    // Every text of the translation is finished, keeps its placeholders and its access key, and
    // the built translation is there to be loaded.
    void translationFinished()
    {
        QFile file(QStringLiteral(VANTORA_SOURCE_DIR "/translations/vantora_de.ts"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader ts(&file);
        const QRegularExpression placeholder(QStringLiteral("%L?\\d"));
        const auto placeholders = [&placeholder](const QString &text) {
            QStringList found;
            for (auto it = placeholder.globalMatch(text); it.hasNext();)
                found << it.next().captured();
            found.sort();
            return found;
        };
        int messages = 0;
        QString source;
        while (!ts.atEnd()) {
            if (ts.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (ts.name() == QLatin1String("source")) {
                source = ts.readElementText(QXmlStreamReader::IncludeChildElements);
            } else if (ts.name() == QLatin1String("translation")) {
                const QString type = ts.attributes().value(QLatin1String("type")).toString();
                const QString german = ts.readElementText(QXmlStreamReader::IncludeChildElements);
                ++messages;
                QVERIFY2(type.isEmpty() && !german.isEmpty(), qPrintable(source));
                QVERIFY2(placeholders(german) == placeholders(source), qPrintable(source));
                QVERIFY2(accessKey(german).isNull() == accessKey(source).isNull(),
                         qPrintable(source));
            }
        }
        QVERIFY2(!ts.hasError(), qPrintable(ts.errorString()));
        QVERIFY(messages > 600);
        QTranslator built;
        QVERIFY(built.load(QStringLiteral("vantora_de"),
                           config::dataFolder(QStringLiteral("translations")) +
                               QStringLiteral("/translations")));
        QCOMPARE(built.translate("Form11", "Fi&le"), QStringLiteral("&Datei"));
    }
};

VANTORA_TEST_MAIN(TstLanguages)
#include "tst_languages.moc"
