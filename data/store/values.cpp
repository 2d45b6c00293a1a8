// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/values.h"

#include "common/numbers.h"

#include <QRegularExpression>
#include <cmath>

namespace vantora::schema {

QString numberText(double value, QChar decimalPoint)
{
    if (value == 0.0)
        return QStringLiteral("0");
    QString text = QString::number(value, 'g', 15);
    if (decimalPoint != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), decimalPoint);
    return text;
}

namespace {

// "dd" and "MM" become "d" and "M"; names of days and months ("ddd", "MMM") stay as they are.
QString oneDigitDayAndMonth(QString format)
{
    static const QRegularExpression twoDigits(QStringLiteral("(?<!d)dd(?!d)|(?<!M)MM(?!M)"));
    QRegularExpressionMatchIterator it = twoDigits.globalMatch(format);
    QList<qsizetype> at;
    while (it.hasNext())
        at.prepend(it.next().capturedStart());
    for (const qsizetype i : at)
        format.remove(i, 1);
    return format;
}

} // namespace

QString typedDateFormat(const QLocale &locale)
{
    // One-letter day and month read one or two digits; a four-digit year is what people type.
    QString format = oneDigitDayAndMonth(locale.dateFormat(QLocale::ShortFormat));
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

std::optional<QDate> readDate(const QString &text, const QLocale &locale)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    // The ISO order with or without leading zeros (2025-3-3), and without dashes (20250303).
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    static const QRegularExpression compact(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})$"));
    for (const QRegularExpression *form : {&iso, &compact}) {
        const QRegularExpressionMatch match = form->match(trimmed);
        if (match.hasMatch()) {
            const QDate date(match.captured(1).toInt(), match.captured(2).toInt(),
                             match.captured(3).toInt());
            if (date.isValid())
                return date;
            return std::nullopt;
        }
    }

    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const QString shortYear = oneDigitDayAndMonth(format);
    for (const QString &form : {format, shortYear}) {
        QDate date = locale.toDate(trimmed, form);
        if (date.isValid()) {
            // A two-digit year means this century or the end of the last one, not the 1900s.
            if (!form.contains(QLatin1String("yyyy")) && form.contains(QLatin1String("yy")) &&
                date.year() < 1950)
                date = date.addYears(100);
            return date;
        }
    }
    // People type four-digit years into a two-digit short form ("12/7/2026", "3.3.2025").
    const QDate date = locale.toDate(trimmed, typedDateFormat(locale));
    if (date.isValid())
        return date;
    return std::nullopt;
}

QVariant storedValue(FieldKind kind, const QString &text, QChar decimalPoint)
{
    switch (kind) {
    case FieldKind::Text:
        // A cleared text box stores the empty text, which a Find for "" matches.
        return text.isNull() ? QStringLiteral("") : text;
    case FieldKind::Number: {
        if (text.isEmpty())
            return QVariant(QMetaType::fromType<double>());
        QString plain = text;
        if (decimalPoint != QLatin1Char('.'))
            plain.replace(decimalPoint, QLatin1Char('.'));
        bool ok = false;
        const double value = QLocale::c().toDouble(plain, &ok);
        // Stored as a number only when it shows back exactly as typed ("1.50", "007", "1,000"
        // and "1e3" stay texts; so does "12.5" where the decimal point is a comma); nothing the
        // user typed is altered.
        if (ok && std::isfinite(value) && numberText(value, decimalPoint) == text)
            return value;
        return text;
    }
    case FieldKind::Date: {
        if (text.isEmpty())
            return QVariant(QMetaType::fromType<QString>());
        if (const std::optional<QDate> date = readDate(text))
            return date->toString(QStringLiteral("yyyy-MM-dd"));
        return text;
    }
    }
    return text;
}

QString shownText(const QVariant &value, QChar decimalPoint)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return numberText(value.toDouble(), decimalPoint);
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::ULongLong:
    case QMetaType::UInt:
        return QString::number(value.toLongLong());
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

std::optional<double> storedFigure(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    double x = 0;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::LongLong:
    case QMetaType::Int:
        x = value.toDouble();
        break;
    default: {
        const QString text = shownText(value);
        if (text.trimmed().isEmpty())
            return std::nullopt;
        x = parseNumber(text, QLatin1Char('.'));
    }
    }
    if (!std::isfinite(x))
        return std::nullopt;
    return x;
}

} // namespace vantora::schema
