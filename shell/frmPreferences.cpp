// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/frmPreferences.h"

#include "common/dialogs.h"
#include "data/quotes/keys.h"
#include "data/quotes/quotesource.h"
#include "data/store/backup.h"
#include "shell/frmTip.h"

#include <QCoreApplication>
#include <QSettings>

namespace vantora {
namespace {

using quotes::SourceKind;

constexpr SourceKind kSources[] = {SourceKind::Yahoo, SourceKind::AlphaVantage, SourceKind::Stooq,
                                   SourceKind::Template};

QSettings programSettings()
{
    return QSettings(QSettings::UserScope, QStringLiteral("vantora"), QStringLiteral("vantora"));
}

// The tip window keeps its switch in the store named after the program file.
QSettings tipSettings()
{
    const QString app = QCoreApplication::applicationName();
    return QSettings(QSettings::UserScope, app, app);
}

} // namespace

bool frmPreferences::updateAtStart()
{
    return programSettings().value(updateAtStartKey(), false).toBool();
}

void frmPreferences::connectHandlers()
{
    for (const SourceKind kind : kSources)
        m_ui->cboSource->addItem(quotes::sourceTitle(kind));
    connect(m_ui->cboSource, &QComboBox::currentIndexChanged, this,
            &frmPreferences::cboSource_Click);
    connect(m_ui->cmdTry, &QPushButton::clicked, this, &frmPreferences::cmdTry_Click);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &frmPreferences::cmdOK_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &frmPreferences::cmdCancel_Click);
    connect(static_cast<QDialog *>(window()), &QDialog::rejected, this,
            &frmPreferences::cmdCancel_Click);
}

void frmPreferences::Form_Load()
{
    QSettings settings = programSettings();
    m_loadedSource = -1;
    m_ui->txtTemplate->setText(quotes::savedTemplate());
    m_ui->chkUpdateAtStart->setChecked(updateAtStart());
    m_ui->chkTips->setChecked(
        tipSettings()
            .value(frmTip::settingsSection() + QLatin1Char('/') + frmTip::settingsKey(),
                   QStringLiteral("1"))
            .toString()
            .trimmed() != QLatin1String("0"));
    m_ui->spnBackups->setValue(backupsKept());
    const int source =
        int(std::find(std::begin(kSources), std::end(kSources), quotes::savedSource()) -
            std::begin(kSources));
    m_ui->cboSource->setCurrentIndex(source);
    cboSource_Click();
}

void frmPreferences::cboSource_Click()
{
    const int index = m_ui->cboSource->currentIndex();
    if (index < 0 || index == m_loadedSource)
        return;
    const SourceKind kind = kSources[index];
    const bool keyed = quotes::needsKey(kind);
    m_ui->txtKey->setEnabled(keyed);
    m_ui->lblKey->setEnabled(keyed);
    m_ui->txtTemplate->setEnabled(kind == SourceKind::Template);
    m_ui->lblTemplate->setEnabled(kind == SourceKind::Template);
    m_ui->lblTry->clear();
    m_loadedSource = index;
    if (!keyed) {
        m_loadedKey.clear();
        m_ui->txtKey->clear();
        m_ui->lblKeyPlace->clear();
        return;
    }
    const quotes::SavedKey saved = quotes::savedKey(kind);
    m_loadedKey = saved.key;
    m_ui->txtKey->setText(saved.key);
    m_ui->lblKeyPlace->setText(
        saved.place == quotes::KeyPlace::Keyring
            ? tr("The key is kept in the desktop's keyring.")
            : tr("The key is kept in the settings file \"%1\", readable by you only (%2).")
                  .arg(programSettings().fileName(),
                       saved.why.isEmpty() ? tr("it was saved there") : saved.why));
}

void frmPreferences::cmdTry_Click()
{
    const SourceKind kind = kSources[std::max(0, m_ui->cboSource->currentIndex())];
    quotes::FetchOptions options = quotes::savedOptions();
    options.source = kind;
    options.urlTemplate = m_ui->txtTemplate->text().trimmed();
    options.key = quotes::keyFor(kind, m_ui->txtKey->text());
    options.limits.totalMs = 20000;
    m_ui->lblTry->setText(tr("Asking…"));
    QCoreApplication::processEvents();
    m_ui->lblTry->setText(quotes::trySource(options, QStringLiteral("MSFT")));
}

void frmPreferences::cmdOK_Click()
{
    const SourceKind kind = kSources[std::max(0, m_ui->cboSource->currentIndex())];
    const QString urlTemplate = m_ui->txtTemplate->text().trimmed();
    if (kind == SourceKind::Template)
        if (const std::optional<QString> problem = quotes::templateProblem(urlTemplate)) {
            msgBox(*problem, OkOnly, tr("Preferences"));
            m_ui->txtTemplate->setFocus();
            return;
        }
    QStringList failures;
    if (quotes::needsKey(kind) && m_ui->txtKey->text().trimmed() != m_loadedKey) {
        quotes::SavedKey where;
        if (!quotes::saveKey(kind, m_ui->txtKey->text().trimmed(), &where))
            failures << tr("the key could not be saved");
        else if (where.place == quotes::KeyPlace::SettingsFile && !where.why.isEmpty())
            msgBox(tr("The key is kept in the settings file \"%1\", readable by you only: %2.")
                       .arg(programSettings().fileName(), where.why),
                   OkOnly, tr("Preferences"));
    }
    QSettings settings = programSettings();
    settings.setValue(QStringLiteral("Quotes/Source"), quotes::sourceName(kind));
    if (!urlTemplate.isEmpty())
        settings.setValue(QStringLiteral("Quotes/URL template"), urlTemplate);
    settings.setValue(updateAtStartKey(), m_ui->chkUpdateAtStart->isChecked());
    settings.setValue(backupsKeptKey(), m_ui->spnBackups->value());
    settings.sync();
    QSettings tips = tipSettings();
    tips.setValue(frmTip::settingsSection() + QLatin1Char('/') + frmTip::settingsKey(),
                  m_ui->chkTips->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    tips.sync();
    if (settings.status() != QSettings::NoError || tips.status() != QSettings::NoError)
        failures << tr("the settings file \"%1\" could not be written").arg(settings.fileName());
    if (!failures.isEmpty()) {
        msgBox(
            tr("The preferences were not all saved: %1.").arg(failures.join(QLatin1String("; "))),
            OkOnly, tr("Preferences"));
        return;
    }
    unload();
}

void frmPreferences::cmdCancel_Click()
{
    unload();
}

} // namespace vantora
