// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "qt_timer.h"

#include <QAbstractEventDispatcher>
#include <utility>

namespace velmo {

QtTimer::QtTimer(std::function<void()> on_tick, QObject* parent) : QObject(parent), on_tick_(std::move(on_tick)) {
    clock_.setTimerType(Qt::PreciseTimer);
    connect(&clock_, &QTimer::timeout, this, &QtTimer::Tick);
}

void QtTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;  // enabling a running timer keeps its countdown
    enabled_ = enabled;
    Restart();
}

void QtTimer::SetInterval(int ms) {
    interval_ = ms;
    Restart();
}

void QtTimer::Restart() {
    if (enabled_ && interval_ > 0) {
        clock_.start(interval_);
    } else {
        clock_.stop();
    }
}

void QtTimer::Tick() {
    if (in_tick_) return;
    in_tick_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{in_tick_};
    on_tick_();
#ifdef Q_OS_WIN
    // Qt's Windows event dispatcher hands a precise timer's tick over as a
    // posted event at the start of processEvents(), then waits for a window
    // message as if nothing had happened: a pause ended by this tick would
    // sleep on until a key, a paint or another timer's message came. Its own
    // wake-up message lets the waiting loop return and see the tick.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
#endif
}

}  // namespace velmo
