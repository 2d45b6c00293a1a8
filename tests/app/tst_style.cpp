// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "tests/support/measure.h"
#include "tests/support/testsupport.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>

using namespace vantora;

namespace {

QString styleSource()
{
    QFile file(QString::fromLatin1(kStyleSheetResource));
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll())
                                                            : QString();
}

QString withoutComments(QString text)
{
    static const QRegularExpression comment(QStringLiteral(R"(/\*.*?\*/)"),
                                            QRegularExpression::DotMatchesEverythingOption);
    return text.remove(comment);
}

} // namespace

class TstStyle : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void expandStyleSheet_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a name, used twice")
            << QStringLiteral("@gold: #f2c14e;\nA { color: @gold; border-color: @gold; }")
            << QStringLiteral("\nA { color: #f2c14e; border-color: #f2c14e; }");
        QTest::newRow("a longer name beginning with another")
            << QStringLiteral("@gold: #f2c14e;\n@gold-light: #f7d57f;\nA { color: @gold-light; }")
            << QStringLiteral("\n\nA { color: #f7d57f; }");
        QTest::newRow("a value made of names above it")
            << QStringLiteral("@a: #000000;\n  @b : g(@a, @a) ;\nA { background: @b; }")
            << QStringLiteral("\n\nA { background: g(#000000, #000000); }");
        QTest::newRow("an unknown name stays") << QStringLiteral("@a: red;\nA { color: @ab; }")
                                               << QStringLiteral("\nA { color: @ab; }");
    }
    void expandStyleSheet()
    {
        QFETCH(QString, source);
        QFETCH(QString, expected);
        QCOMPARE(vantora::expandStyleSheet(source), expected);
    }

    void applicationHasTheSheet()
    {
        const QString source = styleSource();
        QVERIFY(!source.isEmpty());
        const QString sheet = vantora::expandStyleSheet(source);
        QCOMPARE(qApp->styleSheet(), sheet);
        QVERIFY2(!withoutComments(sheet).contains(QLatin1Char('@')), "a name is not defined");

        // Qt reports a sheet it cannot parse only when it first styles a widget.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        qApp->setStyleSheet(QString());
        qApp->setStyleSheet(sheet);
        QPushButton button;
        button.ensurePolished();
    }

    // Each colour is written once, in its name's definition; the rules use only the names.
    void coloursAreNamedOnce()
    {
        static const QRegularExpression definition(
            QStringLiteral(R"(^[ \t]*@[\w-]+[ \t]*:[ \t]*(.*?)[ \t]*;[ \t]*$)"),
            QRegularExpression::MultilineOption);
        static const QRegularExpression colour(
            QStringLiteral(R"(#[0-9a-fA-F]{6}\b|#[0-9a-fA-F]{3}\b|rgba?\([^)]*\))"));
        QString rules = withoutComments(styleSource());
        QSet<QString> values;
        for (const QRegularExpressionMatch &m : definition.globalMatch(rules)) {
            const QString value = m.captured(1);
            QVERIFY2(!values.contains(value), qPrintable(value));
            values.insert(value);
        }
        QVERIFY(!values.isEmpty());
        rules.remove(definition);
        const QRegularExpressionMatch literal = colour.match(rules);
        QVERIFY2(!literal.hasMatch(), qPrintable(literal.captured()));
    }

    // Chosen or not, a radio button and a check box show which (CTest runs this on a dark
    // desktop too): the two renderings differ where the mark is, clearly.
    void indicatorsShowTheirState_data()
    {
        QTest::addColumn<bool>("radio");
        QTest::newRow("radio button") << true;
        QTest::newRow("check box") << false;
    }
    void indicatorsShowTheirState()
    {
        QFETCH(bool, radio);
        QWidget panel;
        QAbstractButton *button = radio ? static_cast<QAbstractButton *>(new QRadioButton(&panel))
                                        : new QCheckBox(&panel);
        button->setText(QStringLiteral("Target Savings"));
        button->adjustSize();
        panel.adjustSize();
        const QImage off = button->grab().toImage();
        button->setChecked(true);
        const QImage on = button->grab().toImage();
        QCOMPARE(on.size(), off.size());
        int marked = 0;
        for (int y = 0; y < on.height(); ++y)
            for (int x = 0; x < on.width(); ++x)
                if (vantora::test::contrastRatio(on.pixel(x, y), off.pixel(x, y)) >= 3)
                    ++marked;
        QVERIFY2(marked >= 6, qPrintable(QString::number(marked)));
        // The caption is readable on the window's own background.
        QVERIFY(vantora::test::textContrast(off) >= 4.5);
    }
};

VANTORA_TEST_MAIN(TstStyle)
#include "tst_style.moc"
