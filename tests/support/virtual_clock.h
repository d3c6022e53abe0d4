// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "sim/clock.h"
#include "timer.h"

namespace velmo::testing {

class VirtualClock;

// A timer driven by the virtual clock, with the toolkit's rules: it ticks
// while enabled with an interval above 0, setting the interval restarts the
// countdown, and a tick falling due while its previous tick still runs is
// dropped.
class VirtualTimer : public Timer {
public:
    VirtualTimer(VirtualClock& clock, std::function<void()> on_tick);
    ~VirtualTimer() override;
    VirtualTimer(const VirtualTimer&) = delete;
    VirtualTimer& operator=(const VirtualTimer&) = delete;

    void SetEnabled(bool enabled) override;
    bool Enabled() const override { return enabled_; }
    void SetInterval(int ms) override;
    int Interval() const override { return interval_ms_; }

    int ticks() const { return ticks_; }
    int dropped() const { return dropped_; }

private:
    friend class VirtualClock;
    bool Armed() const { return enabled_ && interval_ms_ > 0 && !running_; }
    void Restart();
    void Tick();

    VirtualClock& clock_;
    std::function<void()> on_tick_;
    bool enabled_ = false;
    int interval_ms_ = 0;
    sim::Micros due_{0};
    std::uint64_t restarts_ = 0;
    bool running_ = false;
    int ticks_ = 0;
    int dropped_ = 0;
};

// Virtual time, for the panel's timers and a test's scripted events, and
// for the simulated receiver as its clock. Runs timer ticks and events in
// time order; nothing ever sleeps.
class VirtualClock : public sim::Clock {
public:
    sim::Micros Now() const override { return now_; }
    // Now, as a count of microseconds.
    std::int64_t NowUs() const { return now_.count(); }

    // A scripted event (a user's click, a key) at a given time.
    void At(sim::Micros time, std::function<void()> event);
    void At(std::int64_t time_us, std::function<void()> event) { At(sim::Micros{time_us}, std::move(event)); }
    void AtMs(double time_ms, std::function<void()> event) {
        At(static_cast<std::int64_t>(time_ms * 1000.0), std::move(event));
    }

    std::unique_ptr<VirtualTimer> NewTimer(std::function<void()> on_tick);

    // Advances to the next due tick or event and runs it. False when
    // nothing is pending at all.
    bool RunNext();
    // Runs everything due up to the given time, then stands there.
    void RunUntil(sim::Micros time);
    void RunUntil(std::int64_t time_us) { RunUntil(sim::Micros{time_us}); }
    void RunUntilMs(double time_ms) { RunUntil(static_cast<std::int64_t>(time_ms * 1000.0)); }
    // Moves time on by `span`, running what falls due meanwhile.
    void Advance(sim::Micros span) { RunUntil(now_ + span); }

private:
    friend class VirtualTimer;
    struct Event {
        sim::Micros time;
        std::uint64_t order;
        std::function<void()> run;
    };
    // The next thing to run, or none; writes its time.
    bool NextDue(sim::Micros& time, VirtualTimer*& timer, std::size_t& event_index) const;
    void Register(VirtualTimer* timer) { timers_.push_back(timer); }
    void Unregister(VirtualTimer* timer);

    sim::Micros now_{0};
    std::uint64_t next_order_ = 0;
    std::vector<Event> events_;
    std::vector<VirtualTimer*> timers_;
};

}  // namespace velmo::testing
