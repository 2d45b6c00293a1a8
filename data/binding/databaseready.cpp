// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/binding/databaseready.h"

#include "common/config.h"
#include "common/dialogs.h"
#include "data/store/openingcheck.h"

#include <QCoreApplication>

namespace vantora {

bool databaseReady(const QString &title)
{
    QString message;
    const bool usable = awaitUsable(config::databasePath(), &message, [] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    if (!message.isEmpty())
        msgBox(message, OkOnly, title);
    return usable;
}

} // namespace vantora
