// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/screens.h"

#include "analysis/Form12.h"
#include "analysis/Form13.h"
#include "analysis/Form14.h"
#include "analysis/frmHoldings.h"
#include "analysis/frmTrades.h"
#include "app/Form11.h"
#include "forecast/Form3.h"
#include "forecast/frmScorecard.h"
#include "planners/Form2.h"
#include "planners/form1.h"
#include "shell/Form4.h"
#include "shell/Form5.h"
#include "shell/Form6.h"
#include "shell/frmBrowser.h"
#include "shell/frmTip.h"

namespace vantora {
namespace {

template <typename T> std::unique_ptr<Screen> make()
{
    return std::make_unique<T>();
}

// clang-format off
const ScreenEntry kScreens[] = {
    {"Form11",       "Vantora Market Pro", "main window: menus, clock, notice, banner",        make<Form11>},
    {"Form2",        "Investment Planner", "value of a holding and buy, sell or short advice", make<Form2>},
    {"Form3",        "Dow ForeCaster",     "next day's highs and lows of three indices",       make<Form3>},
    {"form1",        "Retirement Planner", "payment amount or target savings",                 make<form1>},
    {"Form12",       "Portfolio",          "price/earnings, profit or loss, company rating",   make<Form12>},
    {"Form14",       "Kestrel Ratings",    "safety, growth, market cap and overall ratings",   make<Form14>},
    {"Form13",       "Analysis",           "market analysts and their picks",                  make<Form13>},
    {"frmHoldings",  "Holdings Overview",  "holdings with value, profit or loss, price chart", make<frmHoldings>},
    {"frmTrades",    "Trades",             "a stock's trades, shares, average cost, returns", make<frmTrades>},
    {"frmScorecard", "Forecast Scorecard", "the forecaster's ranges against the real days",    make<frmScorecard>},
    {"Form6",        "Disclaimer",         "the disclaimer",                                   make<Form6>},
    {"Form4",        "About Tallowby",     "about the program and its maker",                  make<Form4>},
    {"Form5",        "Form5",              "the forecaster's help",                            make<Form5>},
    {"frmTip",       "Tip of the Day",     "a random tip at start-up",                         make<frmTip>},
    {"frmBrowser",   "",                   "a small web browser",                              make<frmBrowser>},
};
// clang-format on

} // namespace

std::span<const ScreenEntry> screenTable()
{
    return kScreens;
}

} // namespace vantora
