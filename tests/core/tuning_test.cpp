// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <cmath>

#include "core_rigs.h"

namespace velmo::testing {
namespace {

struct StepCase {
    const char* step;
    double from;
    bool up;
    double expected;
};

TEST(Stepping, StepsAndWrapsAtEachEnd) {
    const double near_0_3 = 0.3;
    const StepCase cases[] = {
        {"100 KHz", 81.3, true, 81.3 + 0.1},
        {"100 KHz", 81.3, false, 81.3 - 0.1},
        {"100 KHz", 1299.9, true, 1300.0},  // exactly 1300 stays
        {"100 KHz", 1299.95, true, 0.1},    // wraps to the bottom, not 0.05
        {"10 MHz", 1295, true, 0.1},
        {"1 Hz", 1300, true, 0.1},
        {"100 KHz", 0.15, false, 1300},
        {"10 MHz", 5, false, 1300},
        {"100 KHz", 0.2, false, 0.1},  // exactly 0.1 stays
        {"100 KHz", 0.1, true, 0.2},
        {"100 KHz", near_0_3 - 0.1, false, 1300},  // 0.3 - 0.1 - 0.1 drifts below 0.1
        {"1300 KHz", 100, true, 100},              // not in the table: unchanged
        {"100 kHz", 100, true, 100},
        {"100 KHz ", 100, false, 100},
        {"", 100, true, 100},
        {"10 MHz", 0.1, false, 1300},
    };
    for (const auto& c : cases) {
        OffRig rig;
        rig.view.SetTuningStepText(c.step);
        rig.panel.Frequency = c.from;
        c.up ? rig.panel.TuneUp() : rig.panel.TuneDown();
        EXPECT_EQ(rig.panel.Frequency, c.expected) << c.step << " from " << c.from << (c.up ? " up" : " down");
    }
}

TEST(Stepping, EachStepTextHasItsIncrement) {
    const std::pair<const char*, const char*> cases[] = {
        {"1 Hz", "100.000.001"},     {"10 Hz", "100.000.010"},   {"20 Hz", "100.000.020"},
        {"50 Hz", "100.000.050"},    {"100 Hz", "100.000.100"},  {"500 Hz", "100.000.500"},
        {"1 KHz", "100.001.000"},    {"2.5 KHz", "100.002.500"}, {"5 KHz", "100.005.000"},
        {"6.25 KHz", "100.006.250"}, {"9 KHz", "100.009.000"},   {"10 KHz", "100.010.000"},
        {"12.5 KHz", "100.012.500"}, {"20 KHz", "100.020.000"},  {"25 KHz", "100.025.000"},
        {"30 KHz", "100.030.000"},   {"50 KHz", "100.050.000"},  {"100 KHz", "100.100.000"},
        {"500 KHz", "100.500.000"},  {"1 MHz", "101.000.000"},   {"10 MHz", "110.000.000"},
    };
    for (const auto& [step, display] : cases) {
        OffRig rig;
        rig.view.SetTuningStepText(step);
        rig.panel.Frequency = 100;
        rig.panel.TuneUp();
        EXPECT_EQ(rig.view.display, display) << step;
    }
}

TEST(Stepping, SendsEvenWhenTheStepIsUnknownAndOnlyTheDisplayWhileOff) {
    OnRig rig;
    rig.view.SetTuningStepText("100 kHz");
    rig.panel.TuneUp();
    EXPECT_EQ(rig.Sent(), std::vector<std::string>{"K00081300000060400"});

    OffRig off;
    off.panel.TuneDown();
    EXPECT_EQ(off.view.display, "81.200.000");
    EXPECT_EQ(off.link.written, "");
    EXPECT_TRUE(off.view.CodesOut().empty());
}

struct EntryCase {
    std::vector<std::string> answers;  // typed in turn; then Cancel
    double expected;
    int boxes_shown;
};

TEST(DirectEntry, OnlyNumbersInRangeTune) {
    const EntryCase cases[] = {
        {{"0.1"}, 0.1, 1},
        {{"1300"}, 1300, 1},
        {{"145.5 MHz"}, 145.5, 1},
        {{"1 300"}, 1300, 1},
        {{"145,5"}, 145, 1},
        {{"12abc"}, 12, 1},
        {{"abc", "0.09", "1300.001", "0", "-5", "1e999", "nan", "inf", "-0", "0x10", "   "}, 81.3, 12},
        {{"abc", "99.5"}, 99.5, 2},
        {{std::string(10'000, '7')}, 81.3, 2},
        {{"1e3"}, 1000, 1},
        {{""}, 81.3, 1},
        {{}, 81.3, 1},
    };
    for (const auto& c : cases) {
        OnRig rig;
        rig.view.input_answers.assign(c.answers.begin(), c.answers.end());
        rig.panel.EnterFrequency();
        const std::string first = c.answers.empty() ? "(cancel)" : c.answers.front();
        EXPECT_EQ(rig.panel.Frequency, c.expected) << first;
        EXPECT_EQ(static_cast<int>(rig.view.input_defaults.size()), c.boxes_shown) << first;
        if (c.expected == 81.3) {
            EXPECT_TRUE(rig.Sent().empty()) << first;
        } else {
            EXPECT_EQ(rig.Sent().size(), 1u) << first;
        }
    }
}

TEST(DirectEntry, TheBoxComesBackWithTheDefaultOfTheUnchangedFrequency) {
    OffRig rig;
    rig.panel.Frequency = 145.5125;
    rig.view.input_answers = {"2000", "145.51"};
    rig.panel.EnterFrequency();
    EXPECT_EQ(rig.view.input_defaults, (std::vector<std::string>{"145.51", "145.51"}));
    EXPECT_EQ(rig.panel.Frequency, 145.51);
    EXPECT_EQ(rig.view.display, "145.510.000");
    EXPECT_EQ(rig.link.written, "") << "off: the display only";
}

TEST(DirectEntry, EachRoundReadsTheFrequencyAfresh) {
    struct MovingView : FakeView {
        using FakeView::FakeView;
        FrontPanel* panel = nullptr;
        std::string InputBox(const std::string& p, const std::string& t, const std::string& d) override {
            std::string answer = FakeView::InputBox(p, t, d);
            panel->Frequency += 1;  // a scanner tick while the box was open
            return answer;
        }
    };
    Rig rig;
    MovingView view(rig.clock);
    FrontPanel panel(rig.link, view, *rig.timer1, *rig.timer2, *rig.timer3, rig.clock, 1);
    view.Attach(panel);
    view.panel = &panel;
    panel.Frequency = 81.3;
    view.input_answers = {"5000"};
    panel.EnterFrequency();
    EXPECT_EQ(view.input_defaults, (std::vector<std::string>{"81.3", "82.3"}));
}

}  // namespace
}  // namespace velmo::testing
