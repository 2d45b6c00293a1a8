// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sessionend.h"

#include "app/navigation.h"
#include "app/registry.h"
#include "common/config.h"
#include "common/dialogs.h"
#include "data/binding/datacontrol.h"
#include "data/store/privatefiles.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSessionManager>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vantora {
namespace {

// The signal handler only writes the signal's number here; the notifier reads it in the event
// loop, where saving is safe.
int g_signalPipe[2] = {-1, -1};
bool g_keptThisRun = false; // the file holds edits of this run (the session manager asked)
bool g_leaving = false;

struct SessionTexts
{
    Q_DECLARE_TR_FUNCTIONS(SessionEnd)
};

void onSignal(int signal)
{
    const unsigned char number = static_cast<unsigned char>(signal);
    const ssize_t written = ::write(g_signalPipe[1], &number, 1);
    static_cast<void>(written); // a full pipe means a signal is already waiting
}

struct KeptEdit
{
    QString screen, title;
    DataControl::UnsavedEdit edit;
};

QJsonArray toJson(const QStringList &list)
{
    return QJsonArray::fromStringList(list);
}

QStringList stringsOf(const QJsonValue &value)
{
    QStringList list;
    for (const QJsonValue &item : value.toArray())
        list << item.toString();
    return list;
}

bool writeKept(const QList<KeptEdit> &kept)
{
    const QString path = keptEditsPath(config::databasePath());
    if (kept.isEmpty()) {
        QFile::remove(path);
        return true;
    }
    QJsonArray entries;
    for (const KeptEdit &k : kept)
        entries.append(QJsonObject{{QStringLiteral("screen"), k.screen},
                                   {QStringLiteral("title"), k.title},
                                   {QStringLiteral("table"), k.edit.table},
                                   {QStringLiteral("row"), QString::number(k.edit.rowId)},
                                   {QStringLiteral("record"), k.edit.record},
                                   {QStringLiteral("reason"), k.edit.reason},
                                   {QStringLiteral("fields"), toJson(k.edit.fields)},
                                   {QStringLiteral("typed"), toJson(k.edit.typed)},
                                   {QStringLiteral("read"), toJson(k.edit.read)}});
    NewPrivateFile file(path);
    return file.open() && file.write(QJsonDocument(entries).toJson()) && file.commit(true);
}

QList<KeptEdit> readKept(const QString &path)
{
    QFile file(path);
    QList<KeptEdit> kept;
    if (!file.open(QIODevice::ReadOnly))
        return kept;
    for (const QJsonValue &value : QJsonDocument::fromJson(file.readAll()).array()) {
        const QJsonObject o = value.toObject();
        KeptEdit k;
        k.screen = o.value(QStringLiteral("screen")).toString();
        k.title = o.value(QStringLiteral("title")).toString();
        k.edit.table = o.value(QStringLiteral("table")).toString();
        k.edit.rowId = o.value(QStringLiteral("row")).toString().toLongLong();
        k.edit.record = o.value(QStringLiteral("record")).toString();
        k.edit.reason = o.value(QStringLiteral("reason")).toString();
        k.edit.fields = stringsOf(o.value(QStringLiteral("fields")));
        k.edit.typed = stringsOf(o.value(QStringLiteral("typed")));
        k.edit.read = stringsOf(o.value(QStringLiteral("read")));
        if (ScreenRegistry::has(k.screen) && !k.edit.fields.isEmpty())
            kept << k;
    }
    return kept;
}

QString offerText(const KeptEdit &k)
{
    QString text = SessionTexts::tr("Restore the changes you had not saved?\n\n");
    text += k.edit.record.isEmpty() ? SessionTexts::tr("%1, a new record").arg(k.title)
                                    : QStringLiteral("%1: %2").arg(k.title, k.edit.record);
    for (qsizetype i = 0; i < k.edit.fields.size(); ++i)
        text += SessionTexts::tr("\n%1: \"%2\" (was \"%3\")")
                    .arg(k.edit.fields[i], k.edit.typed.value(i), k.edit.read.value(i));
    if (!k.edit.reason.isEmpty())
        text += SessionTexts::tr("\n\nThey could not be saved when the program ended: %1")
                    .arg(k.edit.reason);
    text += SessionTexts::tr("\n\nOK puts them back on the screen, unsaved, for you to check and "
                             "save; Cancel discards them.");
    return text;
}

} // namespace

QString keptEditsPath(const QString &databasePath)
{
    return databasePath + QStringLiteral(".unsaved");
}

int saveForSessionEnd(bool leaving)
{
    QList<KeptEdit> kept;
    for (Screen *screen : ScreenRegistry::loaded()) {
        if (!screen->window())
            continue;
        for (DataControl *binding : screen->window()->findChildren<DataControl *>()) {
            DataControl::UnsavedEdit edit;
            if (binding->saveUnattended(&edit))
                continue;
            kept << KeptEdit{screen->name(), screen->window()->windowTitle(), edit};
            if (leaving)
                binding->revert();
        }
    }
    if (kept.isEmpty() && !g_keptThisRun)
        return 0; // a file from an earlier run waits to be offered
    writeKept(kept);
    g_keptThisRun = !kept.isEmpty();
    return int(kept.size());
}

void watchSessionEnd(QApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        return;
    ::fcntl(g_signalPipe[1], F_SETFL, O_NONBLOCK);
    auto *notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
        unsigned char number = 0;
        if (::read(g_signalPipe[0], &number, 1) != 1 || g_leaving)
            return;
        g_leaving = true;
        notifier->setEnabled(false);
        saveForSessionEnd(true);
        QCoreApplication::exit(128 + number);
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);

#ifndef QT_NO_SESSIONMANAGER
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                     [](QSessionManager &) { saveForSessionEnd(false); });
#endif
    // Ended by the user, every screen has been closed with its questions: what the session
    // manager's request kept is no longer needed.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, [] {
        if (g_keptThisRun && !g_leaving)
            QFile::remove(keptEditsPath(config::databasePath()));
    });
}

void offerKeptEdits()
{
    const QString path = keptEditsPath(config::databasePath());
    const QList<KeptEdit> kept = readKept(path);
    if (!QFile::exists(path))
        return;
    for (const KeptEdit &k : kept) {
        if (msgBox(offerText(k), OkCancel) != AnswerOk)
            continue;
        Screen *screen = ScreenRegistry::get(k.screen);
        if (!screen->isLoaded()) {
            Screen *main = ScreenRegistry::existing(QStringLiteral("Form11"));
            navigate(main && main->isLoaded() ? main : nullptr, k.screen);
        }
        DataControl *binding =
            screen->isLoaded() ? screen->window()->findChild<DataControl *>() : nullptr;
        if (!binding || !binding->restoreEdit(k.edit))
            msgBox(SessionTexts::tr("The changes cannot be put back: the record \"%1\" is no "
                                    "longer stored.")
                       .arg(k.edit.record));
    }
    QFile::remove(path);
}

} // namespace vantora
