// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <chrono>

namespace velmo::sim {

using Micros = std::chrono::microseconds;

// Where the simulated receiver takes its time from. Everything in the
// simulator is a pure function of the times it is given, so a test can run
// it on a virtual clock and the pty server on a real one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Micros Now() const = 0;
};

// Real time from the monotonic clock.
class SteadyClock : public Clock {
public:
    Micros Now() const override;
};

}  // namespace velmo::sim
