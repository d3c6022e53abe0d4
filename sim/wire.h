// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "sim/clock.h"

namespace velmo::sim {

// One direction of the serial line. At 9600 baud 8N1 a byte takes ten bit
// times, so 960 bytes cross per second; a byte sent while the line is busy
// starts when the previous one ends. Untimed, every byte arrives the moment
// it is sent.
class Wire {
public:
    static constexpr std::int64_t kBytesPerSecond = 960;

    explicit Wire(bool timed) : timed_(timed) {}

    void Send(std::string_view bytes, Micros now);
    // When the n-th byte of a run that starts at `start` has fully arrived.
    static Micros ArrivalOf(Micros start, std::int64_t n);

    std::optional<Micros> NextArrival() const;
    // Removes the first byte in flight; only when NextArrival() has a value.
    char PopFront();
    // Removes and returns every byte that has arrived by `now`.
    std::string TakeArrived(Micros now);
    // When the line next falls idle.
    Micros BusyUntil() const;
    // Bytes sent that have not arrived yet.
    std::size_t BytesInFlight() const { return in_flight_.size(); }
    // Drops every byte still in flight; the line falls idle at once.
    void Clear();

private:
    struct InFlight {
        Micros arrives;
        char byte;
    };

    bool timed_;
    // The current run of back-to-back bytes; times are worked out from its
    // start so that 1/960 s never accumulates rounding.
    Micros run_start_{0};
    std::int64_t run_bytes_ = 0;
    std::deque<InFlight> in_flight_;
};

}  // namespace velmo::sim
