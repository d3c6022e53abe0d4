// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "timer.h"

namespace velmo {

// A panel timer on a QTimer. A tick may pause and let events run; a QTimer
// restarted meanwhile (the scanner stopped and started during its hold)
// would call its slot again from inside that pause. This one drops a tick
// that falls due while the previous tick is still running.
class QtTimer final : public QObject, public Timer {
    Q_OBJECT
public:
    explicit QtTimer(std::function<void()> on_tick, QObject* parent = nullptr);

    void SetEnabled(bool enabled) override;
    bool Enabled() const override { return enabled_; }
    void SetInterval(int ms) override;
    int Interval() const override { return interval_; }

    // Whether ticks are being counted down at the moment.
    bool Ticking() const { return clock_.isActive(); }
    // The underlying clock, for observing when ticks fall due.
    const QTimer& Clock() const { return clock_; }

private:
    void Restart();
    void Tick();

    std::function<void()> on_tick_;
    QTimer clock_;
    bool enabled_ = false;
    int interval_ = 0;
    bool in_tick_ = false;
};

}  // namespace velmo
