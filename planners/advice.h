// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/numbers.h"

#include <QList>
#include <QString>

// The investment planner's share value and its advice.
namespace vantora {

// Shares owned times the current price, unrounded; Overflow beyond the double's range.
Checked shareValue(double shares, double price);

enum class Advice { Buy, SellWait, Short, BuyAggressively };

// The four tests, each standing by itself, in the order they are made; every test that holds
// gives its advice, and the last one is the advice that stays. The differences are absolute, in
// price units. Only figures that are no numbers give no advice at all.
QList<Advice> adviseOn(double predictedPrice, double currentPrice, double yearHigh);

// The message that tells the user the advice (in the user's language), and the advice as the
// planner writes it into the stock's record (always the same English words: stored data).
QString adviceMessage(Advice advice);
QString adviceText(Advice advice);

} // namespace vantora
