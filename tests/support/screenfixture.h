// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/support/testdb.h"
#include "tests/support/testsupport.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace vantora {
class DataControl;
}

namespace vantora::test {

// One screen driven through its real window on a fresh test database, its dialogs answered
// from a script. A test class derives from QObject and from this, calls start() in init() and
// finish() in cleanup().
class ScreenFixture
{
public:
    explicit ScreenFixture(const char *screenName);

    Screen *screen() const;
    template <typename T = QWidget> T *child(const QString &name) const
    {
        return control<T>(screen(), name);
    }
    DataControl *data() const;
    // What a label, a box or a button shows.
    QString text(const QString &name) const;
    // A click of the mouse on a button.
    void click(const QString &button);
    // One of the record binding's step buttons: First, Previous, Next, Last.
    void step(const QString &arrow);
    // Selects everything in a box and types over it, key by key.
    void retype(const QString &box, const QString &text);
    // A field of the first row whose `keyField` equals `key`, as stored.
    QVariant stored(const QString &table, const QString &keyField, const QVariant &key,
                    const QString &field) const;
    // A field of the stock with this ticker symbol, as stored.
    QVariant storedStock(const QString &ticker, const QString &field) const
    {
        return stored(QStringLiteral("stocks"), QStringLiteral("Ticker Symbol"), ticker, field);
    }

protected:
    // A fresh database (empty, or the sample market) with these rows in the table, then the
    // screen loaded and shown. Fields pair with each row's values; rows given for a table of
    // the sample market replace its sample rows.
    void start(const QString &table, const QStringList &fields, const QList<QVariantList> &rows,
               TestDatabase::Content content = TestDatabase::Empty);
    // Unloads every screen and drops the database and the scripted dialogs.
    void finish();
    // Another screen for the next start() (a test over several screens).
    void setScreen(const QString &name) { m_name = name; }

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<ScriptedDialogs> m_dialogs;

private:
    QString m_name;
};

} // namespace vantora::test
