#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

// How every screen reads numbers from text and writes them back.
namespace vantora {

// The lenient number parser: blanks, tabs and line feeds are ignored wherever they stand; then
// an optional sign, digits with at most one '.', an optional exponent (E or D); &H and &O read
// hexadecimal and octal whole numbers. Reading stops at the first other character ("1,000" reads
// 1, "12abc" 12); text with no leading number reads 0.
double parseNumber(QStringView text);

// The general number format: up to 15 significant digits, no grouping, exponent form for very
// large and very small magnitudes. The decimal separator is the locale's (the system locale
// unless one is given).
QString formatNumber(double value);
QString formatNumber(double value, QChar decimalSeparator);

// The greatest whole number not greater than the value.
double Int(double value);

// Checked arithmetic: doubles give inf and nan silently; these say what went wrong instead.
enum class ArithError { None, DivideByZero, ZeroByZero, Overflow };

struct Checked
{
    double value = 0.0;
    ArithError error = ArithError::None;
    bool ok() const { return error == ArithError::None; }
};

// a / b: DivideByZero when b is 0 and a is not, ZeroByZero for 0/0, Overflow when the
// quotient (or an operand) is not finite.
Checked checkedDiv(double a, double b);
// Overflow when the value is not finite.
Checked checkedValue(double value);

} // namespace vantora
