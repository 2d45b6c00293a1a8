// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace vantora {

// Unicode's full case folding (statuses C and F), as ICU gives it: "Straße", "STRASSE" and "STRAẞE"
// all fold to "strasse", "ΟΔΥΣΣΈΑΣ" and "Οδυσσέας" to "οδυσσέασ". Texts that differ only in letter
// case fold to the same text.
QString fullCaseFold(QStringView text);
// The same into a text of the caller's, used again for each key (a million keys allocate once).
void fullCaseFold(QStringView text, QString *folded);
// The Unicode version whose folding fullCaseFold gives ("15.0").
QString caseFoldingVersion();

} // namespace vantora
