// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "qt_timer.h"

#include <gtest/gtest.h>
#include <QEventLoop>
#include <QSignalSpy>
#include <ostream>

#include "window_test_support.h"

namespace velmo {
namespace {

using testing::WaitUntil;

struct StateCase {
    bool enabled;
    int interval;
    bool ticking;
    friend void PrintTo(const StateCase& c, std::ostream* out) {
        *out << (c.enabled ? "enabled" : "disabled") << ", " << c.interval << " ms";
    }
};

class QtTimerStateTest : public ::testing::TestWithParam<StateCase> {};

TEST_P(QtTimerStateTest, TicksOnlyWhileEnabledWithAnInterval) {
    const StateCase& c = GetParam();
    // Reach the state from both orders of setting it.
    QtTimer enabled_first([] {});
    enabled_first.SetEnabled(c.enabled);
    enabled_first.SetInterval(c.interval);
    QtTimer interval_first([] {});
    interval_first.SetInterval(c.interval);
    interval_first.SetEnabled(c.enabled);

    for (const QtTimer* timer : {&enabled_first, &interval_first}) {
        EXPECT_EQ(timer->Enabled(), c.enabled);
        EXPECT_EQ(timer->Interval(), c.interval);
        EXPECT_EQ(timer->Ticking(), c.ticking);
        if (c.ticking) {
            EXPECT_EQ(timer->Clock().interval(), c.interval);
        }
        EXPECT_EQ(timer->Clock().timerType(), Qt::PreciseTimer);
    }
}

INSTANTIATE_TEST_SUITE_P(States, QtTimerStateTest,
                         ::testing::Values(StateCase{false, 0, false}, StateCase{false, 500, false},
                                           StateCase{true, 0, false}, StateCase{true, 10, true},
                                           StateCase{true, 6000, true}));

TEST(QtTimerTest, IntervalZeroStopsTheTicksButKeepsTheTimerEnabled) {
    int ticks = 0;
    QtTimer timer([&] { ++ticks; });
    timer.SetEnabled(true);
    timer.SetInterval(5);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 2; }));

    timer.SetInterval(0);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(timer.Ticking());

    const int before = ticks;
    timer.SetInterval(5);  // ticking again needs no new enabling
    ASSERT_TRUE(WaitUntil([&] { return ticks > before; }));
}

class QtTimerOverlapTest : public ::testing::TestWithParam<bool> {};

TEST_P(QtTimerOverlapTest, DropsTicksThatFallDueWhileTheLastTickIsStillRunning) {
    const bool restart_during_tick = GetParam();
    int ticks = 0;
    int ticks_at_end_of_pause = -1;
    QtTimer* self = nullptr;
    QtTimer timer([&] {
        ++ticks;
        if (ticks != 1) return;
        if (restart_during_tick) {
            // As when the scanner is stopped and started again during its
            // hold: the clock starts afresh while this tick still runs.
            self->SetEnabled(false);
            self->SetEnabled(true);
        }
        // The tick pauses, letting events run, while a clock of the same
        // interval, started later, runs out four times: the timer has
        // fallen due meanwhile.
        QTimer same_interval;
        same_interval.setTimerType(Qt::PreciseTimer);
        QSignalSpy due(&same_interval, &QTimer::timeout);
        same_interval.start(5);
        if (WaitUntil([&] { return due.count() >= 4; })) ticks_at_end_of_pause = ticks;
    });
    self = &timer;
    timer.SetEnabled(true);
    timer.SetInterval(5);

    ASSERT_TRUE(WaitUntil([&] { return ticks_at_end_of_pause != -1; }));
    EXPECT_EQ(ticks_at_end_of_pause, 1) << "a tick started inside the running one";
    // After the pause the timer goes on ticking.
    EXPECT_TRUE(WaitUntil([&] { return ticks >= 3; }));
}

INSTANTIATE_TEST_SUITE_P(Overlaps, QtTimerOverlapTest, ::testing::Bool());

TEST(QtTimerTest, EachTimerRunsItsOwnTicksDuringAnotherTimersPause) {
    int fast_ticks = 0;
    bool fast_ran_during_pause = false;
    QtTimer fast([&] { ++fast_ticks; });
    QtTimer slow([&] {
        const int before = fast_ticks;
        fast_ran_during_pause = WaitUntil([&] { return fast_ticks >= before + 2; });
    });
    fast.SetEnabled(true);
    fast.SetInterval(5);
    slow.SetEnabled(true);
    slow.SetInterval(5);
    ASSERT_TRUE(WaitUntil([&] { return fast_ran_during_pause; }));
}

}  // namespace
}  // namespace velmo
