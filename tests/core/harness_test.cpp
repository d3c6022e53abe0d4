// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The harness stands in for the toolkit, so it must raise events the way
// the toolkit does; these tests pin that down.
#include <gtest/gtest.h>

#include "fake_view.h"

namespace velmo::testing {
namespace {

TEST(FakeView, ScrollBarChangeRaisedOnlyOnARealChange) {
    Rig rig;
    rig.view.SetScrollValue(ScrollBar::Volume, 100);
    rig.view.SetScrollValue(ScrollBar::Volume, 100);
    EXPECT_EQ(rig.view.events, std::vector<std::string>{"Volume_Change"});
    EXPECT_EQ(rig.view.frame_caption[0], "Volume 100");
}

TEST(FakeView, OnlyTheButtonThatBecomesSelectedClicks) {
    Rig rig;
    rig.view.SetOptionSelected(OptionButton::AM, true);
    rig.view.SetOptionSelected(OptionButton::WFM, true);
    rig.view.SetOptionSelected(OptionButton::WFM, true);
    rig.view.SetOptionSelected(OptionButton::Filter2, true);
    EXPECT_EQ(rig.view.events, (std::vector<std::string>{"AM_Click", "WFM_Click", "Filter2_Click"}));
    EXPECT_FALSE(rig.view.OptionSelected(OptionButton::AM));
    EXPECT_TRUE(rig.view.OptionSelected(OptionButton::WFM));
    EXPECT_TRUE(rig.view.OptionSelected(OptionButton::Filter2));
}

TEST(FakeView, CheckBoxSetFromCodeClicksOnChange) {
    Rig rig;
    rig.view.SetCheckState(CheckBox::ATT, kUnchecked);
    rig.view.SetCheckState(CheckBox::ATT, kGrayed);
    EXPECT_EQ(rig.view.events, std::vector<std::string>{"ATT_Click"});
}

TEST(VirtualTimer, TicksEveryIntervalAndStopsAtZeroWithoutDisabling) {
    VirtualClock clock;
    int ticks = 0;
    auto timer = clock.NewTimer([&] { ++ticks; });
    timer->SetInterval(50);
    clock.RunUntilMs(200);
    EXPECT_EQ(ticks, 0) << "disabled";
    timer->SetEnabled(true);
    clock.RunUntilMs(400);
    EXPECT_EQ(ticks, 4);
    timer->SetInterval(0);
    clock.RunUntilMs(1000);
    EXPECT_EQ(ticks, 4);
    EXPECT_TRUE(timer->Enabled());
}

TEST(VirtualTimer, DropsTicksThatFallDueWhileItsTickRuns) {
    VirtualClock clock;
    std::vector<std::int64_t> tick_times;
    std::unique_ptr<VirtualTimer> timer;
    timer = clock.NewTimer([&] {
        tick_times.push_back(clock.NowUs());
        // A long tick: 120 ms pass inside it, as in a pause.
        clock.At(clock.NowUs() + 120'000, [] {});
        clock.RunNext();
    });
    timer->SetInterval(50);
    timer->SetEnabled(true);
    clock.RunUntilMs(300);
    // Due at 50, 100, 150, ...: the tick at 50 runs to 170, so 100 and 150
    // are dropped and the next runs at 200.
    ASSERT_GE(tick_times.size(), 2u);
    EXPECT_EQ(tick_times[0], 50'000);
    EXPECT_EQ(tick_times[1], 200'000);
    EXPECT_EQ(timer->dropped(), 4);  // 100, 150 in the first tick; 250, 300 in the second
}

TEST(FakeLink, AnswersEachLineAfterTheWireAndTheDelay) {
    VirtualClock clock;
    FakeLink link(clock);
    link.responder = [](const std::string& line) { return line == "I1?" ? "I147\r\n" : ""; };
    link.wire_timing = true;
    link.reply_delay_us = 3000;
    link.Open();
    link.Write("I1?\r\n");
    // 5 bytes out (5.2 ms), 3 ms, 6 bytes back (6.25 ms): complete at 14.45 ms.
    clock.RunUntilMs(14);
    const std::string early = link.ReadAll();
    EXPECT_EQ(early.size(), 5u);
    clock.RunUntilMs(15);
    EXPECT_EQ(early + link.ReadAll(), "I147\r\n");
    EXPECT_EQ(link.ReadAll(), "");
}

}  // namespace
}  // namespace velmo::testing
