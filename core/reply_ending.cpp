// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "reply_ending.h"

#include <algorithm>

namespace velmo {

bool EndsWithWholeReply(std::string_view text, ReplyEnding ending) {
    if (text.empty()) return false;
    if (text.back() == '\n') return true;
    switch (ending) {
        case ReplyEnding::Lf: return false;
        case ReplyEnding::CrAlone: return text.back() == '\r';
        case ReplyEnding::Nothing: {
            const auto line_ends = std::count_if(text.begin(), text.end(), [](char c) { return c == '\r'; });
            return (text.size() - static_cast<std::size_t>(line_ends)) % 4 == 0;
        }
    }
    return false;
}

ReplyEnding LearnReplyEnding(std::string_view text, bool fell_quiet, ReplyEnding known) {
    if (text.find('\n') != std::string_view::npos) return ReplyEnding::Lf;
    // A CR with something other than LF behind it ended a line by itself.
    const auto cr = text.find('\r');
    if (cr != std::string_view::npos && cr + 1 < text.size()) return ReplyEnding::CrAlone;
    if (!fell_quiet || text.empty()) return known;
    // At 9600 baud an LF follows its CR within a millisecond, long before
    // the line falls quiet.
    if (text.back() == '\r') return ReplyEnding::CrAlone;
    return ReplyEnding::Nothing;
}

}  // namespace velmo
