// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "replies.h"

#include "protocol.h"

namespace velmo {
namespace {

// Length of the text without its leading and trailing blanks (code 32 only).
std::size_t TrimmedLength(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return 0;
    const auto last = text.find_last_not_of(' ');
    return last - first + 1;
}

}  // namespace

std::string_view ReplyMarker(std::string_view code) {
    for (const auto& [head, marker] : protocol::kReplyMarkers) {
        if (code.starts_with(head)) return marker;
    }
    return "";
}

std::vector<std::string> ReplyEntries(std::string_view reply, std::size_t newest) {
    const std::size_t examined = TrimmedLength(reply);
    std::string cleaned;
    cleaned.reserve(examined);
    for (std::size_t i = 0; i < examined; ++i) {
        const char c = reply[i];
        if (c != '\r' && c != '\n') cleaned.push_back(c);
    }

    // Codes start at 0, 4, 8, ... while the start lies within the trimmed
    // length; each runs on to 4 characters unless the cleaned text itself
    // ends sooner, so blanks inside and after the last code are kept.
    const std::size_t usable = TrimmedLength(cleaned);
    const std::size_t codes = (usable + 3) / 4;
    const std::size_t skipped = codes > newest ? codes - newest : 0;
    std::vector<std::string> entries;
    entries.reserve(codes - skipped);
    for (std::size_t start = skipped * 4; start < usable; start += 4) {
        const std::string_view code = std::string_view(cleaned).substr(start, 4);
        std::string entry(ReplyMarker(code));
        entry.append(code);
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace velmo
