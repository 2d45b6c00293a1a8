// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWebEngineView;

namespace vantora {

// The banner view: asks the view to open the maker's banner page, and nothing more.
void showBanner(QWebEngineView *view);

} // namespace vantora
