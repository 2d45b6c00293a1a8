// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QApplication;
class QLocale;
class QPalette;

namespace vantora {

// Settings that must be in place before the QApplication exists (web view needs).
void prepareApplication();
// Names the application after the program file; used for the per-user settings.
void nameApplication(QApplication &app);
// Speaks the language of `locale` (the system's at start) where the program has a translation
// for it (vantora_LANG.qm in the data folder's translations/), with Qt's own translations for
// the standard buttons and dialogs; otherwise, and always under the C locale, the program's own
// English. Called again, it replaces what it installed before. True when a translation of the
// program is in place.
bool installTranslations(const QLocale &locale);

// Where the program's one style sheet lives in the resources.
inline constexpr auto kStyleSheetResource = ":/style/vantora.qss";
// The style sheet's text with its named values ("@name: value;" lines) put in place of
// "@name". A name that is not defined is left as it stands.
QString expandStyleSheet(const QString &source);
// The program's own complete light palette, as the style sheet's source names its colours.
QPalette programPalette(const QString &source);
// Gives the whole application the program's look (its palette, whatever the desktop's, and the
// style sheet), once, before any window is built.
void applyStyleSheet(QApplication &app);

} // namespace vantora
