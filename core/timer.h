// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace velmo {

// An interval timer as the window has three of them. It ticks while it is
// enabled and its interval is above 0; an interval of 0 stops the ticks
// without disabling it. A tick never starts while the previous tick of the
// same timer is still running (pauses included): a tick falling due then is
// dropped. Implementations deliver the ticks to whoever owns them.
class Timer {
public:
    virtual ~Timer() = default;

    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    // Milliseconds. Setting it restarts the countdown of a running timer.
    virtual void SetInterval(int ms) = 0;
    virtual int Interval() const = 0;
};

}  // namespace velmo
