// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "virtual_clock.h"

#include <algorithm>

namespace velmo::testing {

VirtualTimer::VirtualTimer(VirtualClock& clock, std::function<void()> on_tick)
    : clock_(clock), on_tick_(std::move(on_tick)) {
    clock_.Register(this);
}

VirtualTimer::~VirtualTimer() { clock_.Unregister(this); }

void VirtualTimer::SetEnabled(bool enabled) {
    if (enabled && !enabled_) {
        enabled_ = true;
        Restart();
    }
    enabled_ = enabled;
}

void VirtualTimer::SetInterval(int ms) {
    interval_ms_ = ms;
    Restart();
}

void VirtualTimer::Restart() {
    due_ = clock_.Now() + sim::Micros{std::int64_t{interval_ms_} * 1000};
    ++restarts_;
}

void VirtualTimer::Tick() {
    running_ = true;
    ++ticks_;
    const auto restarts_before = restarts_;
    const sim::Micros period{std::int64_t{interval_ms_} * 1000};
    due_ += period;
    on_tick_();
    running_ = false;
    // Ticks that fell due while this one ran are dropped; a restart during
    // the tick has already set the next due time.
    if (restarts_ == restarts_before && period > sim::Micros{0}) {
        while (due_ <= clock_.Now()) {
            due_ += period;
            ++dropped_;
        }
    }
}

void VirtualClock::At(sim::Micros time, std::function<void()> event) {
    events_.push_back({time, next_order_++, std::move(event)});
}

std::unique_ptr<VirtualTimer> VirtualClock::NewTimer(std::function<void()> on_tick) {
    return std::make_unique<VirtualTimer>(*this, std::move(on_tick));
}

void VirtualClock::Unregister(VirtualTimer* timer) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end());
}

bool VirtualClock::NextDue(sim::Micros& time, VirtualTimer*& timer, std::size_t& event_index) const {
    bool found = false;
    std::uint64_t best_order = 0;
    timer = nullptr;
    for (std::size_t i = 0; i < events_.size(); ++i) {
        const auto& e = events_[i];
        if (!found || e.time < time || (e.time == time && e.order < best_order)) {
            found = true;
            time = e.time;
            best_order = e.order;
            event_index = i;
        }
    }
    for (auto* t : timers_) {
        // A timer due at the same time as an event runs after it.
        if (t->Armed() && (!found || std::max(t->due_, now_) < std::max(time, now_))) {
            found = true;
            time = t->due_;
            timer = t;
        }
    }
    return found;
}

bool VirtualClock::RunNext() {
    sim::Micros time{0};
    VirtualTimer* timer = nullptr;
    std::size_t event_index = 0;
    if (!NextDue(time, timer, event_index)) return false;
    now_ = std::max(now_, time);
    if (timer != nullptr) {
        timer->Tick();
    } else {
        auto run = std::move(events_[event_index].run);
        events_.erase(events_.begin() + static_cast<std::ptrdiff_t>(event_index));
        run();
    }
    return true;
}

void VirtualClock::RunUntil(sim::Micros time) {
    for (;;) {
        sim::Micros due{0};
        VirtualTimer* timer = nullptr;
        std::size_t event_index = 0;
        if (!NextDue(due, timer, event_index) || due > time) break;
        RunNext();
    }
    now_ = std::max(now_, time);
}

}  // namespace velmo::testing
