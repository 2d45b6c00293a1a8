// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

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

// Reads records one by one from a CSV file as it streams in (UTF-8; a leading byte order mark
// is dropped), holding no more of it than the record at hand. Fields are separated by commas,
// records by CRLF, LF or CR; quoted fields may hold commas, doubled quotes and line breaks.
// Lines with nothing on them are skipped. Bytes that are no UTF-8 text (a NUL byte among them:
// it marks a binary file) end the reading with an error at their line.
class Reader
{
public:
    explicit Reader(QIODevice *device);

    // How much of the input is held at most (0: no bound): characters of one line (of one
    // record), characters of one field, fields of one record. Beyond, the reading stops with an
    // error that tooLong() tells apart.
    void setLimits(qsizetype lineChars, qsizetype fieldChars, qsizetype fields);

    enum class Status { Record, End, Error };
    Status next(Record *record);

    // After Status::Error: the line, the field (counting from 0; -1 when the bytes themselves
    // are wrong) and what is wrong there.
    int errorLine() const { return m_errorLine; }
    int errorField() const { return m_errorField; }
    QString errorText() const { return m_errorText; }
    // The error is a line, a field or a record beyond the limits; its text names the line.
    bool tooLong() const { return m_tooLong; }

private:
    // Drops the text before the position now and then.
    void dropRead();
    // Decodes the next piece of the file onto the text; false at its end or on an error.
    bool readMore();
    // Makes the text reach `ahead` characters past the position, if the file has them.
    bool has(qsizetype ahead);
    bool atLineBreak();
    // The characters skipped: 1, or 2 for CRLF.
    int skipLineBreak();
    Status fail(int line, int field, const QString &text);
    bool beyondLimits();

    qsizetype m_lineLimit = 0, m_fieldLimit = 0, m_fieldsLimit = 0;
    qsizetype m_dropped = 0; // characters of the text dropped so far
    qsizetype m_recordStart = 0, m_fieldStart = 0, m_fieldIndex = 0; // counted as m_dropped is
    int m_recordLine = 0;
    bool m_tooLong = false;

    QIODevice *m_device;
    QString m_text; // decoded, from the start of the record at hand
    qsizetype m_pos = 0;
    QByteArray m_undecoded; // the start of a character that the next piece completes
    QStringDecoder m_decoder{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
    bool m_started = false;
    bool m_bad = false; // the bytes are no text, or could not be read
    int m_line = 1;
    int m_byteLine = 1;            // the line the next undecoded byte is on
    bool m_carriageReturn = false; // the last byte decoded was a CR
    int m_errorLine = 0;
    int m_errorField = 0;
    QString m_errorText;
};

// Whether a file changed since it was opened: another file under its name, another size or
// another modification time. What was read must be the whole file: one still being written
// would lose its end, and a record refused in it is most likely the one being written. Only a
// plain file is watched (a pipe changes as it streams).
class FileWatch
{
public:
    explicit FileWatch(QFileDevice &open);
    bool changed() const;
    // "\"<path>\" changed while it was read (is it still being written?). …"
    QString changedText() const;

private:
    QFileDevice &m_file;
    QString m_path;
    bool m_plain = false;
    struct State
    {
        qint64 device = 0, inode = 0, size = -1, seconds = 0, nanoseconds = 0;
        bool operator==(const State &) const = default;
    } m_before;
    static State stateOf(int handle);
    static State stateOf(const QString &path);
};

// A text shown in a message as a short quote: what a file holds may be a whole line long.
QString quoteOf(QStringView text);

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

// Appends the file's rows to the table in one transaction, row by row as the file is read: all
// or nothing. The header names the fields the file holds, any subset in any order; fields it
// leaves out stay empty (null). A file that changes while it is read is refused.
Result importTable(const QString &databasePath, const QString &table, const QString &file);

} // namespace vantora::csv
