// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "panel_view.h"

namespace velmo {

// The longest signal bar, and the longest still drawn in blue.
inline constexpr int kLongestBar = 75;
inline constexpr int kLastBlueBar = 56;

// True once the first occurrence of the code ("I0" or "I1") in the text has
// two characters behind it: the answer to a query is complete.
bool HasCompleteAnswer(std::string_view text, std::string_view code);

// The squelch test: the first "I0" is followed by "07".
bool SquelchOpen(std::string_view reply);

// The bar length that a signal reply gives: the two characters after the
// first "I1", read as a hexadecimal raw level, quartered and calibrated.
// std::nullopt when the reply holds no "I1" (the bar is left alone).
// `previous` is returned when the characters fail the "00".."FF" test.
std::optional<int> SignalBarLength(std::string_view reply, int previous);

// The bar length for a raw level 0..255, capped at the longest bar.
int CalibratedBar(int raw_level);

// " " followed by one "|" per unit of the length.
std::string SignalBarText(int level);
Rgb SignalBarColour(int level);

}  // namespace velmo
