// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantList>
#include <functional>

// A fresh market database for one test, and ways to look into it behind the program's back.
namespace vantora::test {

// Called with the path of each test database made, and with the empty path at its end (the
// screens' tests point the program's database there).
void followTestDatabases(std::function<void(const QString &)> follow);

class TestDatabase
{
public:
    enum Content { Empty, Sample };
    // Creates the file in a temporary folder and makes it the program's database.
    explicit TestDatabase(Content content = Empty);
    ~TestDatabase();
    Q_DISABLE_COPY_MOVE(TestDatabase)

    bool isValid() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

    // Runs one statement with positional values; false (and a warning) on an error.
    bool exec(const QString &sql, const QVariantList &values = {});
    // The first column of a query's rows.
    QVariantList column(const QString &sql, const QVariantList &values = {});
    QVariant scalar(const QString &sql, const QVariantList &values = {});
    qint64 count(const QString &table);
    // One field of every row of a table, in stored order, as stored.
    QVariantList fieldValues(const QString &table, const QString &field);
    // Every row of a table in stored order, each value as SQLite quotes it (so 12, 12.0 and '12'
    // differ, and null is NULL), joined by '|'.
    QStringList rows(const QString &table);
    // Inserts one row; fields and values pair up.
    bool insert(const QString &table, const QStringList &fields, const QVariantList &values);
    // Opens the file as the program's first opening in a run does (check, backup, upgrade) and
    // waits for it; what it would tell the user, or nothing.
    QString openAsAtFirstOpening();

private:
    QTemporaryDir m_dir;
    QString m_path;
    QString m_error;
};

// Holds an exclusive lock on a database file for as long as it lives, as another program
// writing to it would.
class ExclusiveLock
{
public:
    explicit ExclusiveLock(const QString &path);
    ~ExclusiveLock();
    Q_DISABLE_COPY_MOVE(ExclusiveLock)
    bool isLocked() const { return m_locked; }

private:
    QString m_name;
    bool m_locked = false;
};

// Makes a folder read-only for as long as it lives: its mode as a user, its immutable flag as
// root (whom no mode stops).
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path);
    ~ReadOnlyFolder();
    Q_DISABLE_COPY_MOVE(ReadOnlyFolder)
    bool isReadOnly() const { return m_readOnly; }

private:
    QString m_path;
    bool m_readOnly = false;
};

} // namespace vantora::test
