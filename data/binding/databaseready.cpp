// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/binding/databaseready.h"

#include "common/config.h"
#include "common/dialogs.h"
#include "data/store/openingcheck.h"

#include <QCoreApplication>

namespace vantora {

bool databaseReady(const QString &title)
{
    QString notice;
    const DbError failure = awaitUsable(config::databasePath(), &notice, [] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    const QString message = failure ? failure.message : notice;
    if (!message.isEmpty())
        msgBox(message, OkOnly, title);
    return !failure;
}

} // namespace vantora
