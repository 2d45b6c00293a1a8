// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/frmTip.h"

#include "common/config.h"
#include "common/dialogs.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QSettings>
#include <QTextStream>

namespace vantora {

namespace {

// The per-user store, addressed by the program file's name (the application name).
QString readShowTipsSetting()
{
    const QString app = QCoreApplication::applicationName();
    QSettings settings(QSettings::UserScope, app, app);
    settings.beginGroup(frmTip::settingsSection());
    return settings.value(frmTip::settingsKey(), QStringLiteral("1")).toString();
}

// False, with the settings file named, when the store could not be written.
bool writeShowTipsSetting(const QString &value, QString *file)
{
    const QString app = QCoreApplication::applicationName();
    QSettings settings(QSettings::UserScope, app, app);
    settings.beginGroup(frmTip::settingsSection());
    *file = settings.fileName();
    // The box is set from the setting as the window loads: the same value is not written again.
    if (settings.contains(frmTip::settingsKey()) &&
        settings.value(frmTip::settingsKey()).toString() == value)
        return settings.status() == QSettings::NoError;
    settings.setValue(frmTip::settingsKey(), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace

QString frmTip::missingFileNotice()
{
    return tr("That the %1 file was not found? \r\n\r\nCreate a text file named %1 using NotePad "
              "with 1 tip per line. Then place it in the same directory as the application. ")
        .arg(tipsFileName());
}

QString frmTip::tipsDirectory() const
{
    return m_tipsDirectory.isEmpty() ? config::dataFolder(tipsFileName()) : m_tipsDirectory;
}

void frmTip::connectHandlers()
{
    // The tip panel's 32 x 32 light bulb, sharp at the screen's pixel ratio.
    m_ui->imgTipIcon->setPixmap(QIcon(QStringLiteral(":/icons/lightbulb.svg"))
                                    .pixmap(QSize(32, 32), window()->devicePixelRatioF()));

    connect(m_ui->cmdNextTip, &QPushButton::clicked, this, &frmTip::cmdNextTip_Click);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &frmTip::cmdOK_Click);
    // Esc is the OK button's too (the dialog rejects itself on Esc).
    connect(static_cast<QDialog *>(window()), &QDialog::rejected, this, &frmTip::cmdOK_Click);
    // Raised when the user clicks the box and when the program sets its value.
    connect(m_ui->chkLoadTipsAtStartup, &QCheckBox::toggled, this,
            &frmTip::chkLoadTipsAtStartup_Click);
}

void frmTip::Form_Load()
{
    bool whole = false;
    const int showTips = readShowTipsSetting().trimmed().toInt(&whole);
    if (whole && showTips == 0) {
        unload();
        return;
    }
    m_loading = true;
    m_ui->chkLoadTipsAtStartup->setChecked(true);
    m_loading = false;

    m_random.seed(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));

    if (!LoadTips(tipsDirectory() + QLatin1Char('/') + tipsFileName()))
        m_ui->lblTipText->setText(missingFileNotice());
}

bool frmTip::LoadTips(const QString &sFile)
{
    // Each load reads the file afresh, so the list neither grows with every return to the main
    // window nor keeps tips of a file that has since gone.
    m_tips.clear();
    if (sFile.isEmpty())
        return false;
    const QFileInfo info(sFile);
    if (!info.exists() || info.isDir())
        return false;

    QFile file(sFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&file);
    QStringList lines;
    while (!in.atEnd())
        lines << in.readLine();
    // A file that cannot be read to its end counts as missing.
    if (in.status() != QTextStream::Ok || file.error() != QFileDevice::NoError)
        return false;
    file.close();
    m_tips = lines;

    nextTip();
    return true;
}

void frmTip::nextTip()
{
    // r in [0, 1) in single precision: the top 24 bits of a draw.
    const float r = static_cast<float>(m_random.generate() >> 8) * (1.0f / 16777216.0f);
    m_currentTip = static_cast<int>(static_cast<double>(r) * m_tips.size()) + 1;
    DisplayCurrentTip();
}

void frmTip::DisplayCurrentTip()
{
    if (!m_ui || m_tips.isEmpty() || m_currentTip < 1 || m_currentTip > m_tips.size())
        return;
    m_ui->lblTipText->setText(m_tips.at(m_currentTip - 1));
}

void frmTip::cmdNextTip_Click()
{
    nextTip();
}

void frmTip::cmdOK_Click()
{
    unload();
}

void frmTip::chkLoadTipsAtStartup_Click()
{
    QString file;
    if (writeShowTipsSetting(m_ui->chkLoadTipsAtStartup->isChecked() ? QStringLiteral("1")
                                                                     : QStringLiteral("0"),
                             &file) ||
        m_loading || m_settingsFailureShown)
        return;
    // Said once in a run: the user's choice is lost, not only the program's own write.
    m_settingsFailureShown = true;
    msgBox(tr("Your choice could not be kept: the settings file \"%1\" cannot be written, so "
              "\"Show Tips at Startup\" stays as it was when the program starts next time.")
               .arg(QDir::toNativeSeparators(file)));
}

} // namespace vantora
