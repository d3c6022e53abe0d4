// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string_view>

namespace velmo {

// How the receiver ends its replies, as far as its replies have shown it.
// Until they show otherwise, a reply is taken to end in LF (CR LF or LF).
enum class ReplyEnding { Lf, CrAlone, Nothing };

// True when `text`, read from the receiver, ends with a whole reply of a
// receiver whose replies end as `ending`: in LF; in CR for one that ends
// them in CR alone; on a whole 4-character code for one that ends them in
// nothing at all.
bool EndsWithWholeReply(std::string_view text, ReplyEnding ending);

// What `text` shows of the receiver's ending, given what was known before.
// `fell_quiet`: a pause after the text brought nothing more, so the text
// ends where the receiver stopped sending. Any LF says Lf again.
ReplyEnding LearnReplyEnding(std::string_view text, bool fell_quiet, ReplyEnding known);

}  // namespace velmo
