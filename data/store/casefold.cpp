// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/store/casefold.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

namespace vantora {

QString fullCaseFold(QStringView text)
{
    if (text.isEmpty())
        return text.isNull() ? QString() : QStringLiteral("");
    QString folded;
    fullCaseFold(text, &folded);
    return folded;
}

void fullCaseFold(QStringView text, QString *folded)
{
    static_assert(sizeof(UChar) == sizeof(QChar));
    const auto *source = reinterpret_cast<const UChar *>(text.utf16());
    // A letter folds to three at most.
    folded->resize(text.size() * 3);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        u_strFoldCase(reinterpret_cast<UChar *>(folded->data()), int32_t(folded->size()), source,
                      int32_t(text.size()), U_FOLD_CASE_DEFAULT, &status);
    if (U_FAILURE(status)) {
        *folded = text.toString().toCaseFolded();
        return;
    }
    folded->resize(length);
}

QString caseFoldingVersion()
{
    UVersionInfo version;
    u_getUnicodeVersion(version);
    char text[U_MAX_VERSION_STRING_LENGTH];
    u_versionToString(version, text);
    return QString::fromLatin1(text);
}

} // namespace vantora
