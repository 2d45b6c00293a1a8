// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vantora {

class BannerView;
class WebView;

// The banner view: asks the view to open the maker's banner page, and nothing more.
void showBanner(WebView *view);
void showBanner(BannerView *banner);

} // namespace vantora
