// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

// The marker that goes in front of a reply code in the list of replies:
// "G0" acknowledgements, "I1" signal readings and "I0" squelch readings each
// get their own arrow; anything else is listed as it came.
std::string_view ReplyMarker(std::string_view code);

// Cuts received text into list entries: line endings are removed, the rest
// is cut into 4-character codes from the start (the last one may be
// shorter), each with its marker. Leading and trailing blanks shorten the
// part examined and the number of codes, but not a code itself: a code
// ends only where the text without line endings ends.
// Only the last `newest` entries are made, so that a flood of received
// text costs no more than the list that shows it can keep.
std::vector<std::string> ReplyEntries(std::string_view reply, std::size_t newest = SIZE_MAX);

}  // namespace velmo
