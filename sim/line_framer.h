// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "sim/clock.h"

namespace velmo::sim {

// A command line as the receiver sees it: its text and the moment its last
// byte arrived.
struct ReceivedLine {
    std::string text;
    Micros at{0};
};

// Cuts the incoming byte stream into lines. CR LF ends a line at the LF; a
// lone LF ends it at once; a CR that no LF follows within `cr_grace` ends it
// when the grace runs out (or when the next, different byte arrives). Empty
// lines are dropped. Bytes are fed in order of arrival.
class LineFramer {
public:
    // Longer lines are cut to this length; no command comes near it.
    static constexpr std::size_t kMaxLine = 256;

    explicit LineFramer(Micros cr_grace) : cr_grace_(cr_grace) {}

    // A line that the byte completes, if any.
    std::optional<ReceivedLine> Feed(char byte, Micros at);
    // When a pending lone CR will end its line, if one is pending.
    std::optional<Micros> Deadline() const;
    // Ends the pending line if its CR's grace ran out strictly before `t`.
    std::optional<ReceivedLine> ExpireBefore(Micros t);
    // Ends the pending line if its CR's grace has run out by `t`.
    std::optional<ReceivedLine> ExpireBy(Micros t);

    void set_cr_grace(Micros grace) { cr_grace_ = grace; }
    // Bytes of a line begun but not ended.
    std::size_t Pending() const { return buffer_.size(); }
    // Forgets a line begun but not ended.
    void Clear() {
        buffer_.clear();
        cr_at_.reset();
    }

private:
    std::optional<ReceivedLine> Finish(Micros at);

    Micros cr_grace_;
    std::string buffer_;
    std::optional<Micros> cr_at_;
};

}  // namespace velmo::sim
