// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sim/line_framer.h"

namespace velmo::sim {

std::optional<ReceivedLine> LineFramer::Finish(Micros at) {
    cr_at_.reset();
    std::string text;
    text.swap(buffer_);
    if (text.empty()) return std::nullopt;
    return ReceivedLine{std::move(text), at};
}

std::optional<Micros> LineFramer::Deadline() const {
    if (!cr_at_) return std::nullopt;
    return *cr_at_ + cr_grace_;
}

std::optional<ReceivedLine> LineFramer::ExpireBefore(Micros t) {
    if (cr_at_ && *Deadline() < t) return Finish(*Deadline());
    return std::nullopt;
}

std::optional<ReceivedLine> LineFramer::ExpireBy(Micros t) {
    if (cr_at_ && *Deadline() <= t) return Finish(*Deadline());
    return std::nullopt;
}

std::optional<ReceivedLine> LineFramer::Feed(char byte, Micros at) {
    if (cr_at_) {
        if (byte == '\n') return Finish(at);
        // The CR stood alone; this byte starts the next line.
        auto line = Finish(at);
        if (byte == '\r') {
            cr_at_ = at;
        } else {
            buffer_.push_back(byte);
        }
        return line;
    }
    if (byte == '\n') return Finish(at);
    if (byte == '\r') {
        cr_at_ = at;
        return std::nullopt;
    }
    if (buffer_.size() < kMaxLine) buffer_.push_back(byte);
    return std::nullopt;
}

}  // namespace velmo::sim
