// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <chrono>

namespace velmo {

using Micros = std::chrono::microseconds;

// Where the panel, and the simulated receiver, take the time from: the
// monotonic clock in the program, a virtual one in the tests.
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

}  // namespace velmo
