// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/quotes/keys.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSettings>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace vantora::quotes {
namespace {

struct QuoteTexts
{
    Q_DECLARE_TR_FUNCTIONS(Quotes)
};

const QString kService = QStringLiteral("vantora");

QString entryName(SourceKind kind)
{
    return QStringLiteral("quotes-%1").arg(sourceName(kind));
}

QString settingsKey(SourceKind kind)
{
    return QStringLiteral("Quotes/Key %1").arg(sourceName(kind));
}

QSettings programSettings()
{
    return QSettings(QSettings::UserScope, QStringLiteral("vantora"), QStringLiteral("vantora"));
}

// Runs a keyring job to its end; a keyring that does not answer within a few seconds counts as
// none (a desktop without one, a session without its bus).
bool runJob(QKeychain::Job *job, QString *why)
{
    job->setAutoDelete(false);
    QEventLoop loop;
    bool finished = false;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(3000, &loop, &QEventLoop::quit);
    job->start();
    if (!finished)
        loop.exec();
    if (!finished) {
        *why = QuoteTexts::tr("the desktop's keyring did not answer");
        return false;
    }
    if (job->error() != QKeychain::NoError && job->error() != QKeychain::EntryNotFound) {
        *why = QuoteTexts::tr("no keyring answers (%1)").arg(job->errorString());
        return false;
    }
    return true;
}

} // namespace

SavedKey savedKey(SourceKind kind)
{
    SavedKey saved;
    const QString inFile = programSettings().value(settingsKey(kind)).toString();
    if (!inFile.isEmpty()) {
        saved.key = inFile;
        saved.place = KeyPlace::SettingsFile;
        return saved;
    }
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(entryName(kind));
    if (runJob(&job, &saved.why))
        saved.key = job.textData();
    else
        saved.place = KeyPlace::SettingsFile;
    return saved;
}

bool saveKey(SourceKind kind, const QString &key, SavedKey *where)
{
    where->key = key;
    where->why.clear();
    QSettings settings = programSettings();
    bool inKeyring = false;
    if (key.isEmpty()) {
        QKeychain::DeletePasswordJob job(kService);
        job.setKey(entryName(kind));
        inKeyring = runJob(&job, &where->why);
    } else {
        QKeychain::WritePasswordJob job(kService);
        job.setKey(entryName(kind));
        job.setTextData(key);
        inKeyring = runJob(&job, &where->why);
    }
    if (inKeyring) {
        // Never left behind in the file once the keyring holds it.
        where->place = KeyPlace::Keyring;
        settings.remove(settingsKey(kind));
        settings.sync();
        return settings.status() == QSettings::NoError;
    }
    where->place = KeyPlace::SettingsFile;
    if (key.isEmpty())
        settings.remove(settingsKey(kind));
    else
        settings.setValue(settingsKey(kind), key);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString keyFor(SourceKind kind, const QString &given)
{
    if (!given.trimmed().isEmpty())
        return given.trimmed();
    const QString environment = qEnvironmentVariable("VANTORA_QUOTES_KEY").trimmed();
    if (!environment.isEmpty() || !needsKey(kind))
        return environment;
    return savedKey(kind).key.trimmed();
}

} // namespace vantora::quotes
