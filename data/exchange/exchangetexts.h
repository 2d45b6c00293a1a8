// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>

namespace vantora {

// The imports' and exports' messages, translated under one context.
struct ExchangeTexts
{
    Q_DECLARE_TR_FUNCTIONS(Exchange)
};

namespace exchange {

// What a refused import adds to its message.
inline QString nothingImported(const QString &message)
{
    return message + ExchangeTexts::tr("\nNothing was imported; the database is as it was.");
}

// Where a refusal stands, in one call: a file name holding "%1" is shown as it is.
inline QString where(const QString &file, int line, const QString &field)
{
    return ExchangeTexts::tr("\"%1\", line %2, field \"%3\"")
        .arg(file, QString::number(line), field);
}

} // namespace exchange
} // namespace vantora
