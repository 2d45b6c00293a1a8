// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/exchange/csv.h"

#include "data/store/bulkload.h"
#include "data/store/casefold.h"
#include "data/store/connection.h"
#include "data/store/foldedkeys.h"
#include "data/store/privatefiles.h"
#include "data/store/schema.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <sqlite3.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace vantora::csv {
namespace {

const QChar kQuote = QLatin1Char('"');
const QChar kComma = QLatin1Char(',');

// How many bytes a file is read at a time.
constexpr qint64 kPieceBytes = 256 * 1024;

// The offset of the first byte that is not part of UTF-8 text (a NUL byte counts as such:
// it marks a binary file), or -1. A character cut off at the end is no error when *cutOff is
// given: it is set to the number of its bytes there.
qsizetype firstInvalidByte(const QByteArray &bytes, qsizetype *cutOff = nullptr)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        // Plain ASCII without a NUL byte, eight bytes at a time.
        constexpr quint64 kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
        quint64 word = 0;
        if (i + 8 <= n &&
            (std::memcpy(&word, p + i, 8), ((word | ((word - kOnes) & ~word)) & kHighs) == 0)) {
            i += 8;
            continue;
        }
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
        if (i + length > n) {
            for (qsizetype k = i + 1; k < n; ++k)
                if ((p[k] & 0xC0) != 0x80)
                    return i;
            if (!cutOff)
                return i;
            *cutOff = n - i;
            return -1;
        }
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
    return QStringLiteral("\"%1\", line %2").arg(file, QString::number(line));
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

// A field's characters as Latin-1 in a buffer of the caller's, for the number readers: nothing
// for a text with other characters, or one longer than any number they would take.
std::optional<std::string_view> latinOf(QStringView text, char (&buffer)[64])
{
    if (text.size() >= qsizetype(sizeof buffer))
        return std::nullopt;
    const char16_t *chars = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (chars[i] >= 0x80)
            return std::nullopt;
        buffer[i] = char(chars[i]);
    }
    return std::string_view(buffer, std::size_t(text.size()));
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The number that a plain decimal text (-12, 3.25, 0.015) is stored as, or nothing for any
// other text. It is what the screens store for such a text, found without writing the number
// out again: a text of at most 15 significant digits, no leading zero, no trailing zero after
// the point and a magnitude from 0.0001 up to 10^15 shows back exactly as written. Imports of a
// million rows spend most of their time on that round trip otherwise.
std::optional<double> plainNumber(std::string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && text[i] == '-')
        ++i;
    const std::size_t start = i;
    int digits = 0;          // significant ones
    int intDigits = 0;       // before the point
    int zerosAfterPoint = 0; // before the first significant digit of a number below 1
    while (i < n && isDigit(text[i])) {
        ++intDigits;
        ++i;
    }
    if (intDigits == 0 || (intDigits > 1 && text[start] == '0'))
        return std::nullopt;
    const bool belowOne = text[start] == '0';
    digits = belowOne ? 0 : intDigits;
    if (i < n) {
        if (text[i] != '.' || i + 1 == n || text[n - 1] == '0')
            return std::nullopt;
        for (++i; i < n; ++i) {
            if (!isDigit(text[i]))
                return std::nullopt;
            if (digits == 0 && text[i] == '0')
                ++zerosAfterPoint;
            else
                ++digits;
        }
    }
    if (digits > 15 || intDigits > 15 || zerosAfterPoint > 3 ||
        (belowOne && digits == 0 && start > 0))
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + n, value);
    if (error != std::errc() || end != text.data() + n)
        return std::nullopt;
    return value;
}

// The shortest text that reads back to the same double, written into the buffer; one that
// would look like an integer gets ".0", so that an import tells it from one. Its length, or 0
// when it does not fit.
std::size_t exactChars(double value, char (&buffer)[32])
{
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer - 2, value);
    if (error != std::errc())
        return 0;
    std::size_t length = std::size_t(end - buffer);
    if (std::isfinite(value) &&
        std::string_view(buffer, length).find_first_of(".e") == std::string_view::npos) {
        buffer[length++] = '.';
        buffer[length++] = '0';
    }
    return length;
}

// What a file's number field is stored as: an integer written as one (42, 12345678901234567)
// as that integer, a number as the screens store it or as the export writes a double (the
// shortest text that reads back to it) as that double; any other text as the screens store
// it (nothing here: the caller asks storedValue).
struct FileNumber
{
    enum Kind { Integer, Real, Other } kind = Other;
    qint64 whole = 0;
    double real = 0;
};

FileNumber fileNumber(QStringView field)
{
    char buffer[64];
    const std::optional<std::string_view> latin = latinOf(field, buffer);
    if (!latin || latin->empty())
        return {};
    const std::string_view text = *latin;
    const char *first = text.data(), *last = first + text.size();
    const char *digits = first + (text.front() == '-' ? 1 : 0);
    const bool canonical = digits < last && (*digits != '0' || digits + 1 == last) &&
                           !(digits > first && *digits == '0');
    if (canonical && std::all_of(digits, last, isDigit)) {
        qint64 whole = 0;
        const auto [end, error] = std::from_chars(first, last, whole);
        if (error == std::errc() && end == last)
            return {FileNumber::Integer, whole, 0};
    }
    if (const std::optional<double> number = plainNumber(text))
        return {FileNumber::Real, 0, *number};
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    char exact[32];
    if (error == std::errc() && end == last && std::isfinite(value) &&
        std::string_view(exact, exactChars(value, exact)) == text)
        return {FileNumber::Real, 0, value};
    return {};
}

// A text as UTF-8 in a buffer used again for each value: a million rows allocate nothing.
void toUtf8(QStringView text, std::string *out)
{
    // A UTF-16 unit takes three bytes at most, a pair of them four.
    out->resize(std::size_t(text.size()) * 3);
    char *p = out->data();
    const char16_t *s = text.utf16(), *end = s + text.size();
    while (s < end) {
        char32_t c = *s++;
        if (c < 0x80) {
            *p++ = char(c);
            continue;
        }
        if (c < 0x800) {
            *p++ = char(0xC0 | (c >> 6));
            *p++ = char(0x80 | (c & 0x3F));
            continue;
        }
        if (c >= 0xD800 && c < 0xDC00 && s < end && *s >= 0xDC00 && *s < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(*s++) - 0xDC00);
            *p++ = char(0xF0 | (c >> 18));
            *p++ = char(0x80 | ((c >> 12) & 0x3F));
            *p++ = char(0x80 | ((c >> 6) & 0x3F));
            *p++ = char(0x80 | (c & 0x3F));
            continue;
        }
        if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD; // half a pair, as Qt writes it
        *p++ = char(0xE0 | (c >> 12));
        *p++ = char(0x80 | ((c >> 6) & 0x3F));
        *p++ = char(0x80 | (c & 0x3F));
    }
    out->resize(std::size_t(p - out->data()));
}

// One prepared INSERT, run through SQLite itself on the connection's own handle: a million rows
// through Qt's driver take several times as long, in binding the values alone. Each value's
// text waits in a buffer of its own until the row is stored.
class Insert
{
public:
    Insert(QSqlDatabase &db, const QString &sql, int values)
        : m_db(sqliteHandle(db))
        , m_texts(std::size_t(values))
    {
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &m_statement, nullptr) !=
            SQLITE_OK)
            noteError();
    }
    ~Insert() { sqlite3_finalize(m_statement); }
    Q_DISABLE_COPY_MOVE(Insert)

    QSqlError error() const { return m_error; }
    // Values are bound as Qt's driver binds them: null, an integer, a double, or text.
    void bindNull(int index) { sqlite3_bind_null(m_statement, index + 1); }
    void bind(int index, double value) { sqlite3_bind_double(m_statement, index + 1, value); }
    void bind(int index, qint64 value) { sqlite3_bind_int64(m_statement, index + 1, value); }
    void bind(int index, QStringView text)
    {
        // UTF-8, the file's own encoding: SQLite translates UTF-16 far more slowly.
        std::string &utf8 = m_texts[std::size_t(index)];
        toUtf8(text, &utf8);
        sqlite3_bind_text(m_statement, index + 1, utf8.data(), int(utf8.size()), SQLITE_STATIC);
    }
    void bind(int index, const QVariant &value)
    {
        if (value.isNull())
            bindNull(index);
        else if (value.typeId() == QMetaType::Double)
            bind(index, value.toDouble());
        else if (value.typeId() == QMetaType::LongLong)
            bind(index, qint64(value.toLongLong()));
        else
            bind(index, QStringView(value.toString()));
    }
    // The key case-folded, for its folded column.
    void bindFolded(int index, QStringView key)
    {
        fullCaseFold(key, &m_folded);
        bind(index, QStringView(m_folded));
    }
    bool exec()
    {
        const int rc = sqlite3_step(m_statement);
        sqlite3_reset(m_statement);
        if (rc == SQLITE_DONE)
            return true;
        noteError();
        return false;
    }

private:
    void noteError()
    {
        m_error = QSqlError(QStringLiteral("Unable to execute statement"),
                            QString::fromUtf8(sqlite3_errmsg(m_db)), QSqlError::StatementError,
                            QString::number(sqlite3_extended_errcode(m_db)));
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_statement = nullptr;
    std::vector<std::string> m_texts;
    QString m_folded;
    QSqlError m_error;
};

} // namespace

FileWatch::State FileWatch::stateOf(int handle)
{
    struct stat info
    {
    };
    if (::fstat(handle, &info) != 0)
        return {};
    return {qint64(info.st_dev), qint64(info.st_ino), qint64(info.st_size),
            qint64(info.st_mtim.tv_sec), qint64(info.st_mtim.tv_nsec)};
}

FileWatch::State FileWatch::stateOf(const QString &path)
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {qint64(info.st_dev), qint64(info.st_ino), qint64(info.st_size),
            qint64(info.st_mtim.tv_sec), qint64(info.st_mtim.tv_nsec)};
}

FileWatch::FileWatch(QFileDevice &open)
    : m_file(open)
    , m_path(open.fileName())
{
    struct stat info
    {
    };
    m_plain = ::fstat(open.handle(), &info) == 0 && S_ISREG(info.st_mode);
    m_before = stateOf(open.handle());
}

bool FileWatch::changed() const
{
    return m_plain && (stateOf(m_file.handle()) != m_before || stateOf(m_path) != m_before);
}

QString FileWatch::changedText() const
{
    return QStringLiteral("\"%1\" changed while it was read (is it still being written?). Import "
                          "it again once it is complete.")
        .arg(m_path);
}

QString quoteOf(QStringView text)
{
    constexpr qsizetype kLongest = 40;
    if (text.size() <= kLongest)
        return text.toString();
    return text.left(kLongest).toString() + QStringLiteral("…");
}

Reader::Reader(QIODevice *device)
    : m_device(device)
{
}

Reader::Status Reader::fail(int line, int field, const QString &text)
{
    m_errorLine = line;
    m_errorField = field;
    m_errorText = text;
    return Status::Error;
}

void Reader::setLimits(qsizetype lineChars, qsizetype fieldChars, qsizetype fields)
{
    m_lineLimit = lineChars;
    m_fieldLimit = fieldChars;
    m_fieldsLimit = fields;
}

static QString sizeText(qsizetype chars)
{
    return chars % (1024 * 1024) == 0 ? QStringLiteral("%1 MiB").arg(chars / (1024 * 1024))
                                      : QStringLiteral("%1 characters").arg(chars);
}

// A record is held whole while it is read: one that would not end (an endless line through a
// pipe) stops the reading instead of taking all memory.
bool Reader::beyondLimits()
{
    const qsizetype at = m_dropped + m_pos;
    QString what;
    if (m_lineLimit > 0 && at - m_recordStart > m_lineLimit)
        what = QStringLiteral("line %1 is longer than %2")
                   .arg(QString::number(m_recordLine), sizeText(m_lineLimit));
    else if (m_fieldLimit > 0 && at - m_fieldStart > m_fieldLimit)
        what = QStringLiteral("line %1 is longer than %2 in field %3")
                   .arg(QString::number(m_recordLine), sizeText(m_fieldLimit),
                        QString::number(m_fieldIndex + 1));
    else
        return false;
    m_bad = true;
    m_tooLong = true;
    fail(m_recordLine, -1, what + QStringLiteral("; the reading stopped there"));
    return true;
}

void Reader::dropRead()
{
    // What lies before the position is in the fields already. It is moved down by hand: a
    // removal from the front would leave its room there, and the next piece would allocate.
    if (m_pos > kPieceBytes) {
        QChar *text = m_text.data();
        std::copy(text + m_pos, text + m_text.size(), text);
        m_text.truncate(m_text.size() - m_pos);
        m_dropped += m_pos;
        m_pos = 0;
    }
}

bool Reader::readMore()
{
    if (beyondLimits())
        return false;
    dropRead();
    while (!m_bad) {
        // The piece goes after the start of a character that the last one cut off; both
        // buffers are kept from piece to piece.
        const qsizetype kept = m_undecoded.size();
        m_undecoded.resize(kept + kPieceBytes);
        const qint64 read = m_device->read(m_undecoded.data() + kept, kPieceBytes);
        m_undecoded.resize(kept + std::max<qint64>(read, 0));
        const auto *file = qobject_cast<QFileDevice *>(m_device);
        if (read <= 0 && file && file->error() != QFileDevice::NoError) {
            m_bad = true;
            fail(m_byteLine, -1,
                 QStringLiteral("the file could not be read to its end (%1)")
                     .arg(m_device->errorString()));
            return false;
        }
        const bool end = read <= 0;
        QByteArray &bytes = m_undecoded;
        if (!m_started) {
            m_started = true;
            if (bytes.startsWith("\xEF\xBB\xBF"))
                bytes.remove(0, 3);
        }
        qsizetype cutOff = 0;
        const qsizetype bad = firstInvalidByte(bytes, end ? nullptr : &cutOff);
        const qsizetype good = bad >= 0 ? bad : bytes.size() - cutOff;
        // Lines end with CRLF, LF or a lone CR, also where a piece ends between CR and LF.
        const char *b = bytes.constData();
        if (!m_carriageReturn && !std::memchr(b, '\r', std::size_t(good))) {
            m_byteLine += int(std::count(b, b + good, '\n'));
        } else {
            for (qsizetype i = 0; i < good; ++i) {
                if (m_carriageReturn && b[i] != '\n')
                    ++m_byteLine;
                m_carriageReturn = b[i] == '\r';
                if (b[i] == '\n')
                    ++m_byteLine;
            }
        }
        if (bad >= 0) {
            m_bad = true;
            const int line = m_byteLine + (m_carriageReturn ? 1 : 0);
            fail(line, -1,
                 bytes.at(bad) == 0
                     ? QStringLiteral("the file holds a NUL byte: it is no text file")
                     : QStringLiteral("the file is not UTF-8 text (byte 0x%1 at this line)")
                           .arg(uint(static_cast<unsigned char>(bytes.at(bad))), 2, 16,
                                QLatin1Char('0')));
            return false;
        }
        if (good > 0) {
            const qsizetype at = m_text.size();
            m_text.resize(at + good); // UTF-8 never takes fewer units than UTF-16
            QChar *out = m_decoder.appendToBuffer(m_text.data() + at, QByteArrayView(b, good));
            m_text.truncate(out - m_text.constData());
        }
        const qsizetype rest = bytes.size() - good;
        std::memmove(bytes.data(), bytes.constData() + good, std::size_t(rest));
        bytes.resize(rest);
        if (good > 0)
            return true;
        if (end)
            return false;
    }
    return false;
}

bool Reader::has(qsizetype ahead)
{
    while (m_pos + ahead >= m_text.size())
        if (!readMore())
            return false;
    return true;
}

bool Reader::atLineBreak()
{
    return has(0) &&
           (m_text.at(m_pos) == QLatin1Char('\n') || m_text.at(m_pos) == QLatin1Char('\r'));
}

int Reader::skipLineBreak()
{
    int skipped = 1;
    if (m_text.at(m_pos) == QLatin1Char('\r') && has(1) &&
        m_text.at(m_pos + 1) == QLatin1Char('\n')) {
        ++m_pos;
        skipped = 2;
    }
    ++m_pos;
    ++m_line;
    return skipped;
}

Reader::Status Reader::next(Record *record)
{
    dropRead();
    qsizetype count = 0;
    m_recordStart = m_fieldStart = m_dropped + m_pos;
    m_recordLine = m_line;
    while (atLineBreak())
        skipLineBreak();
    if (m_bad)
        return Status::Error;
    if (!has(0))
        return Status::End;
    record->line = m_line;
    for (;;) {
        if (count == record->fields.size())
            record->fields.emplace_back();
        Field &field = record->fields[count];
        field.text.truncate(0);
        field.quoted = false;
        field.line = m_line;
        const int index = int(count);
        m_fieldStart = m_dropped + m_pos;
        m_fieldIndex = count;
        if (m_fieldsLimit > 0 && count >= m_fieldsLimit) {
            m_bad = m_tooLong = true;
            return fail(m_recordLine, -1,
                        QStringLiteral("line %1 holds more than %2 fields; the reading stopped "
                                       "there")
                            .arg(QString::number(m_recordLine), QString::number(m_fieldsLimit)));
        }
        if (has(0) && m_text.at(m_pos) == kQuote) {
            field.quoted = true;
            ++m_pos;
            for (;;) {
                if (!has(0)) {
                    if (m_bad)
                        return Status::Error;
                    return fail(field.line, index,
                                QStringLiteral("the quoted value that starts here has no closing "
                                               "quote (\")"));
                }
                const qsizetype start = m_pos;
                while (m_pos < m_text.size() && m_text.at(m_pos) != kQuote &&
                       m_text.at(m_pos) != QLatin1Char('\n') &&
                       m_text.at(m_pos) != QLatin1Char('\r'))
                    ++m_pos;
                field.text += QStringView(m_text).mid(start, m_pos - start);
                if (m_pos == m_text.size())
                    continue;
                if (m_text.at(m_pos) == kQuote) {
                    if (has(1) && m_text.at(m_pos + 1) == kQuote) {
                        field.text += kQuote;
                        m_pos += 2;
                        continue;
                    }
                    if (m_bad)
                        return Status::Error;
                    ++m_pos;
                    break;
                }
                const QChar lineBreak = m_text.at(m_pos);
                if (skipLineBreak() == 2)
                    field.text += QLatin1String("\r\n");
                else
                    field.text += lineBreak;
            }
            if (has(0) && m_text.at(m_pos) != kComma && !atLineBreak())
                return fail(m_line, index,
                            QStringLiteral("text follows the closing quote; a quote inside a "
                                           "quoted value is written twice (\"\")"));
        } else {
            // A quote inside an unquoted value is taken as it stands (5" floppy).
            while (has(0)) {
                const qsizetype start = m_pos;
                while (m_pos < m_text.size() && m_text.at(m_pos) != kComma &&
                       m_text.at(m_pos) != QLatin1Char('\n') &&
                       m_text.at(m_pos) != QLatin1Char('\r'))
                    ++m_pos;
                field.text += QStringView(m_text).mid(start, m_pos - start);
                if (m_pos < m_text.size())
                    break;
            }
        }
        if (m_bad)
            return Status::Error;
        ++count;
        if (has(0) && m_text.at(m_pos) == kComma) {
            ++m_pos;
            continue;
        }
        if (m_bad)
            return Status::Error;
        if (has(0))
            skipLineBreak();
        record->fields.resize(count);
        return Status::Record;
    }
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

namespace {

// The engine's last error on a connection, as Qt's driver would give it.
QSqlError engineError(sqlite3 *handle)
{
    return QSqlError(QStringLiteral("Unable to fetch row"),
                     QString::fromUtf8(sqlite3_errmsg(handle)), QSqlError::StatementError,
                     QString::number(sqlite3_extended_errcode(handle)));
}

// The rows of one statement, stepped by the caller.
class Rows
{
public:
    Rows(sqlite3 *handle, const QString &sql)
    {
        const QByteArray utf8 = sql.toUtf8();
        m_ok = handle && sqlite3_prepare_v2(handle, utf8.constData(), int(utf8.size()),
                                            &m_statement, nullptr) == SQLITE_OK;
    }
    ~Rows() { finish(); }
    Q_DISABLE_COPY_MOVE(Rows)
    bool ok() const { return m_ok; }
    sqlite3_stmt *get() const { return m_statement; }
    void finish()
    {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
    }

private:
    sqlite3_stmt *m_statement = nullptr;
    bool m_ok = false;
};

// The first or the last character of UTF-8 text, or U+FFFD where its bytes are no character.
char32_t edgeCharacter(std::string_view text, bool last)
{
    std::size_t start = 0;
    if (last) {
        start = text.size() - 1;
        while (start > 0 && text.size() - start < 4 &&
               (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
            --start;
    }
    const QString character = QString::fromUtf8(
        text.data() + start, qsizetype(std::min<std::size_t>(4, text.size() - start)));
    if (character.isEmpty())
        return 0xFFFD;
    const char32_t first = character.at(0).unicode();
    if (QChar::isHighSurrogate(first) && character.size() > 1)
        return QChar::surrogateToUcs4(character.at(0), character.at(1));
    return first;
}

bool spaceAtEdge(std::string_view text, bool last)
{
    const auto c = static_cast<unsigned char>(last ? text.back() : text.front());
    if (c < 0x80)
        return QChar::isSpace(char32_t(c));
    return QChar::isSpace(edgeCharacter(text, last));
}

// Appends a stored text as a field: quoted when it is the empty text or holds a comma, a quote,
// a line break or spaces at either end. Bytes that are no UTF-8 are written as Qt reads them
// (each as U+FFFD). The line breaks it holds, counted as the reader counts them.
int appendText(QByteArray *out, std::string_view text)
{
    const QByteArray raw = QByteArray::fromRawData(text.data(), qsizetype(text.size()));
    if (firstInvalidByte(raw) >= 0 && text.find('\0') == std::string_view::npos) {
        const QByteArray mended = QString::fromUtf8(raw).toUtf8();
        return appendText(out, std::string_view(mended.constData(), std::size_t(mended.size())));
    }
    const bool needsQuotes = text.empty() ||
                             text.find_first_of(",\"\r\n") != std::string_view::npos ||
                             spaceAtEdge(text, false) || spaceAtEdge(text, true);
    if (!needsQuotes) {
        out->append(text.data(), qsizetype(text.size()));
        return 0;
    }
    int breaks = 0;
    *out += '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"')
            *out += '"';
        else if (c == '\n' || (c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++breaks;
        *out += c;
    }
    *out += '"';
    return breaks;
}

// Whether a stored date field reads back as a date: an ISO date at once, any other text as
// the import reads it.
bool isDate(std::string_view text)
{
    const auto digits = [&](std::size_t from, std::size_t n, int *value) {
        *value = 0;
        for (std::size_t i = from; i < from + n; ++i) {
            if (!isDigit(text[i]))
                return false;
            *value = *value * 10 + (text[i] - '0');
        }
        return true;
    };
    int year = 0, month = 0, day = 0;
    if (text.size() == 10 && text[4] == '-' && text[7] == '-' && digits(0, 4, &year) &&
        digits(5, 2, &month) && digits(8, 2, &day) && QDate(year, month, day).isValid())
        return true;
    return schema::readDate(QString::fromUtf8(text.data(), qsizetype(text.size()))).has_value();
}

} // namespace

Result exportTable(const QString &databasePath, const QString &tableName, const QString &file)
{
    const schema::Table *table = schema::findTable(tableName);
    if (!table)
        return failure(QStringLiteral("There is no table \"%1\"; the tables are %2.")
                           .arg(tableName, tableList()));
    if (nameTaken(file))
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
    // Read through SQLite itself and written as the bytes come: the rows are the file's whole
    // cost, and Qt's row fetch and number texts would take most of it.
    sqlite3 *handle = sqliteHandle(connection.db());
    const QString readFailure = QStringLiteral("The table \"%1\" of \"%2\" could not be read")
                                    .arg(table->name, databasePath);
    Rows rows(handle, QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                          .arg(columns.join(kComma), schema::quoted(actualTable)));
    if (!rows.ok())
        return failure(engineMessage(readFailure, engineError(handle)));

    // Private, like the database it comes from; it appears whole or not at all.
    NewPrivateFile out(file);
    if (!out.open())
        return failure(
            QStringLiteral("\"%1\" could not be written: %2.").arg(file, out.errorString()));
    QByteArray buffer = (header.join(kComma) + QStringLiteral("\r\n")).toUtf8();
    buffer.reserve(kPieceBytes * 4);

    Result result;
    int line = 2;
    int rc = SQLITE_ROW;
    const int count = int(names.size());
    while ((rc = sqlite3_step(rows.get())) == SQLITE_ROW) {
        int breaks = 0;
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                buffer += ',';
            sqlite3_stmt *row = rows.get();
            const int type = sqlite3_column_type(row, i);
            if (type == SQLITE_BLOB) {
                // Bytes another program wrote: no text of a CSV file reads back as them.
                out.cancel();
                return failure(
                    QStringLiteral("The field \"%1\" of row %2 of the table \"%3\" "
                                   "holds bytes (a blob), which a CSV file cannot "
                                   "give back as they are; no file was written.")
                        .arg(table->fields[i].name, QString::number(result.rows + 1), table->name));
            }
            if (type == SQLITE_NULL)
                continue;
            // Numbers exactly: the shortest text that reads back to the same double, integers
            // as integers.
            char number[32];
            std::string_view text;
            if (type == SQLITE_INTEGER) {
                const auto [end, error] =
                    std::to_chars(number, number + sizeof number, sqlite3_column_int64(row, i));
                text = std::string_view(number, std::size_t(end - number));
            } else if (type == SQLITE_FLOAT) {
                const double value = sqlite3_column_double(row, i);
                const std::size_t length = exactChars(value, number);
                text = length ? std::string_view(number, length) : std::string_view("nan");
            } else {
                const auto *chars = reinterpret_cast<const char *>(sqlite3_column_text(row, i));
                text = std::string_view(chars, std::size_t(sqlite3_column_bytes(row, i)));
            }
            if (table->fields[i].kind == schema::FieldKind::Date && !text.empty() && !isDate(text))
                result.warnings << QStringLiteral("%1: the \"%2\" \"%3\" is no date; importing "
                                                  "this file will refuse it.")
                                       .arg(where(file, line), table->fields[i].name,
                                            QString::fromUtf8(text.data(), qsizetype(text.size())));
            if (type == SQLITE_TEXT)
                breaks += appendText(&buffer, text);
            else
                buffer.append(text.data(), qsizetype(text.size()));
        }
        buffer += "\r\n";
        if (buffer.size() >= kPieceBytes * 4) {
            out.write(buffer);
            buffer.resize(0);
        }
        line += 1 + breaks;
        ++result.rows;
    }
    if (rc != SQLITE_DONE) {
        out.cancel();
        return failure(engineMessage(readFailure, engineError(handle), u"; no file was written."));
    }
    out.write(buffer);
    rows.finish();
    if (!out.commit())
        return failure(
            QStringLiteral("\"%1\" could not be written: %2.").arg(file, out.errorString()));
    result.ok = true;
    result.message = QStringLiteral("Exported %1 rows of the table \"%2\" to \"%3\".")
                         .arg(QString::number(result.rows), table->name, file);
    return result;
}

namespace {

// How much of a table's file is held at most: a field of 64 MiB (a note pasted whole is far
// less), and no more fields to a record than the header may name.
constexpr qsizetype kFieldChars = 64 * 1024 * 1024;
constexpr qsizetype kFieldsOfAHeader = 1000;

// One import of a file into a table: its steps, and the reading they share.
class TableImport
{
public:
    TableImport(const QString &databasePath, const schema::Table &table, const QString &file)
        : m_path(databasePath)
        , m_table(table)
        , m_file(file)
        , m_in(file)
        , m_reader(&m_in)
    {
    }
    Q_DISABLE_COPY_MOVE(TableImport)

    Result run();

private:
    // The file opened and its header read into the columns it names.
    std::optional<QString> readHeader();
    // One record's fields bound to the insert; the refusal, if any.
    std::optional<QString> bindRecord(const Record &record, Insert &insert);
    std::optional<QString> readerFailure() const;
    Result refuse(const QString &message) const
    {
        return failure(
            nothingImported(m_watch && m_watch->changed() ? m_watch->changedText() : message));
    }

    const QString m_path;
    const schema::Table &m_table;
    const QString m_file;
    QFile m_in;
    Reader m_reader;
    std::optional<FileWatch> m_watch;
    QList<const schema::Field *> m_columns;
    QStringList m_names;
    // The folded keys written with the rows: the place of each in the insert, and of its key.
    QList<std::pair<int, int>> m_folded;
};

std::optional<QString> TableImport::readerFailure() const
{
    const int index = m_reader.errorField();
    if (index < 0)
        return QStringLiteral("%1: %2.").arg(where(m_file, m_reader.errorLine()),
                                             m_reader.errorText());
    const QString name = index < m_names.size() ? QStringLiteral("field \"%1\"").arg(m_names[index])
                                                : QStringLiteral("field %1").arg(index + 1);
    return QStringLiteral("%1, %2: %3.")
        .arg(where(m_file, m_reader.errorLine()), name, m_reader.errorText());
}

std::optional<QString> TableImport::readHeader()
{
    if (!m_in.open(QIODevice::ReadOnly))
        return QStringLiteral("\"%1\" could not be read: %2.").arg(m_file, m_in.errorString());
    m_watch.emplace(m_in);
    m_reader.setLimits(0, kFieldChars, kFieldsOfAHeader);
    Record header;
    const Reader::Status status = m_reader.next(&header);
    if (status == Reader::Status::End)
        return QStringLiteral("\"%1\" is empty: its first line must name the fields.").arg(m_file);
    if (status == Reader::Status::Error)
        return readerFailure();
    for (qsizetype i = 0; i < header.fields.size(); ++i) {
        const QString name = header.fields[i].text.trimmed();
        const QString at = where(m_file, header.fields[i].line);
        if (name.isEmpty())
            return QStringLiteral("%1, field %2: the header gives no field name.")
                .arg(at, QString::number(i + 1));
        const schema::Field *known = schema::findField(m_table, name);
        if (!known)
            return QStringLiteral("%1, field \"%2\": \"%2\" is not a field of the table \"%3\". "
                                  "Its fields are %4.")
                .arg(at, quoteOf(name), m_table.name, fieldList(m_table));
        if (m_columns.contains(known))
            return QStringLiteral("%1, field \"%2\": the field is named twice.").arg(at, name);
        m_columns << known;
        m_names << name;
    }
    // A record with more fields than the header names is refused at the first one too many.
    m_reader.setLimits(0, kFieldChars, m_columns.size() + 1);
    return std::nullopt;
}

std::optional<QString> TableImport::bindRecord(const Record &record, Insert &insert)
{
    const qsizetype count = record.fields.size();
    if (count != m_columns.size()) {
        const QString which =
            count < m_columns.size()
                ? QStringLiteral("the field \"%1\" is missing").arg(m_names[count])
                : QStringLiteral("field %1 has no name in the header").arg(m_columns.size() + 1);
        return QStringLiteral("%1: the record has %2, but the header names %3: %4.")
            .arg(where(m_file, record.line), fieldCount(count), fieldCount(m_columns.size()),
                 which);
    }
    for (qsizetype i = 0; i < count; ++i) {
        const Field &f = record.fields[i];
        const schema::FieldKind kind = m_columns[i]->kind;
        if (f.text.isEmpty() && (!f.quoted || kind != schema::FieldKind::Text)) {
            // Nothing at all is null, as a box left empty; "" is the empty text.
            insert.bindNull(int(i));
            continue;
        }
        if (kind == schema::FieldKind::Number) {
            const FileNumber number = fileNumber(f.text);
            if (number.kind == FileNumber::Integer)
                insert.bind(int(i), number.whole);
            else if (number.kind == FileNumber::Real)
                insert.bind(int(i), number.real);
            else
                insert.bind(int(i), schema::storedValue(kind, f.text));
            continue;
        }
        if (kind == schema::FieldKind::Date && !schema::readDate(f.text))
            return QStringLiteral("%1, field \"%2\": \"%3\" is no date; write dates as "
                                  "2026-12-07.")
                .arg(where(m_file, f.line), m_names[i], quoteOf(f.text));
        if (kind == schema::FieldKind::Text)
            insert.bind(int(i), QStringView(f.text));
        else
            insert.bind(int(i), schema::storedValue(kind, f.text));
    }
    // Find seeks the keys case-folded: they are written with the row, not in a pass after it.
    for (const auto &[place, key] : std::as_const(m_folded)) {
        const Field &f = record.fields[key];
        if (f.text.isEmpty() && !f.quoted)
            insert.bindNull(place);
        else
            insert.bindFolded(place, f.text);
    }
    return std::nullopt;
}

Result TableImport::run()
{
    if (std::optional<QString> refusal = readHeader())
        return refuse(*refusal);

    DbConnection connection;
    if (const DbError error = connection.open(m_path, DbConnection::Mode::ReadWrite))
        return failure(nothingImported(error.message));
    QSqlDatabase &db = connection.db();
    QString actualTable, problem;
    const QStringList actualNames = fileFields(db, m_table, m_path, &actualTable, &problem);
    if (actualNames.isEmpty())
        return failure(nothingImported(problem));
    QStringList quotedColumns, marks;
    for (const schema::Field *column : std::as_const(m_columns)) {
        quotedColumns << schema::quoted(actualNames[column - m_table.fields.constData()]);
        marks << QStringLiteral("?");
    }
    const QStringList stored = readTableColumns(db, actualTable).columns;
    for (const schema::FoldedKey &key : m_table.foldedKeys) {
        const qsizetype source = m_columns.indexOf(schema::findField(m_table, key.field));
        const auto column = std::find_if(stored.cbegin(), stored.cend(), [&](const QString &c) {
            return c.compare(key.column, Qt::CaseInsensitive) == 0;
        });
        if (source < 0 || column == stored.cend())
            continue;
        m_folded.emplace_back(int(quotedColumns.size()), int(source));
        quotedColumns << schema::quoted(*column);
        marks << QStringLiteral("?");
    }

    // One transaction for the whole file, rolled back by any refusal below.
    Transaction transaction(db);
    if (!transaction.begin())
        return failure(nothingImported(engineFailure(m_path, transaction.error(), true)));
    // A large file is loaded with the indexes set aside, and they are made again at its end.
    BulkLoad bulk(db, actualTable);
    if (const QSqlError error = bulk.start(); error.isValid())
        return failure(nothingImported(engineFailure(m_path, error, true)));
    Result result;
    {
        Insert insert(
            db,
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(schema::quoted(actualTable), quotedColumns.join(kComma), marks.join(kComma)),
            int(quotedColumns.size()));
        if (insert.error().isValid())
            return failure(nothingImported(engineMessage(
                QStringLiteral("The table \"%1\" could not be written").arg(m_table.name),
                insert.error())));
        Record record;
        Reader::Status status;
        while ((status = m_reader.next(&record)) == Reader::Status::Record) {
            if (std::optional<QString> refusal = bindRecord(record, insert))
                return refuse(*refusal);
            if (!insert.exec())
                return failure(nothingImported(
                    engineMessage(QStringLiteral("%1: the record could not be stored")
                                      .arg(where(m_file, record.line)),
                                  insert.error())));
            ++result.rows;
            if (const QSqlError error = bulk.rowLoaded(); error.isValid())
                return failure(nothingImported(engineFailure(m_path, error, true)));
        }
        if (status == Reader::Status::Error)
            return refuse(*readerFailure());
    }
    if (m_watch->changed())
        return failure(nothingImported(m_watch->changedText()));
    if (const QSqlError error = bulk.finish(); error.isValid())
        return failure(nothingImported(engineFailure(m_path, error, true)));
    // Rows stored before without their folded keys get them now.
    if (const QSqlError error = fillFoldedKeys(db, actualTable); error.isValid())
        return failure(nothingImported(engineFailure(m_path, error, true)));
    if (!transaction.commit())
        return failure(nothingImported(engineFailure(m_path, transaction.error(), true)));
    result.ok = true;
    result.message = QStringLiteral("Imported %1 rows into the table \"%2\" of \"%3\".")
                         .arg(QString::number(result.rows), m_table.name, m_path);
    return result;
}

} // namespace

Result importTable(const QString &databasePath, const QString &tableName, const QString &file)
{
    const schema::Table *table = schema::findTable(tableName);
    if (!table)
        return failure(nothingImported(QStringLiteral("There is no table \"%1\"; the tables are "
                                                      "%2.")
                                           .arg(tableName, tableList())));
    TableImport import(databasePath, *table, file);
    return import.run();
}

} // namespace vantora::csv
