// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/numbers.h"
#include "tests/support/coresupport.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <cctype>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

using namespace vantora;

Q_DECLARE_METATYPE(vantora::ArithError)

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Exact comparison (QCOMPARE on doubles is fuzzy); zero must be the plain, positive zero.
bool sameDouble(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

QByteArray describe(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

// Runs a C-library conversion in the "C" numeric locale, whatever the process has set.
class CNumericLocale
{
public:
    CNumericLocale()
        : m_saved(std::setlocale(LC_NUMERIC, nullptr))
    {
        std::setlocale(LC_NUMERIC, "C");
    }
    ~CNumericLocale() { std::setlocale(LC_NUMERIC, m_saved.c_str()); }

private:
    std::string m_saved;
};

} // namespace

class TstNumbers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void parseWithSeparator_data();
    void parseWithSeparator();
    void format_data();
    void format();
    void formatUsesSystemSeparator();
    void ignoresCLocale();
    void intFloor_data();
    void intFloor();
    void divide_data();
    void divide();
    void checkValue_data();
    void checkValue();
    void fuzzParse();
    void fuzzFormat();
};

void TstNumbers::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    // Nothing to read.
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("blanks only") << QStringLiteral(" \t\r\n ") << 0.0;
    QTest::newRow("letters") << QStringLiteral("abc") << 0.0;
    QTest::newRow("sign only") << QStringLiteral("-") << 0.0;
    QTest::newRow("plus only") << QStringLiteral("+") << 0.0;
    QTest::newRow("point only") << QStringLiteral(".") << 0.0;
    QTest::newRow("sign point") << QStringLiteral("-.") << 0.0;
    QTest::newRow("double sign") << QStringLiteral("--3") << 0.0;
    QTest::newRow("mixed signs") << QStringLiteral("+-3") << 0.0;
    QTest::newRow("exponent alone") << QStringLiteral("E5") << 0.0;
    QTest::newRow("point exponent") << QStringLiteral(".E5") << 0.0;
    QTest::newRow("comma first") << QStringLiteral(",5") << 0.0;
    QTest::newRow("fullwidth digits") << QStringLiteral("\uFF11\uFF12") << 0.0;
    QTest::newRow("minus zero is zero") << QStringLiteral("-0") << 0.0;
    QTest::newRow("minus zero point zero") << QStringLiteral("-0.000") << 0.0;

    // Plain numbers, signs and blanks anywhere.
    QTest::newRow("whole") << QStringLiteral("12") << 12.0;
    QTest::newRow("blank inside digits") << QStringLiteral("1 2") << 12.0;
    QTest::newRow("tab, LF, CR inside") << QStringLiteral(" 1\t2\n3\r") << 123.0;
    QTest::newRow("blank after sign") << QStringLiteral("- 3") << -3.0;
    QTest::newRow("tab and LF around sign") << QStringLiteral("\t-\n3") << -3.0;
    QTest::newRow("plus sign") << QStringLiteral("+7") << 7.0;
    QTest::newRow("blank around point") << QStringLiteral("1 . 5") << 1.5;
    QTest::newRow("leading zeros") << QStringLiteral("000042") << 42.0;
    QTest::newRow("fraction") << QStringLiteral("277.78") << 277.78;
    QTest::newRow("leading point") << QStringLiteral(".5") << 0.5;
    QTest::newRow("negative leading point") << QStringLiteral("-.5") << -0.5;
    QTest::newRow("trailing point") << QStringLiteral("5.") << 5.0;
    QTest::newRow("negative fraction") << QStringLiteral("-2.5") << -2.5;

    // Reading stops at the first other character.
    QTest::newRow("thousands comma") << QStringLiteral("1,000") << 1.0;
    QTest::newRow("decimal comma") << QStringLiteral("1,5") << 1.0;
    QTest::newRow("trailing letters") << QStringLiteral("12abc") << 12.0;
    QTest::newRow("second point") << QStringLiteral("1.2.3") << 1.2;
    QTest::newRow("currency sign") << QStringLiteral("12$") << 12.0;
    QTest::newRow("sign after digits") << QStringLiteral("12-3") << 12.0;
    QTest::newRow("percent") << QStringLiteral("7.5%") << 7.5;
    QTest::newRow("no-break space stops") << QStringLiteral("12\u00A03") << 12.0;

    // Exponents.
    QTest::newRow("E") << QStringLiteral("1E3") << 1000.0;
    QTest::newRow("e") << QStringLiteral("1e3") << 1000.0;
    QTest::newRow("D") << QStringLiteral("1D3") << 1000.0;
    QTest::newRow("d negative") << QStringLiteral("1d-2") << 0.01;
    QTest::newRow("explicit plus") << QStringLiteral("2.5E+2") << 250.0;
    QTest::newRow("point then exponent") << QStringLiteral("1.e2") << 100.0;
    QTest::newRow("leading point exponent") << QStringLiteral(".5e1") << 5.0;
    QTest::newRow("blanks in exponent") << QStringLiteral("1 E - 2") << 0.01;
    QTest::newRow("exponent without digits") << QStringLiteral("1E") << 1.0;
    QTest::newRow("exponent sign only") << QStringLiteral("1E+") << 1.0;
    QTest::newRow("exponent minus only") << QStringLiteral("1.5E-") << 1.5;
    QTest::newRow("exponent letter") << QStringLiteral("1Ex") << 1.0;
    QTest::newRow("two exponent signs") << QStringLiteral("1E+-3") << 1.0;
    QTest::newRow("second exponent") << QStringLiteral("1e5e3") << 1e5;
    QTest::newRow("D then E") << QStringLiteral("1.5DE3") << 1.5;
    QTest::newRow("point after exponent") << QStringLiteral("1E2.5") << 100.0;
    QTest::newRow("exponent leading zeros") << QStringLiteral("1E0002") << 100.0;
    QTest::newRow("scaled back") << QStringLiteral("1000000000000000000000e-21") << 1.0;
    QTest::newRow("zero huge exponent") << QStringLiteral("0e999999") << 0.0;

    // Correct rounding, never digit-by-digit accumulation.
    QTest::newRow("tenth") << QStringLiteral("0.1") << 0.1;
    QTest::newRow("0.1*3 spelled") << QStringLiteral("0.30000000000000004") << 0.1 * 3;
    QTest::newRow("pi, many digits")
        << QStringLiteral("3.14159265358979323846264338327950288") << 3.14159265358979323846;
    QTest::newRow("30 digits") << QStringLiteral("123456789012345678901234567890")
                               << 123456789012345678901234567890.0;
    QTest::newRow("tie to even") << QStringLiteral("9007199254740993") << 9007199254740992.0;
    QTest::newRow("just above tie")
        << QStringLiteral("9007199254740993.0000000000000001") << 9007199254740994.0;
    QTest::newRow("many zeros then digit")
        << (QStringLiteral("0.") + QString(400, u'0') + QStringLiteral("1e401")) << 1.0;
    QTest::newRow("largest double") << QStringLiteral("1.7976931348623157e308") << DBL_MAX;
    QTest::newRow("smallest double")
        << QStringLiteral("4.9406564584124654e-324") << std::numeric_limits<double>::denorm_min();
    QTest::newRow("rounds up to smallest")
        << QStringLiteral("3e-324") << std::numeric_limits<double>::denorm_min();

    // Out of range: what a correctly rounding conversion gives.
    QTest::newRow("overflow") << QStringLiteral("1e309") << kInf;
    QTest::newRow("negative overflow") << QStringLiteral("-1e309") << -kInf;
    QTest::newRow("huge exponent") << QStringLiteral("1e99999999999999999999999") << kInf;
    QTest::newRow("underflow") << QStringLiteral("1e-400") << 0.0;
    QTest::newRow("negative underflow") << QStringLiteral("-2e-324") << 0.0;
    QTest::newRow("huge negative exponent") << QStringLiteral("-7e-99999999999999999999") << 0.0;

    // &H and &O.
    QTest::newRow("hex") << QStringLiteral("&H10") << 16.0;
    QTest::newRow("hex lower case") << QStringLiteral("&hff") << 255.0;
    QTest::newRow("hex FFFF is positive") << QStringLiteral("&HFFFF") << 65535.0;
    QTest::newRow("hex 32 bits") << QStringLiteral("&HFFFFFFFF") << 4294967295.0;
    QTest::newRow("hex E is a digit") << QStringLiteral("&H1E") << 30.0;
    QTest::newRow("hex stops") << QStringLiteral("&H1G") << 1.0;
    QTest::newRow("hex no fraction") << QStringLiteral("&H10.5") << 16.0;
    QTest::newRow("hex blanks") << QStringLiteral(" & H 1 F ") << 31.0;
    QTest::newRow("hex without digits") << QStringLiteral("&H") << 0.0;
    QTest::newRow("hex leading zeros") << QStringLiteral("&H00000000000000000000001") << 1.0;
    QTest::newRow("hex 64 bits") << QStringLiteral("&HFFFFFFFFFFFFFFFF") << 18446744073709551615.0;
    QTest::newRow("hex 2^64") << QStringLiteral("&H10000000000000000") << std::ldexp(1.0, 64);
    QTest::newRow("hex tie to even")
        << QStringLiteral("&H10000000000000800") << std::ldexp(1.0, 64);
    QTest::newRow("hex past tie") << QStringLiteral("&H10000000000000801")
                                  << std::ldexp(1.0, 64) + std::ldexp(1.0, 12);
    QTest::newRow("hex tie, far digit")
        << (QStringLiteral("&H10000000000000800") + QString(20, u'0') + QStringLiteral("1"))
        << std::ldexp(1.0, 148) + std::ldexp(1.0, 96);
    QTest::newRow("hex just below range")
        << (QStringLiteral("&H") + QString(255, u'F')) << std::ldexp(1.0, 1020);
    QTest::newRow("hex beyond range") << (QStringLiteral("&H") + QString(256, u'F')) << kInf;
    QTest::newRow("hex very long") << (QStringLiteral("&H1") + QString(5000, u'0')) << kInf;
    QTest::newRow("octal") << QStringLiteral("&O17") << 15.0;
    QTest::newRow("octal lower case") << QStringLiteral("&o777") << 511.0;
    QTest::newRow("octal stops at 8") << QStringLiteral("&O178") << 15.0;
    QTest::newRow("octal without digits") << QStringLiteral("&O8") << 0.0;
    QTest::newRow("octal 2^64-1") << QStringLiteral("&O1777777777777777777777")
                                  << std::ldexp(1.0, 64);
    QTest::newRow("ampersand alone") << QStringLiteral("&") << 0.0;
    QTest::newRow("unknown prefix") << QStringLiteral("&X1") << 0.0;
    QTest::newRow("ampersand digits") << QStringLiteral("&17") << 0.0;
    QTest::newRow("sign before prefix") << QStringLiteral("-&H10") << 0.0;
}

void TstNumbers::parse()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const double actual = parseNumber(text);
    QVERIFY2(sameDouble(actual, expected),
             "read " + describe(actual) + ", expected " + describe(expected));
}

void TstNumbers::parseWithSeparator_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<double>("expected");

    const QChar comma(u',');
    const QChar dot(u'.');
    QTest::newRow("comma decimal") << QStringLiteral("10000,5") << comma << 10000.5;
    QTest::newRow("point still read") << QStringLiteral("51.16") << comma << 51.16;
    QTest::newRow("one decimal point at most") << QStringLiteral("1,5.2") << comma << 1.5;
    QTest::newRow("second comma stops") << QStringLiteral("1,000,5") << comma << 1.0;
    QTest::newRow("comma then exponent") << QStringLiteral("1,2E+15") << comma << 1.2e15;
    QTest::newRow("negative comma") << QStringLiteral("-0,25") << comma << -0.25;
    QTest::newRow("comma first") << QStringLiteral(",5") << comma << 0.5;
    QTest::newRow("point locale: comma stops") << QStringLiteral("1,000") << dot << 1.0;
    QTest::newRow("point locale: typed comma") << QStringLiteral("10000,5") << dot << 10000.0;
}

void TstNumbers::parseWithSeparator()
{
    QFETCH(QString, text);
    QFETCH(QChar, separator);
    QFETCH(double, expected);
    const double actual = parseNumber(text, separator);
    QVERIFY2(sameDouble(actual, expected),
             "read " + describe(actual) + ", expected " + describe(expected));
    // What the formatter writes with that separator reads back.
    QVERIFY(sameDouble(parseNumber(formatNumber(expected, separator), separator), expected));
}

void TstNumbers::format_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected");

    const QChar dot(u'.');
    const QChar comma(u',');

    // Small magnitudes: fixed while 15 decimals suffice.
    QTest::newRow("5.6789e-5") << 5.6789e-5 << dot << QStringLiteral("0.000056789");
    QTest::newRow("5.6789e-11") << 5.6789e-11 << dot << QStringLiteral("0.000000000056789");
    QTest::newRow("5.6789e-12") << 5.6789e-12 << dot << QStringLiteral("5.6789E-12");
    QTest::newRow("-5.6789e-12") << -5.6789e-12 << dot << QStringLiteral("-5.6789E-12");
    QTest::newRow("1.5e-7") << 1.5e-7 << dot << QStringLiteral("0.00000015");
    QTest::newRow("0.00005 comma") << 0.00005 << comma << QStringLiteral("0,00005");
    QTest::newRow("1e-15") << 1e-15 << dot << QStringLiteral("0.000000000000001");
    QTest::newRow("1e-16") << 1e-16 << dot << QStringLiteral("1E-16");
    QTest::newRow("1.5e-15") << 1.5e-15 << dot << QStringLiteral("1.5E-15");
    QTest::newRow("1.5e-14") << 1.5e-14 << dot << QStringLiteral("0.000000000000015");
    QTest::newRow("1e-100") << 1e-100 << dot << QStringLiteral("1E-100");
    QTest::newRow("-1e-100") << -1e-100 << dot << QStringLiteral("-1E-100");
    QTest::newRow("power -4, 15 digits")
        << 1.23456789012345e-4 << dot << QStringLiteral("0.000123456789012345");
    QTest::newRow("power -5, 15 digits")
        << 1.23456789012345e-5 << dot << QStringLiteral("1.23456789012345E-05");
    QTest::newRow("power -9, comma") << 1.25e-9 << comma << QStringLiteral("0,00000000125");
    QTest::newRow("smallest double") << std::numeric_limits<double>::denorm_min() << dot
                                     << QStringLiteral("4.94065645841247E-324");

    // Large magnitudes: exponent from 10^15 on.
    QTest::newRow("1e14") << 1e14 << dot << QStringLiteral("100000000000000");
    QTest::newRow("999999999999999")
        << 999999999999999.0 << dot << QStringLiteral("999999999999999");
    QTest::newRow("-999999999999999")
        << -999999999999999.0 << dot << QStringLiteral("-999999999999999");
    QTest::newRow("1e15") << 1e15 << dot << QStringLiteral("1E+15");
    QTest::newRow("1e15 comma") << 1e15 << comma << QStringLiteral("1E+15");
    QTest::newRow("1.2e15") << 1.2e15 << dot << QStringLiteral("1.2E+15");
    QTest::newRow("1.2e15 comma") << 1.2e15 << comma << QStringLiteral("1,2E+15");
    QTest::newRow("1.234e16") << 1.234e16 << dot << QStringLiteral("1.234E+16");
    QTest::newRow("rounds up to 1e15") << 999999999999999.9 << dot << QStringLiteral("1E+15");
    QTest::newRow("rounds up to 1e14")
        << 99999999999999.99 << dot << QStringLiteral("100000000000000");
    QTest::newRow("123456789012345678")
        << 123456789012345678.0 << dot << QStringLiteral("1.23456789012346E+17");
    QTest::newRow("1e100") << 1e100 << dot << QStringLiteral("1E+100");
    QTest::newRow("largest double") << DBL_MAX << dot << QStringLiteral("1.79769313486232E+308");
    QTest::newRow("-largest double") << -DBL_MAX << dot << QStringLiteral("-1.79769313486232E+308");

    // Fractions: 15 significant digits, correctly rounded, trailing zeros dropped.
    QTest::newRow("pi") << 3.141592653589793 << dot << QStringLiteral("3.14159265358979");
    QTest::newRow("12.345678901234567")
        << 12.345678901234567 << dot << QStringLiteral("12.3456789012346");
    QTest::newRow("1/3") << 1.0 / 3 << dot << QStringLiteral("0.333333333333333");
    QTest::newRow("2/3") << 2.0 / 3 << dot << QStringLiteral("0.666666666666667");
    QTest::newRow("-2/3") << -2.0 / 3 << dot << QStringLiteral("-0.666666666666667");
    QTest::newRow("0.1*3") << 0.1 * 3 << dot << QStringLiteral("0.3");
    QTest::newRow("0.1+0.2 comma") << 0.1 + 0.2 << comma << QStringLiteral("0,3");
    QTest::newRow("10000+275/3") << 10000 + 275.0 / 3 << dot << QStringLiteral("10091.6666666667");
    QTest::newRow("-2.5") << -2.5 << dot << QStringLiteral("-2.5");
    QTest::newRow("-2.5 comma") << -2.5 << comma << QStringLiteral("-2,5");
    QTest::newRow("277.78") << 277.78 << dot << QStringLiteral("277.78");
    QTest::newRow("27.333...") << 2.0 / 50 * 100 + 3.0 / 30 * 100 + 40.0 / 3 << dot
                               << QStringLiteral("27.3333333333333");
    QTest::newRow("0.0001") << 0.0001 << dot << QStringLiteral("0.0001");
    QTest::newRow("0.5 other separator") << 0.5 << QChar(u'\u00B7') << QStringLiteral("0\u00B75");

    // Whole numbers have no separator.
    QTest::newRow("zero") << 0.0 << dot << QStringLiteral("0");
    QTest::newRow("negative zero") << -0.0 << comma << QStringLiteral("0");
    QTest::newRow("one") << 1.0 << comma << QStringLiteral("1");
    QTest::newRow("182") << 182.0 << comma << QStringLiteral("182");
    QTest::newRow("-278") << -278.0 << comma << QStringLiteral("-278");
    QTest::newRow("1e10") << 1e10 << comma << QStringLiteral("10000000000");
    QTest::newRow("100") << 100.0 << dot << QStringLiteral("100");

    // Never passed by the program; harmless if it happens.
    QTest::newRow("inf") << kInf << dot << QString();
    QTest::newRow("-inf") << -kInf << dot << QString();
    QTest::newRow("nan") << kNaN << dot << QString();
}

void TstNumbers::format()
{
    QFETCH(double, value);
    QFETCH(QChar, separator);
    QFETCH(QString, expected);
    QCOMPARE(formatNumber(value, separator), expected);
}

void TstNumbers::formatUsesSystemSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    QVERIFY(!point.isEmpty());
    QCOMPARE(formatNumber(2.5), QStringLiteral("2") + point.front() + QStringLiteral("5"));
    QCOMPARE(formatNumber(1.2e15), QStringLiteral("1") + point.front() + QStringLiteral("2E+15"));
    QCOMPARE(formatNumber(-278.0), QStringLiteral("-278"));
}

// The C library's numeric locale follows the environment once the application starts; neither
// direction may depend on it.
void TstNumbers::ignoresCLocale()
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    const char *commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8",
                                  "nl_NL.UTF-8", "de_DE",      "fr_FR"};
    bool switched = false;
    for (const char *name : commaLocales) {
        if (std::setlocale(LC_NUMERIC, name) &&
            std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
            switched = true;
            break;
        }
    }
    if (!switched) {
        std::setlocale(LC_NUMERIC, saved.c_str());
        QSKIP("no locale with a decimal comma is installed");
    }
    const double read = parseNumber(u"1234.5");
    const QString written = formatNumber(0.000056789, u'.');
    const QString large = formatNumber(1.2e15, u'.');
    std::setlocale(LC_NUMERIC, saved.c_str());
    QVERIFY(sameDouble(read, 1234.5));
    QCOMPARE(written, QStringLiteral("0.000056789"));
    QCOMPARE(large, QStringLiteral("1.2E+15"));
}

void TstNumbers::intFloor_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");

    QTest::newRow("277.78") << 277.78 << 277.0;
    QTest::newRow("-277.78") << -277.78 << -278.0;
    QTest::newRow("-2.5") << -2.5 << -3.0;
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("whole") << 5.0 << 5.0;
    QTest::newRow("negative whole") << -5.0 << -5.0;
    QTest::newRow("zero") << 0.0 << 0.0;
    QTest::newRow("just below one") << 0.9999999999999999 << 0.0;
    QTest::newRow("tiny negative") << -1e-300 << -1.0;
    QTest::newRow("half past 2^52") << 4503599627370495.5 << 4503599627370495.0;
    QTest::newRow("negative half past 2^52") << -4503599627370495.5 << -4503599627370496.0;
    QTest::newRow("above 2^53") << 1e300 << 1e300;
    QTest::newRow("1182") << 1202.3333333333333 << 1202.0;
}

void TstNumbers::intFloor()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    const double actual = Int(value);
    QVERIFY2(actual == expected, "got " + describe(actual) + ", expected " + describe(expected));
}

void TstNumbers::divide_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<ArithError>("error");
    QTest::addColumn<double>("value");

    QTest::newRow("plain") << 10.0 << 4.0 << ArithError::None << 2.5;
    QTest::newRow("negative") << -7.0 << 2.0 << ArithError::None << -3.5;
    QTest::newRow("zero dividend") << 0.0 << 5.0 << ArithError::None << 0.0;
    QTest::newRow("inexact") << 1.0 << 3.0 << ArithError::None << 1.0 / 3;
    QTest::newRow("underflow is fine") << 1e-320 << 1e10 << ArithError::None << 0.0;
    QTest::newRow("by zero") << 1.0 << 0.0 << ArithError::DivideByZero << 0.0;
    QTest::newRow("negative by zero") << -1.0 << 0.0 << ArithError::DivideByZero << 0.0;
    QTest::newRow("by negative zero") << 1.0 << -0.0 << ArithError::DivideByZero << 0.0;
    QTest::newRow("tiny by zero") << 1e-320 << 0.0 << ArithError::DivideByZero << 0.0;
    QTest::newRow("zero by zero") << 0.0 << 0.0 << ArithError::ZeroByZero << 0.0;
    QTest::newRow("zero by negative zero") << 0.0 << -0.0 << ArithError::ZeroByZero << 0.0;
    QTest::newRow("negative zero by zero") << -0.0 << 0.0 << ArithError::ZeroByZero << 0.0;
    QTest::newRow("quotient overflows") << 1e308 << 1e-308 << ArithError::Overflow << 0.0;
    QTest::newRow("largest by half") << DBL_MAX << 0.5 << ArithError::Overflow << 0.0;
    QTest::newRow("negative overflow") << -DBL_MAX << 0.1 << ArithError::Overflow << 0.0;
    QTest::newRow("inf dividend") << kInf << 2.0 << ArithError::Overflow << 0.0;
    QTest::newRow("inf divisor") << 2.0 << kInf << ArithError::Overflow << 0.0;
    QTest::newRow("nan dividend") << kNaN << 2.0 << ArithError::Overflow << 0.0;
    QTest::newRow("nan divisor") << 2.0 << kNaN << ArithError::Overflow << 0.0;
    QTest::newRow("inf by zero") << kInf << 0.0 << ArithError::DivideByZero << 0.0;
}

void TstNumbers::divide()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(ArithError, error);
    QFETCH(double, value);
    const Checked result = checkedDiv(a, b);
    QCOMPARE(result.error, error);
    QCOMPARE(result.ok(), error == ArithError::None);
    QVERIFY(std::isfinite(result.value));
    if (error == ArithError::None)
        QVERIFY2(result.value == value, "got " + describe(result.value));
}

void TstNumbers::checkValue_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("ok");

    QTest::newRow("zero") << 0.0 << true;
    QTest::newRow("negative") << -12.5 << true;
    QTest::newRow("largest") << DBL_MAX << true;
    QTest::newRow("smallest") << std::numeric_limits<double>::denorm_min() << true;
    QTest::newRow("inf") << kInf << false;
    QTest::newRow("-inf") << -kInf << false;
    QTest::newRow("nan") << kNaN << false;
    QTest::newRow("product overflows") << DBL_MAX * 2 << false;
}

void TstNumbers::checkValue()
{
    QFETCH(double, value);
    QFETCH(bool, ok);
    const Checked result = checkedValue(value);
    QCOMPARE(result.ok(), ok);
    QCOMPARE(result.error, ok ? ArithError::None : ArithError::Overflow);
    QVERIFY(std::isfinite(result.value));
    if (ok)
        QVERIFY(sameDouble(result.value, value));
}

// Random texts: the parser never fails, never yields nan or negative zero, and agrees with the
// C library's conversion of the same text once blanks are gone and D is spelled E.
void TstNumbers::fuzzParse()
{
    static const char alphabet[] = "0123456789012345678901234567890123456789+-+-..EeDd&HhOo  \t\n\r"
                                   "abcfxXinINfFaA,,;$%";
    const int alphabetSize = int(sizeof alphabet) - 1;
    QRandomGenerator rng(20240611);
    CNumericLocale cLocale;

    QString text;
    std::string reference;
    for (int i = 0; i < 200000; ++i) {
        text.clear();
        const int length = int(rng.bounded(26));
        for (int k = 0; k < length; ++k)
            text.append(QChar(alphabet[rng.bounded(alphabetSize)]));

        const double value = parseNumber(text);
        QVERIFY2(!std::isnan(value), qPrintable(text));
        QVERIFY2(value != 0.0 || !std::signbit(value), qPrintable(text));

        QString compact;
        for (QChar c : std::as_const(text))
            if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
                compact.append(c);

        if (compact.startsWith(u'&')) {
            // &H / &O: the C library reads the same digit run in base 16 or 8.
            const QChar prefix = compact.size() > 1 ? compact[1].toUpper() : QChar();
            const int base = prefix == u'H' ? 16 : prefix == u'O' ? 8 : 0;
            std::string run;
            for (qsizetype k = 2; base != 0 && k < compact.size(); ++k) {
                const char ch = char(compact[k].toLatin1());
                const bool digit = base == 16 ? std::isxdigit(static_cast<unsigned char>(ch)) != 0
                                              : (ch >= '0' && ch <= '7');
                if (!digit)
                    break;
                run.push_back(ch);
            }
            if (run.size() > 15)
                continue; // beyond 64 bits; covered by the table
            const double expected =
                run.empty() ? 0.0 : double(std::strtoull(run.c_str(), nullptr, base));
            QVERIFY2(value == expected,
                     qPrintable(text + QStringLiteral(" read ") + QString::number(value, 'g', 17) +
                                QStringLiteral(", strtoull ") +
                                QString::number(expected, 'g', 17)));
            continue;
        }

        // The C library's reading: cut at the first character that is not part of a decimal
        // number (so strtod sees no hex, inf or nan), D spelled E.
        reference.clear();
        for (QChar c : std::as_const(compact)) {
            const char ch = char(c.toLatin1());
            if ((ch >= '0' && ch <= '9') || ch == '+' || ch == '-' || ch == '.' || ch == 'E' ||
                ch == 'e')
                reference.push_back(ch);
            else if (ch == 'D' || ch == 'd')
                reference.push_back('E');
            else
                break;
        }
        const double expected = std::strtod(reference.c_str(), nullptr);
        QVERIFY2(value == expected,
                 qPrintable(text + QStringLiteral(" read ") + QString::number(value, 'g', 17) +
                            QStringLiteral(", strtod ") + QString::number(expected, 'g', 17)));
    }
}

// Random finite doubles: the text is well formed, has at most 15 significant digits, and reads
// back as the value rounded to 15 significant digits.
void TstNumbers::fuzzFormat()
{
    static const QRegularExpression fixedForm(
        QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]*[1-9])?$"));
    static const QRegularExpression exponentForm(
        QStringLiteral("^-?[1-9](\\.[0-9]*[1-9])?E[+-][0-9]{2,3}$"));
    QRandomGenerator rng(19870519);
    CNumericLocale cLocale;

    int checked = 0;
    for (int i = 0; i < 200000; ++i) {
        double x = 0.0;
        if (i % 2 == 0) {
            const quint64 bits = rng.generate64();
            std::memcpy(&x, &bits, sizeof x);
            if (!std::isfinite(x))
                continue;
        } else {
            // Decimal-looking values around the edges of the fixed form: m × 10^k.
            const double mantissa = double(qint64(rng.bounded(2000000001)) - 1000000000);
            const int power = int(rng.bounded(60)) - 30;
            x = mantissa * std::pow(10.0, power);
            if (rng.bounded(4) == 0)
                x = mantissa / 3.0 * std::pow(10.0, power);
        }
        ++checked;

        const QString text = formatNumber(x, u'.');
        QVERIFY2(!text.isEmpty(), describe(x).constData());
        QVERIFY2(!text.contains(QLatin1String("inf"), Qt::CaseInsensitive) &&
                     !text.contains(QLatin1String("nan"), Qt::CaseInsensitive),
                 qPrintable(text));
        const bool exponent = text.contains(u'E');
        QVERIFY2((exponent ? exponentForm : fixedForm).match(text).hasMatch(),
                 qPrintable(describe(x) + " as " + text));

        // Significant digits: all digits of the mantissa without leading zeros.
        int significant = 0;
        bool leading = true;
        for (QChar c : text) {
            if (c == u'E')
                break;
            if (!c.isDigit())
                continue;
            if (leading && c == u'0')
                continue;
            leading = false;
            ++significant;
        }
        QVERIFY2(significant <= 15, qPrintable(describe(x) + " as " + text));

        char rounded[64];
        std::snprintf(rounded, sizeof rounded, "%.14e", x);
        double expected = std::strtod(rounded, nullptr);
        if (expected == 0.0)
            expected = 0.0;
        const double back = parseNumber(text);
        QVERIFY2(sameDouble(back, expected),
                 qPrintable(describe(x) + " as " + text + " reads " + describe(back)));

        // Exponent form only from 10^15 on, or when 15 decimals are not enough.
        const double magnitude = std::fabs(expected);
        if (exponent) {
            QVERIFY2(magnitude >= 1e15 || magnitude < 1e-4, qPrintable(text));
        } else {
            const qsizetype point = text.indexOf(u'.');
            const qsizetype decimals = point < 0 ? 0 : text.size() - point - 1;
            QVERIFY2(magnitude < 1e15, qPrintable(text));
            QVERIFY2(magnitude >= 1e-4 || decimals <= 15, qPrintable(text));
        }

        // Another separator changes nothing else (sampled, to keep the run short).
        if (i % 4 < 2) {
            QString withComma = text;
            withComma.replace(u'.', u',');
            QCOMPARE(formatNumber(x, u','), withComma);
        }
    }
    QVERIFY(checked > 190000);
}

VANTORA_CORE_TEST_MAIN(TstNumbers)
#include "tst_numbers.moc"
