// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/csv.h"

#include "data/connection.h"
#include "data/foldedkeys.h"
#include "data/schema.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>
#include <optional>
#include <sqlite3.h>

namespace vantora::csv {
namespace {

const QChar kQuote = QLatin1Char('"');
const QChar kComma = QLatin1Char(',');

// The offset of the first byte that is not part of UTF-8 text (a NUL byte counts as such:
// it marks a binary file), or -1.
qsizetype firstInvalidByte(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned c = p[i];
        if (c == 0)
            return i;
        if (c < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        unsigned code = 0;
        unsigned least = 0;
        if ((c & 0xE0) == 0xC0) {
            length = 2, code = c & 0x1F, least = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3, code = c & 0x0F, least = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4, code = c & 0x07, least = 0x10000;
        } else {
            return i;
        }
        if (i + length > n)
            return i;
        for (int k = 1; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return i;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return i;
        i += length;
    }
    return -1;
}

// Lines end with CRLF, LF or a lone CR.
template <typename Text> int lineBreaks(const Text &text, qsizetype end)
{
    int breaks = 0;
    for (qsizetype i = 0; i < end; ++i) {
        if (text[i] == '\n')
            ++breaks;
        else if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))
            ++breaks;
    }
    return breaks;
}

QString fieldCount(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 field") : QStringLiteral("%1 fields").arg(count);
}

QString where(const QString &file, int line)
{
    return QStringLiteral("\"%1\", line %2").arg(file).arg(line);
}

QString fieldList(const schema::Table &table)
{
    QStringList names;
    for (const schema::Field &field : table.fields)
        names << QStringLiteral("\"%1\"").arg(field.name);
    return names.join(QLatin1String(", "));
}

QString tableList()
{
    QStringList names;
    for (const schema::Table &table : schema::tables())
        names << table.name;
    return names.join(QLatin1String(", "));
}

Result failure(const QString &message)
{
    Result result;
    result.message = message;
    return result;
}

QString nothingImported(const QString &message)
{
    return message + QStringLiteral("\nNothing was imported; the database is as it was.");
}

QString engineFailure(const QString &path, const QSqlError &error, bool writing)
{
    const int code = sqlitePrimaryCode(error);
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        return engineMessage(
            QStringLiteral("The market database \"%1\" is in use by another program").arg(path),
            error, u"; try again when it is done.");
    return engineMessage(
        QStringLiteral("The market database \"%1\" could not be %2")
            .arg(path, writing ? QStringLiteral("written") : QStringLiteral("read")),
        error);
}

// The names the database file gives the table's fields, in the schema's order; a field the file
// lacks makes *problem say so.
QStringList fileFields(QSqlDatabase &db, const schema::Table &table, const QString &path,
                       QString *actualTable, QString *problem)
{
    const TableColumns found = readTableColumns(db, table.name);
    if (found.error.isValid()) {
        *problem = engineFailure(path, found.error, false);
        return {};
    }
    if (found.table.isEmpty()) {
        *problem =
            QStringLiteral("The market database \"%1\" has no table \"%2\".").arg(path, table.name);
        return {};
    }
    *actualTable = found.table;
    QStringList names;
    for (const schema::Field &field : table.fields) {
        QString name;
        for (const QString &column : found.columns)
            if (column.compare(field.name, Qt::CaseInsensitive) == 0)
                name = column;
        if (name.isEmpty()) {
            *problem = QStringLiteral("The table \"%2\" of the market database \"%1\" has no field "
                                      "\"%3\".")
                           .arg(path, table.name, field.name);
            return {};
        }
        names << name;
    }
    return names;
}

} // namespace

Reader::Reader(QStringView text)
    : m_text(text)
{
}

bool Reader::atLineBreak() const
{
    return m_pos < m_text.size() &&
           (m_text[m_pos] == QLatin1Char('\n') || m_text[m_pos] == QLatin1Char('\r'));
}

void Reader::skipLineBreak()
{
    if (m_text[m_pos] == QLatin1Char('\r') && m_pos + 1 < m_text.size() &&
        m_text[m_pos + 1] == QLatin1Char('\n'))
        ++m_pos;
    ++m_pos;
    ++m_line;
}

Reader::Status Reader::next(Record *record)
{
    *record = {};
    while (atLineBreak())
        skipLineBreak();
    if (m_pos >= m_text.size())
        return Status::End;
    record->line = m_line;
    const qsizetype size = m_text.size();
    for (;;) {
        Field field;
        field.line = m_line;
        const int index = int(record->fields.size());
        if (m_pos < size && m_text[m_pos] == kQuote) {
            field.quoted = true;
            ++m_pos;
            for (;;) {
                if (m_pos >= size) {
                    m_errorLine = field.line;
                    m_errorField = index;
                    m_errorText = QStringLiteral("the quoted value that starts here has no "
                                                 "closing quote (\")");
                    return Status::Error;
                }
                const QChar c = m_text[m_pos];
                if (c == kQuote) {
                    if (m_pos + 1 < size && m_text[m_pos + 1] == kQuote) {
                        field.text += kQuote;
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    break;
                }
                if (atLineBreak()) {
                    const qsizetype start = m_pos;
                    skipLineBreak();
                    field.text += m_text.mid(start, m_pos - start);
                    continue;
                }
                field.text += c;
                ++m_pos;
            }
            if (m_pos < size && m_text[m_pos] != kComma && !atLineBreak()) {
                m_errorLine = m_line;
                m_errorField = index;
                m_errorText = QStringLiteral("text follows the closing quote; a quote inside a "
                                             "quoted value is written twice (\"\")");
                return Status::Error;
            }
        } else {
            // A quote inside an unquoted value is taken as it stands (5" floppy).
            const qsizetype start = m_pos;
            while (m_pos < size && m_text[m_pos] != kComma && !atLineBreak())
                ++m_pos;
            field.text = m_text.mid(start, m_pos - start).toString();
        }
        record->fields << field;
        if (m_pos < size && m_text[m_pos] == kComma) {
            ++m_pos;
            continue;
        }
        if (m_pos < size)
            skipLineBreak();
        return Status::Record;
    }
}

bool decode(const QByteArray &bytes, QString *text, int *badLine, QString *problem)
{
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    const qsizetype bad = firstInvalidByte(body);
    if (bad >= 0) {
        *badLine = 1 + lineBreaks(body, bad);
        *problem =
            body.at(bad) == 0
                ? QStringLiteral("the file holds a NUL byte: it is no text file")
                : QStringLiteral("the file is not UTF-8 text (byte 0x%1 at this line)")
                      .arg(uint(static_cast<unsigned char>(body.at(bad))), 2, 16, QLatin1Char('0'));
        return false;
    }
    *text = QString::fromUtf8(body);
    return true;
}

QString field(const QString &text, bool isNull)
{
    if (isNull)
        return {};
    const bool needsQuotes = text.isEmpty() || text.contains(kComma) || text.contains(kQuote) ||
                             text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
                             text.front().isSpace() || text.back().isSpace();
    if (!needsQuotes)
        return text;
    QString doubled = text;
    doubled.replace(kQuote, QLatin1String("\"\""));
    return kQuote + doubled + kQuote;
}

Result exportTable(const QString &databasePath, const QString &tableName, const QString &file)
{
    const schema::Table *table = schema::findTable(tableName);
    if (!table)
        return failure(QStringLiteral("There is no table \"%1\"; the tables are %2.")
                           .arg(tableName, tableList()));
    if (QFileInfo::exists(file))
        return failure(QStringLiteral("\"%1\" already exists; it is left as it is. Choose "
                                      "another file name.")
                           .arg(file));

    DbConnection connection;
    if (const DbError error = connection.open(databasePath, readWriteIfAllowed(databasePath)))
        return failure(error.message);
    QString actualTable, problem;
    const QStringList names =
        fileFields(connection.db(), *table, databasePath, &actualTable, &problem);
    if (names.isEmpty())
        return failure(problem);

    QStringList columns, header;
    for (qsizetype i = 0; i < names.size(); ++i) {
        columns << schema::quoted(names[i]);
        header << field(table->fields[i].name);
    }
    QSqlQuery query(connection.db());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                        .arg(columns.join(kComma), schema::quoted(actualTable))))
        return failure(engineMessage(QStringLiteral("The table \"%1\" of \"%2\" could not be read")
                                         .arg(table->name, databasePath),
                                     query.lastError()));

    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return failure(
            QStringLiteral("\"%1\" could not be written: %2.").arg(file, out.errorString()));
    const QString crlf = QStringLiteral("\r\n");
    out.write((header.join(kComma) + crlf).toUtf8());

    Result result;
    int line = 2;
    while (query.next()) {
        QStringList fields;
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QVariant value = query.value(int(i));
            const QString text = schema::shownText(value);
            if (table->fields[i].kind == schema::FieldKind::Date && !text.isEmpty() &&
                !schema::readDate(text))
                result.warnings << QStringLiteral("%1: the \"%2\" \"%3\" is no date; importing "
                                                  "this file will refuse it.")
                                       .arg(where(file, line), table->fields[i].name, text);
            fields << field(text, value.isNull());
        }
        const QString record = fields.join(kComma);
        out.write((record + crlf).toUtf8());
        line += 1 + lineBreaks(record, record.size());
        ++result.rows;
    }
    if (query.lastError().isValid()) {
        out.cancelWriting();
        return failure(engineMessage(QStringLiteral("The table \"%1\" of \"%2\" could not be read")
                                         .arg(table->name, databasePath),
                                     query.lastError(), u"; no file was written."));
    }
    query.finish();
    if (!out.commit())
        return failure(
            QStringLiteral("\"%1\" could not be written: %2.").arg(file, out.errorString()));
    result.ok = true;
    result.message = QStringLiteral("Exported %1 rows of the table \"%2\" to \"%3\".")
                         .arg(result.rows)
                         .arg(table->name, file);
    return result;
}

Result importTable(const QString &databasePath, const QString &tableName, const QString &file)
{
    const schema::Table *table = schema::findTable(tableName);
    if (!table)
        return failure(nothingImported(QStringLiteral("There is no table \"%1\"; the tables are "
                                                      "%2.")
                                           .arg(tableName, tableList())));
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return failure(nothingImported(
            QStringLiteral("\"%1\" could not be read: %2.").arg(file, in.errorString())));
    QString text;
    int badLine = 0;
    QString problem;
    if (!decode(in.readAll(), &text, &badLine, &problem))
        return failure(
            nothingImported(QStringLiteral("%1: %2.").arg(where(file, badLine), problem)));
    in.close();

    // The whole file is read and checked before the database is touched.
    Reader reader(text);
    Record header;
    Reader::Status status = reader.next(&header);
    if (status == Reader::Status::End)
        return failure(nothingImported(
            QStringLiteral("\"%1\" is empty: its first line must name the fields.").arg(file)));
    if (status == Reader::Status::Error)
        return failure(nothingImported(QStringLiteral("%1, field %2: %3.")
                                           .arg(where(file, reader.errorLine()))
                                           .arg(reader.errorField() + 1)
                                           .arg(reader.errorText())));

    QList<const schema::Field *> columns;
    QStringList names;
    for (qsizetype i = 0; i < header.fields.size(); ++i) {
        const QString name = header.fields[i].text.trimmed();
        if (name.isEmpty())
            return failure(
                nothingImported(QStringLiteral("%1, field %2: the header gives no field name.")
                                    .arg(where(file, header.fields[i].line))
                                    .arg(i + 1)));
        const schema::Field *known = schema::findField(*table, name);
        if (!known)
            return failure(nothingImported(
                QStringLiteral("%1, field \"%2\": \"%2\" is not a field of the table \"%3\". Its "
                               "fields are %4.")
                    .arg(where(file, header.fields[i].line), name, table->name,
                         fieldList(*table))));
        if (columns.contains(known))
            return failure(nothingImported(QStringLiteral("%1, field \"%2\": the field is named "
                                                          "twice.")
                                               .arg(where(file, header.fields[i].line), name)));
        columns << known;
        names << name;
    }

    struct Row
    {
        int line;
        QVariantList values;
    };
    QList<Row> rows;
    Record record;
    while ((status = reader.next(&record)) == Reader::Status::Record) {
        const qsizetype count = record.fields.size();
        if (count != columns.size()) {
            const QString which =
                count < columns.size()
                    ? QStringLiteral("the field \"%1\" is missing").arg(names[count])
                    : QStringLiteral("field %1 has no name in the header").arg(columns.size() + 1);
            return failure(nothingImported(
                QStringLiteral("%1: the record has %2, but the header names %3: %4.")
                    .arg(where(file, record.line), fieldCount(count), fieldCount(columns.size()),
                         which)));
        }
        Row row{record.line, {}};
        for (qsizetype i = 0; i < count; ++i) {
            const Field &f = record.fields[i];
            const schema::FieldKind kind = columns[i]->kind;
            if (f.text.isEmpty() && (!f.quoted || kind != schema::FieldKind::Text)) {
                // Nothing at all is null, as a box left empty; "" is the empty text.
                row.values << QVariant(QMetaType::fromType<QString>());
                continue;
            }
            if (kind == schema::FieldKind::Date && !schema::readDate(f.text))
                return failure(nothingImported(
                    QStringLiteral("%1, field \"%2\": \"%3\" is no date; write dates as "
                                   "2026-12-07.")
                        .arg(where(file, f.line), names[i], f.text)));
            row.values << schema::storedValue(kind, f.text);
        }
        rows << row;
    }
    if (status == Reader::Status::Error) {
        const int index = reader.errorField();
        const QString name = index < names.size() ? QStringLiteral("field \"%1\"").arg(names[index])
                                                  : QStringLiteral("field %1").arg(index + 1);
        return failure(
            nothingImported(QStringLiteral("%1, %2: %3.")
                                .arg(where(file, reader.errorLine()), name, reader.errorText())));
    }

    DbConnection connection;
    if (const DbError error = connection.open(databasePath, DbConnection::Mode::ReadWrite))
        return failure(nothingImported(error.message));
    QSqlDatabase &db = connection.db();
    QString actualTable;
    const QStringList actualNames = fileFields(db, *table, databasePath, &actualTable, &problem);
    if (actualNames.isEmpty())
        return failure(nothingImported(problem));

    QStringList quotedColumns, marks;
    for (const schema::Field *column : columns) {
        quotedColumns << schema::quoted(actualNames[column - table->fields.constData()]);
        marks << QStringLiteral("?");
    }
    Transaction transaction(db);
    if (!transaction.begin())
        return failure(nothingImported(engineFailure(databasePath, transaction.error(), true)));
    {
        QSqlQuery insert(db);
        if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(schema::quoted(actualTable), quotedColumns.join(kComma),
                                     marks.join(kComma))))
            return failure(nothingImported(engineMessage(
                QStringLiteral("The table \"%1\" could not be written").arg(table->name),
                insert.lastError())));
        for (const Row &row : rows) {
            // A value that SQLite would not keep exactly needs a statement of its own.
            QStringList exactMarks;
            for (const QVariant &value : row.values)
                exactMarks << placeholderFor(value);
            std::optional<QSqlQuery> own;
            if (exactMarks != marks) {
                own.emplace(db);
                own->prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                 .arg(schema::quoted(actualTable), quotedColumns.join(kComma),
                                      exactMarks.join(kComma)));
            }
            QSqlQuery &statement = own ? *own : insert;
            for (qsizetype i = 0; i < row.values.size(); ++i)
                statement.bindValue(int(i), bindable(row.values[i]));
            if (!statement.exec())
                return failure(nothingImported(engineMessage(
                    QStringLiteral("%1: the record could not be stored").arg(where(file, row.line)),
                    statement.lastError())));
        }
    }
    // Find seeks the imported keys case-folded, as it does those the program wrote.
    if (const QSqlError error = fillFoldedKeys(db, actualTable); error.isValid())
        return failure(nothingImported(engineFailure(databasePath, error, true)));
    if (!transaction.commit())
        return failure(nothingImported(engineFailure(databasePath, transaction.error(), true)));
    Result result;
    result.ok = true;
    result.rows = rows.size();
    result.message = QStringLiteral("Imported %1 rows into the table \"%2\" of \"%3\".")
                         .arg(result.rows)
                         .arg(table->name, databasePath);
    return result;
}

} // namespace vantora::csv
