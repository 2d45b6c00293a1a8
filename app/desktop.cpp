// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop.h"

#include "common/dialogs.h"
#include "data/store/database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>

namespace vantora {

void applyDesktopIdentity()
{
    // PNG, so that no image plugin is needed; the desktop entry names the same icon.
    QIcon icon;
    for (const int size : {48, 128, 256})
        icon.addFile(QStringLiteral(":/icons/vantora-%1.png").arg(size), QSize(size, size));
    QGuiApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("example.tallowby.vantora"));
}

FirstRun offerDatabase(const QString &path, bool namedByUser, bool unattended)
{
    if (namedByUser || unattended || QFileInfo::exists(path))
        return FirstRun::NothingOffered;
    const QString text =
        QStringLiteral("There is no market database yet at\n%1\n\n"
                       "Create it now? The sample database holds stocks, analysts and index "
                       "figures to try every screen on; the empty one is ready for your own.\n\n"
                       "Cancel starts without a database; the command vantora-db create makes "
                       "one later.")
            .arg(QDir::toNativeSeparators(path));
    return createChosenDatabase(path, text, {},
                                QStringLiteral("\n\nThe program starts without a database."));
}

FirstRun createChosenDatabase(const QString &path, const QString &text, const QString &title,
                              const QString &afterFailure)
{
    enum { Sample, Empty, Cancel };
    const int answer =
        choiceBox(text, title,
                  {QCoreApplication::translate("vantora::Desktop", "Create Sample Database"),
                   QCoreApplication::translate("vantora::Desktop", "Create Empty Database"),
                   QCoreApplication::translate("vantora::Desktop", "Cancel")},
                  Sample, Cancel);
    if (answer != Sample && answer != Empty)
        return FirstRun::Declined;
    if (const DbError failure = createDatabase(path, answer == Sample)) {
        msgBox(failure.message + afterFailure, OkOnly, title);
        return FirstRun::CreationFailed;
    }
    return answer == Sample ? FirstRun::CreatedSample : FirstRun::CreatedEmpty;
}

} // namespace vantora
