// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/screen.h"
#include "ui_frmPreferences.h"

#include <QDialog>

namespace vantora {

// The program's preferences: where prices come from (the source, its key, an address
// template), whether they are updated at start-up, the tip window and the backups kept. Saved
// in the settings under "Quotes" and "Options"; a key in the desktop's keyring where one
// answers, else in the settings file.
class frmPreferences final : public FormScreen<Ui::frmPreferences, QDialog>
{
    Q_OBJECT

public:
    static QString updateAtStartKey() { return QStringLiteral("Options/Update Prices at Startup"); }
    // Whether the prices are to be updated once the program has started.
    static bool updateAtStart();

private:
    void connectHandlers() override;
    void Form_Load() override;
    void cboSource_Click();
    void cmdTry_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    int m_loadedSource = -1; // the source whose key txtKey shows
    QString m_loadedKey;
};

} // namespace vantora
