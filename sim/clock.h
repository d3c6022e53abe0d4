#pragma once

#include <chrono>
#include <functional>

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

// Stands still until told to move; for tests.
class VirtualClock : public Clock {
public:
    explicit VirtualClock(Micros start = Micros{0}) : now_(start) {}
    Micros Now() const override { return now_; }
    void Set(Micros now) { now_ = now; }
    void Advance(Micros by) { now_ += by; }

private:
    Micros now_;
};

// Real time from the monotonic clock.
class SteadyClock : public Clock {
public:
    Micros Now() const override;
};

// Borrows somebody else's clock, e.g. a test harness that keeps its own time.
class CallbackClock : public Clock {
public:
    explicit CallbackClock(std::function<Micros()> now) : now_(std::move(now)) {}
    Micros Now() const override { return now_(); }

private:
    std::function<Micros()> now_;
};

}  // namespace velmo::sim
