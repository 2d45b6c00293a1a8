// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWebEngineView;

namespace vantora {

class BannerView;

// The banner view: asks the view to open the maker's banner page, and nothing more.
void showBanner(QWebEngineView *view);
void showBanner(BannerView *banner);

// Keeps what a page opened from a local file can reach to the offline site: it runs its scripts
// and loads the site's own files, but no other local file and nothing from the network. What the
// user navigates to is not held back. Every web view of the program is guarded so.
void guardLocalPages(QWebEngineView *view);

} // namespace vantora
