// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

// How every screen reads numbers from text and writes them back.
namespace vantora {

// The lenient number parser: blanks, tabs and line feeds are ignored wherever they stand; then
// an optional sign, digits with at most one decimal point, an optional exponent (E or D); &H and
// &O read hexadecimal and octal whole numbers. Reading stops at the first other character
// ("1,000" reads 1, "12abc" 12); text with no leading number reads 0.
// The decimal point is '.' and also the separator given (the system locale's unless one is
// given), so that whatever formatNumber writes reads back: under a German locale "10000,5" reads
// 10000.5 and "1,5.2" reads 1.5. Files (CSV, price files) pass '.' to read the same everywhere.
// The conversion is correctly rounded. Beyond the double's range the result is +-inf (check it
// with checkedValue before computing), below it 0; zero is never negative. &H and &O numbers are
// unsigned ("&HFFFF" is 65535, "-&H10" reads 0); very long ones round like long decimals do.
double parseNumber(QStringView text);
double parseNumber(QStringView text, QChar decimalSeparator);

// The general number format: up to 15 significant digits, no grouping, exponent form for very
// large and very small magnitudes. The decimal separator is the locale's (the system locale
// unless one is given). Negative zero is written "0". Callers pass finite values only; inf and nan
// give the empty text.
QString formatNumber(double value);
QString formatNumber(double value, QChar decimalSeparator);
// The decimal separator formatNumber writes when none is given: the system locale's.
QChar decimalPoint();

// The greatest whole number not greater than the value.
double Int(double value);

// Checked arithmetic: doubles give inf and nan silently; these say what went wrong instead.
enum class ArithError { None, DivideByZero, ZeroByZero, Overflow };

// On an error the value is 0.
struct Checked
{
    double value = 0.0;
    ArithError error = ArithError::None;
    bool ok() const { return error == ArithError::None; }
};

// a / b: DivideByZero when b is 0 and a is not, ZeroByZero for 0/0, Overflow when the
// quotient (or an operand) is not finite. A zero divisor is reported first, whatever a is.
Checked checkedDiv(double a, double b);
// Overflow when the value is not finite.
Checked checkedValue(double value);

} // namespace vantora
