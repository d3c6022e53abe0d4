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
    due_us_ = clock_.Now() + std::int64_t{interval_ms_} * 1000;
    ++restarts_;
}

void VirtualTimer::Tick() {
    running_ = true;
    ++ticks_;
    const auto restarts_before = restarts_;
    const auto period = std::int64_t{interval_ms_} * 1000;
    due_us_ += period;
    on_tick_();
    running_ = false;
    // Ticks that fell due while this one ran are dropped; a restart during
    // the tick has already set the next due time.
    if (restarts_ == restarts_before && period > 0) {
        while (due_us_ <= clock_.Now()) {
            due_us_ += period;
            ++dropped_;
        }
    }
}

void VirtualClock::At(std::int64_t time_us, std::function<void()> event) {
    events_.push_back({time_us, next_order_++, std::move(event)});
}

std::unique_ptr<VirtualTimer> VirtualClock::NewTimer(std::function<void()> on_tick) {
    return std::make_unique<VirtualTimer>(*this, std::move(on_tick));
}

void VirtualClock::Unregister(VirtualTimer* timer) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end());
}

bool VirtualClock::NextDue(std::int64_t& time_us, VirtualTimer*& timer, std::size_t& event_index) const {
    bool found = false;
    std::uint64_t best_order = 0;
    timer = nullptr;
    for (std::size_t i = 0; i < events_.size(); ++i) {
        const auto& e = events_[i];
        if (!found || e.time_us < time_us || (e.time_us == time_us && e.order < best_order)) {
            found = true;
            time_us = e.time_us;
            best_order = e.order;
            event_index = i;
        }
    }
    for (auto* t : timers_) {
        // A timer due at the same time as an event runs after it.
        if (t->Armed() && (!found || std::max(t->due_us_, now_us_) < std::max(time_us, now_us_))) {
            found = true;
            time_us = t->due_us_;
            timer = t;
        }
    }
    return found;
}

bool VirtualClock::RunNext() {
    std::int64_t time_us = 0;
    VirtualTimer* timer = nullptr;
    std::size_t event_index = 0;
    if (!NextDue(time_us, timer, event_index)) return false;
    now_us_ = std::max(now_us_, time_us);
    if (timer != nullptr) {
        timer->Tick();
    } else {
        auto run = std::move(events_[event_index].run);
        events_.erase(events_.begin() + static_cast<std::ptrdiff_t>(event_index));
        run();
    }
    return true;
}

void VirtualClock::RunUntil(std::int64_t time_us) {
    for (;;) {
        std::int64_t due = 0;
        VirtualTimer* timer = nullptr;
        std::size_t event_index = 0;
        if (!NextDue(due, timer, event_index) || due > time_us) break;
        RunNext();
    }
    now_us_ = std::max(now_us_, time_us);
}

}  // namespace velmo::testing
