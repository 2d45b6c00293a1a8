// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/screen.h"
#include "ui_frmTip.h"

#include <QDialog>
#include <QRandomGenerator>
#include <QStringList>

namespace vantora {

// The tip of the day: a random line of the tips file beside the program, with a switch that
// keeps the window away at start-up (stored per user under "Options"/"Show Tips at Startup").
class frmTip final : public FormScreen<Ui::frmTip, QDialog>
{
    Q_OBJECT

public:
    static QString tipsFileName() { return QStringLiteral("TIPOFDAY.TXT"); }
    // What the tip panel says when the tips file is missing or cannot be read.
    static QString missingFileNotice();
    static QString settingsSection() { return QStringLiteral("Options"); }
    static QString settingsKey() { return QStringLiteral("Show Tips at Startup"); }

    // Reads sFile afresh into the tips list and shows a random tip. False when there is no
    // such file or it cannot be read; the list is then empty.
    bool LoadTips(const QString &sFile);
    // Picks a tip at random (it may be the one on show) and shows it.
    void nextTip();
    void DisplayCurrentTip();

    const QStringList &tips() const { return m_tips; }
    int currentTip() const { return m_currentTip; }

    // Folder the load step reads the tips file from; empty means the program's data folder
    // (beside the program, else the installed one).
    void setTipsDirectory(const QString &dir) { m_tipsDirectory = dir; }
    QString tipsDirectory() const;

private:
    void connectHandlers() override;
    void Form_Load() override;
    void cmdNextTip_Click();
    void cmdOK_Click();
    void chkLoadTipsAtStartup_Click();

    QStringList m_tips; // positions counted from 1, as m_currentTip counts them
    int m_currentTip = 0;
    QRandomGenerator m_random;
    QString m_tipsDirectory;
    bool m_loading = false;
    bool m_settingsFailureShown = false; // for the whole run
};

} // namespace vantora
