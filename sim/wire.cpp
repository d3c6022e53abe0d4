// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sim/wire.h"

namespace velmo::sim {

Micros Wire::ArrivalOf(Micros start, std::int64_t n) {
    // Rounded up: a byte is never readable before it has fully arrived.
    constexpr std::int64_t kMicrosPerSecond = 1'000'000;
    return start + Micros{(n * kMicrosPerSecond + kBytesPerSecond - 1) / kBytesPerSecond};
}

Micros Wire::BusyUntil() const { return timed_ ? ArrivalOf(run_start_, run_bytes_) : run_start_; }

void Wire::Send(std::string_view bytes, Micros now) {
    for (char b : bytes) {
        if (!timed_) {
            run_start_ = now;
            in_flight_.push_back({now, b});
            continue;
        }
        if (now >= BusyUntil()) {
            run_start_ = now;
            run_bytes_ = 0;
        }
        ++run_bytes_;
        in_flight_.push_back({ArrivalOf(run_start_, run_bytes_), b});
    }
}

void Wire::Clear() {
    in_flight_.clear();
    run_bytes_ = 0;
}

std::optional<Micros> Wire::NextArrival() const {
    if (in_flight_.empty()) return std::nullopt;
    return in_flight_.front().arrives;
}

char Wire::PopFront() {
    const char b = in_flight_.front().byte;
    in_flight_.pop_front();
    return b;
}

std::string Wire::TakeArrived(Micros now) {
    std::string out;
    while (!in_flight_.empty() && in_flight_.front().arrives <= now) out.push_back(PopFront());
    return out;
}

}  // namespace velmo::sim
