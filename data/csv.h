// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The market database's tables as CSV files (RFC 4180, UTF-8), in and out.
namespace vantora::csv {

struct Field
{
    QString text;
    bool quoted = false; // written in quotes: "" is the empty text, an unquoted nothing is null
    int line = 0;        // where the field starts, counting from 1
};

struct Record
{
    QList<Field> fields;
    int line = 0;
};

// Reads records one by one from decoded CSV text. Fields are separated by commas, records by
// CRLF, LF or CR; quoted fields may hold commas, doubled quotes and line breaks. Lines with
// nothing on them are skipped.
class Reader
{
public:
    explicit Reader(QStringView text);

    enum class Status { Record, End, Error };
    Status next(Record *record);

    // After Status::Error: the line, the field (counting from 0) and what is wrong there.
    int errorLine() const { return m_errorLine; }
    int errorField() const { return m_errorField; }
    QString errorText() const { return m_errorText; }

private:
    bool atLineBreak() const;
    void skipLineBreak();

    QStringView m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_errorLine = 0;
    int m_errorField = 0;
    QString m_errorText;
};

// Decodes a file's bytes as UTF-8 (a leading byte order mark is dropped). False, with the line
// and what is wrong, for bytes that are no UTF-8 text.
bool decode(const QByteArray &bytes, QString *text, int *badLine, QString *problem);

// One field as written: quoted when it is the empty text or holds a comma, a quote, a line
// break or spaces at either end; nothing at all for null.
QString field(const QString &text, bool isNull = false);

struct Result
{
    bool ok = false;
    qint64 rows = 0;
    QString message;      // what happened, or why nothing happened
    QStringList warnings; // exported values that an import would refuse
};

// Writes every row of the table, in stored order, with a header of the exact field names.
// Refuses to overwrite an existing file; the file appears whole or not at all.
Result exportTable(const QString &databasePath, const QString &table, const QString &file);

// Appends the file's rows to the table in one transaction: all or nothing. The header names the
// fields the file holds, any subset in any order; fields it leaves out stay empty (null).
Result importTable(const QString &databasePath, const QString &table, const QString &file);

} // namespace vantora::csv
