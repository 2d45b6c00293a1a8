// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/banner.h"

#include "app/webview.h"
#include "common/config.h"

namespace vantora {

void showBanner(WebView *view)
{
    if (view)
        view->setUrl(config::bannerUrl());
}

} // namespace vantora
