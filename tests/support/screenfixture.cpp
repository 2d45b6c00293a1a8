// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/screenfixture.h"

#include "app/registry.h"
#include "data/binding/datacontrol.h"
#include "data/store/schema.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vantora::test {

ScreenFixture::ScreenFixture(const char *screenName)
    : m_name(QString::fromLatin1(screenName))
{
}

Screen *ScreenFixture::screen() const
{
    return ScreenRegistry::get(m_name);
}

DataControl *ScreenFixture::data() const
{
    return child<DataControl>(QStringLiteral("Data1"));
}

QString ScreenFixture::text(const QString &name) const
{
    QWidget *widget = child<QWidget>(name);
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    if (auto *box = qobject_cast<QLineEdit *>(widget))
        return box->text();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    QTest::qFail(qPrintable(name + QStringLiteral(" shows no text")), __FILE__, __LINE__);
    return {};
}

void ScreenFixture::click(const QString &button)
{
    QTest::mouseClick(child<QAbstractButton>(button), Qt::LeftButton);
}

void ScreenFixture::step(const QString &arrow)
{
    auto *button = data()->findChild<QPushButton *>(arrow);
    if (!button) {
        QTest::qFail(qPrintable(QStringLiteral("Data1 has no button ") + arrow), __FILE__,
                     __LINE__);
        return;
    }
    button->click();
}

void ScreenFixture::retype(const QString &box, const QString &text)
{
    QLineEdit *edit = child<QLineEdit>(box);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QVariant ScreenFixture::stored(const QString &table, const QString &keyField, const QVariant &key,
                               const QString &field) const
{
    return m_db->scalar(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? ORDER BY rowid LIMIT 1")
            .arg(schema::quoted(field), schema::quoted(table), schema::quoted(keyField)),
        {key});
}

void ScreenFixture::start(const QString &table, const QStringList &fields,
                          const QList<QVariantList> &rows, TestDatabase::Content content)
{
    unloadAllScreens();
    // A second start in one test: the old database goes first, as its folder is the new one's.
    m_dialogs.reset();
    m_db.reset();
    m_db = std::make_unique<TestDatabase>(content);
    QVERIFY2(m_db->isValid(), qPrintable(m_db->error()));
    if (content == TestDatabase::Sample && !rows.isEmpty())
        QVERIFY(m_db->exec(QStringLiteral("DELETE FROM %1").arg(schema::quoted(table))));
    for (const QVariantList &row : rows)
        QVERIFY(m_db->insert(table, fields, row));
    m_dialogs = std::make_unique<ScriptedDialogs>();
    screen()->show();
    QVERIFY(screen()->isLoaded());
}

void ScreenFixture::finish()
{
    // An edit a test left on screen would hold its screen open (or be saved into the next
    // test's database): it goes first.
    for (Screen *loaded : ScreenRegistry::loaded())
        for (DataControl *binding : loaded->window()->findChildren<DataControl *>())
            binding->revert();
    unloadAllScreens();
    m_dialogs.reset();
    m_db.reset();
}

} // namespace vantora::test
