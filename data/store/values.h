// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QDate>
#include <QLocale>
#include <QString>
#include <QVariant>
#include <optional>

// How a field's text on screen becomes a stored value and back.
namespace vantora::schema {

enum class FieldKind {
    Text,   // stored as typed
    Number, // stored as a number when the text reads back exactly as typed, else as typed
    Date    // stored as ISO text (yyyy-MM-dd) when the text is a date, else as typed
};

// Number texts as stored numbers show them: up to 15 significant digits, exponent form only for
// very large and very small magnitudes. Files (CSV) write '.' as the decimal point; the screens
// write the locale's, as their calculations do.
QString numberText(double value, QChar decimalPoint = u'.');
// The date in a text: ISO (2026-12-07, 2026-12-7, 20261207) or the locale's short date form,
// with or without leading zeros and with a two- or four-digit year (12/7/26, 12/07/2026).
std::optional<QDate> readDate(const QString &text, const QLocale &locale = QLocale());
// The locale's short date form as people type it: "M/d/yyyy", "d.M.yyyy".
QString typedDateFormat(const QLocale &locale = QLocale());
// What the database stores for a field's text (null for an empty number or date): a number
// when the text shows back exactly as written with this decimal point, else the text itself.
QVariant storedValue(FieldKind kind, const QString &text, QChar decimalPoint = u'.');
// How a stored value is written as text (empty for null).
QString shownText(const QVariant &value, QChar decimalPoint = u'.');
// A stored figure as the program reads numbers: a number as it is, a text through the lenient
// parser; nothing for null, a blank text or a value beyond the double's range.
std::optional<double> storedFigure(const QVariant &value);

} // namespace vantora::schema
