// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/banner.h"

#include "common/config.h"

#include <QWebEngineView>

namespace vantora {

void showBanner(QWebEngineView *view)
{
    if (view)
        view->setUrl(config::bannerUrl());
}

} // namespace vantora
