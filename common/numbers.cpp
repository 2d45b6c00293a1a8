// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/numbers.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <system_error>

// Both directions use std::from_chars / std::to_chars: they round correctly and, unlike strtod and
// printf, never look at the C locale (which QCoreApplication sets from the environment, so a
// German system would otherwise expect and print ',').

namespace vantora {

namespace {

bool isBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\n' || u == u'\r';
}

int hexDigit(char16_t u)
{
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// Walks the text one character at a time, skipping blanks wherever they stand.
class Reader
{
public:
    explicit Reader(QStringView text)
        : m_text(text)
    {
        skipBlanks();
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    char16_t peek() const { return atEnd() ? u'\0' : m_text[m_pos].unicode(); }
    void next()
    {
        ++m_pos;
        skipBlanks();
    }

private:
    void skipBlanks()
    {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
            ++m_pos;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
};

// A whole number in base 16 (4 bits a digit) or 8 (3 bits a digit). However many digits there
// are, the result is the exact whole number rounded correctly to the nearest double, and inf when
// it is beyond the double's range, just as a decimal number with that many digits would read.
double readRadixWhole(Reader &in, int bitsPerDigit)
{
    const int radix = 1 << bitsPerDigit;
    // Enough leading digits that a nonzero first digit gives at least 55 bits: the double keeps
    // 53, the 54th decides the rounding and the lowest bit can stand in for everything dropped.
    const int keptDigits = 64 / bitsPerDigit;
    std::uint64_t kept = 0;
    int keptCount = 0;
    std::int64_t droppedDigits = 0;
    bool droppedNonzero = false;
    for (;;) {
        const int d = hexDigit(in.peek());
        if (d < 0 || d >= radix)
            break;
        in.next();
        if (keptCount == 0 && d == 0)
            continue; // leading zeros
        if (keptCount < keptDigits) {
            kept = (kept << bitsPerDigit) | std::uint64_t(d);
            ++keptCount;
        } else {
            ++droppedDigits;
            droppedNonzero = droppedNonzero || d != 0;
        }
    }
    if (droppedNonzero)
        kept |= 1; // sticky bit: breaks an exact tie upwards, as the dropped digits do
    if (droppedDigits > 4096)
        return kept == 0 ? 0.0 : HUGE_VAL;
    return std::ldexp(double(kept), int(droppedDigits * bitsPerDigit));
}

// Decimal digits with at most one decimal point ('.' or the given separator), then an optional
// exponent. Returns false when no digit stands before the exponent (".", "-", "e5"), which reads
// as 0.
bool readDecimal(Reader &in, bool negative, char16_t separator, double &result)
{
    std::string significant;        // the digits from the first nonzero one on
    std::int64_t integerDigits = 0; // significant digits before the point
    std::int64_t fractionZeros = 0; // zeros after the point before the first significant digit
    bool anyDigit = false;
    bool pointSeen = false;

    for (;;) {
        const char16_t u = in.peek();
        if (u >= u'0' && u <= u'9') {
            anyDigit = true;
            if (significant.empty() && u == u'0') {
                if (pointSeen)
                    ++fractionZeros;
            } else {
                significant.push_back(char(u));
                if (!pointSeen)
                    ++integerDigits;
            }
            in.next();
        } else if ((u == u'.' || u == separator) && !pointSeen) {
            pointSeen = true;
            in.next();
        } else {
            break;
        }
    }
    if (!anyDigit)
        return false;

    // Exponent: E or D, optional sign, digits; without digits it adds nothing ("1E+" reads 1).
    std::int64_t exponent = 0;
    const char16_t e = in.peek();
    if (e == u'E' || e == u'e' || e == u'D' || e == u'd') {
        in.next();
        bool expNegative = false;
        if (in.peek() == u'+' || in.peek() == u'-') {
            expNegative = in.peek() == u'-';
            in.next();
        }
        while (in.peek() >= u'0' && in.peek() <= u'9') {
            if (exponent < 1'000'000'000) // far beyond any double; saturate
                exponent = exponent * 10 + (in.peek() - u'0');
            in.next();
        }
        if (expNegative)
            exponent = -exponent;
    }

    while (!significant.empty() && significant.back() == '0')
        significant.pop_back();
    if (significant.empty()) {
        result = 0.0;
        return true;
    }
    // The power of ten of the first significant digit.
    const std::int64_t leadPower =
        (integerDigits > 0 ? integerDigits - 1 : -(fractionZeros + 1)) + exponent;

    double magnitude = 0.0;
    if (leadPower > 400) {
        magnitude = HUGE_VAL; // at least 10^401
    } else if (leadPower < -400) {
        magnitude = 0.0; // below 10^-400, far under the smallest double
    } else {
        // "0.<digits>e<power>": short exponent, correctly rounded whatever the digit count.
        std::string text = "0." + significant + 'e' + std::to_string(leadPower + 1);
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude,
                                               std::chars_format::scientific);
        if (ec == std::errc::result_out_of_range)
            magnitude = leadPower > 0 ? HUGE_VAL : 0.0;
        else if (ec != std::errc())
            magnitude = 0.0;
    }
    // Negative zero (from "-0" or an underflow) reads as plain 0.
    result = magnitude == 0.0 ? 0.0 : (negative ? -magnitude : magnitude);
    return true;
}

} // namespace

double parseNumber(QStringView text)
{
    return parseNumber(text, decimalPoint());
}

double parseNumber(QStringView text, QChar decimalSeparator)
{
    Reader in(text);
    if (in.peek() == u'&') {
        // &H and &O read unsigned whole numbers ("&HFFFF" is 65535); no sign may stand before them.
        in.next();
        const char16_t p = in.peek();
        if (p == u'H' || p == u'h') {
            in.next();
            return readRadixWhole(in, 4);
        }
        if (p == u'O' || p == u'o') {
            in.next();
            return readRadixWhole(in, 3);
        }
        return 0.0;
    }
    bool negative = false;
    if (in.peek() == u'+' || in.peek() == u'-') {
        negative = in.peek() == u'-';
        in.next();
    }
    double result = 0.0;
    if (!readDecimal(in, negative, decimalSeparator.unicode(), result))
        return 0.0;
    return result;
}

QChar decimalPoint()
{
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? QChar(u'.') : point.front();
}

QString formatNumber(double value)
{
    return formatNumber(value, decimalPoint());
}

QString formatNumber(double value, QChar decimalSeparator)
{
    // Callers only pass finite values (they check with checkedValue first); should inf or nan slip
    // through anyway, the empty text is written rather than a number that was never computed.
    if (!std::isfinite(value))
        return QString();
    if (value == 0.0)
        return QStringLiteral("0"); // also negative zero

    // 15 significant digits of the exact binary value, correctly rounded: "d.dddddddddddddde±x".
    char buf[64];
    const auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    if (ec != std::errc())
        return QString();
    const std::string_view text(buf, std::size_t(end - buf));
    const bool negative = text.front() == '-';
    const std::size_t ePos = text.find('e');
    std::string digits;
    for (char c : text.substr(negative ? 1 : 0, ePos - (negative ? 1 : 0)))
        if (c != '.')
            digits.push_back(c);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    int exponent = 0;
    {
        const std::string_view expText = text.substr(ePos + 1);
        const char *first = expText.data() + (expText.front() == '+' ? 1 : 0);
        std::from_chars(first, expText.data() + expText.size(), exponent);
    }
    const int fractionDigits = int(digits.size()) - 1;

    // Fixed form as the %G conversion chooses it (powers -4 to 14), and also for smaller numbers
    // as long as 15 decimals are enough to write them.
    const bool fixed =
        (exponent >= -4 && exponent < 15) || (exponent < 0 && -exponent + fractionDigits <= 15);

    std::string out;
    if (negative)
        out.push_back('-');
    if (fixed) {
        if (exponent < 0) {
            out += "0.";
            out.append(std::size_t(-exponent - 1), '0');
            out += digits;
        } else if (int(digits.size()) <= exponent + 1) {
            out += digits;
            out.append(std::size_t(exponent + 1 - int(digits.size())), '0');
        } else {
            out.append(digits, 0, std::size_t(exponent + 1));
            out.push_back('.');
            out.append(digits, std::size_t(exponent + 1));
        }
    } else {
        out.push_back(digits.front());
        if (digits.size() > 1) {
            out.push_back('.');
            out.append(digits, 1);
        }
        out.push_back('E');
        out.push_back(exponent < 0 ? '-' : '+');
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10)
            out.push_back('0');
        out += std::to_string(magnitude);
    }

    QString result = QString::fromLatin1(out.data(), qsizetype(out.size()));
    if (decimalSeparator != u'.')
        result.replace(u'.', decimalSeparator);
    return result;
}

double Int(double value)
{
    return std::floor(value);
}

Checked checkedDiv(double a, double b)
{
    // A zero divisor is reported as such, whatever the dividend.
    if (b == 0.0)
        return {0.0, a == 0.0 ? ArithError::ZeroByZero : ArithError::DivideByZero};
    if (!std::isfinite(a) || !std::isfinite(b))
        return {0.0, ArithError::Overflow};
    return checkedValue(a / b);
}

Checked checkedValue(double value)
{
    if (!std::isfinite(value))
        return {0.0, ArithError::Overflow};
    return {value, ArithError::None};
}

} // namespace vantora
