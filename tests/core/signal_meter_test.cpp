// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "core_rigs.h"
#include "reply_list.h"

namespace velmo::testing {
namespace {

struct MeterCase {
    const char* reply;
    int bar;  // after a previous bar of 20
    Rgb colour;
    bool drawn;
};

TEST(ReadSignal, DrawsTheBarFromTheFirstI1) {
    const MeterCase cases[] = {
        {"I100\r\n", 1, kBlue, true},
        {"I147\r\n", 32, kBlue, true},
        {"I17F\r\n", 56, kBlue, true},
        {"I180\r\n", 57, kRed, true},
        {"G000\r\nI147\r\n", 32, kBlue, true},
        {"I1ff\r\n", 20, kBlue, true},  // failed test: the previous length again
        {"I1", 20, kBlue, true},
        {"i147\r\n", 20, kBlue, false},  // no "I1": nothing drawn
        {"", 20, kBlue, false},
    };
    for (const auto& c : cases) {
        OnRig rig;
        rig.panel.Signal = 20;
        rig.view.signal_caption = "untouched";
        rig.link.responder = [r = std::string(c.reply)](const std::string& line) {
            return line == "I1?" ? r : std::string();
        };
        rig.panel.ReadSignal();
        EXPECT_EQ(rig.panel.Signal, c.bar) << c.reply;
        if (c.drawn) {
            EXPECT_EQ(rig.view.signal_caption, " " + std::string(static_cast<std::size_t>(c.bar), '|')) << c.reply;
            EXPECT_EQ(rig.view.signal_colour, c.colour) << c.reply;
        } else {
            EXPECT_EQ(rig.view.signal_caption, "untouched") << c.reply;
        }
        EXPECT_EQ(rig.link.lines, std::vector<std::string>{"I1?"}) << "the query is not listed";
        EXPECT_TRUE(rig.view.CodesOut().empty());
    }
}

TEST(ReadSignal, ListsWhatItReadsWithTheArrow) {
    OnRig rig;
    rig.panel.ReadSignal();
    EXPECT_EQ(rig.view.CodesIn(), std::deque<std::string>{SignalEntry("I147")});
}

TEST(ReadSignal, WithThePortClosedNothingIsWrittenOrDrawn) {
    OffRig rig;
    const int draws = rig.view.signal_draws;
    rig.panel.ReadSignal();
    EXPECT_EQ(rig.link.written, "");
    EXPECT_EQ(rig.view.signal_draws, draws);
}

TEST(ReadSignal, PollsEvery500msWhileOnAndFollowsTheStation) {
    OnRig rig(true);
    auto receiver = std::make_shared<ScriptedReceiver>();
    rig.link.responder = [receiver](const std::string& line) { return (*receiver)(line); };
    rig.link.wire_timing = true;
    const double start = rig.NowMs();
    rig.clock.RunUntilMs(start + 2100);
    EXPECT_EQ(rig.timer2->ticks(), 4);
    EXPECT_EQ(rig.panel.Signal, 32);
    receiver->signal = "F0";
    rig.clock.RunUntilMs(start + 2600);
    EXPECT_EQ(rig.panel.Signal, 75);
    EXPECT_EQ(rig.view.signal_colour, kRed);
}

TEST(ReadSignal, SwitchOffDuringTheWaitEndsIt) {
    OnRig rig;
    rig.clock.AtMs(rig.NowMs() + 5, [&] { rig.panel.PowerOff(); });
    rig.panel.ReadSignal();
    EXPECT_EQ(rig.view.signal_caption, " ");
    EXPECT_EQ(rig.link.lines, (std::vector<std::string>{"I1?", "H100"}));
}

TEST(ShowSignal, EmptyAndFullBar) {
    OffRig rig;
    rig.panel.ShowSignal(0);
    EXPECT_EQ(rig.view.signal_caption, " ");
    EXPECT_EQ(rig.view.signal_colour, kBlue);
    rig.panel.ShowSignal(75);
    EXPECT_EQ(rig.view.signal_caption, " " + std::string(75, '|'));
    EXPECT_EQ(rig.view.signal_colour, kRed);
}

}  // namespace
}  // namespace velmo::testing
