// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/quotes/quotesource.h"

#include <QString>

// The keys of the quote sources that ask for one: in the desktop's keyring where one answers,
// else in the program's settings file, which is private to its owner (0600).
namespace vantora::quotes {

enum class KeyPlace { Keyring, SettingsFile };

struct SavedKey
{
    QString key;
    KeyPlace place = KeyPlace::Keyring;
    QString why; // why not in the keyring, when not
};

// The key saved for a source; empty when there is none.
SavedKey savedKey(SourceKind kind);
// Saves the key (an empty one removes it): in the keyring, else in the settings file. Where it
// went, and why not the keyring; false when neither could keep it.
bool saveKey(SourceKind kind, const QString &key, SavedKey *where);

// The key a run uses: the given one, else VANTORA_QUOTES_KEY, else the saved one.
QString keyFor(SourceKind kind, const QString &given = {});

} // namespace vantora::quotes
