// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <algorithm>

#include "core_rigs.h"
#include "reply_list.h"
#include "tuning_command.h"

namespace velmo::testing {
namespace {

TEST(ToggleScan, WithTheReceiverOffDoesNothing) {
    OffRig rig;
    rig.panel.ToggleScan();
    EXPECT_EQ(rig.view.ScanLabel(), kRed);
    EXPECT_FALSE(rig.timer3->Enabled());
    EXPECT_FALSE(rig.timer2->Enabled());
}

TEST(ToggleScan, StartsAndStopsWithItsTimersAndColours) {
    OnRig rig(true);
    rig.panel.ToggleScan();
    EXPECT_EQ(rig.view.ScanLabel(), kGreen);
    EXPECT_TRUE(rig.timer3->Enabled());
    EXPECT_FALSE(rig.timer2->Enabled());
    EXPECT_TRUE(rig.link.lines.empty()) << "starting does not step at once";
    rig.panel.ToggleScan();
    EXPECT_EQ(rig.view.ScanLabel(), kRed);
    EXPECT_FALSE(rig.timer3->Enabled());
    EXPECT_TRUE(rig.timer2->Enabled());
}

TEST(ScanStep, NoSignalStepsOnAtTheWiresPace) {
    Scanning rig;
    const double start = rig.NowMs();
    rig.panel.ToggleScan();
    rig.clock.RunUntilMs(start + 1000);
    // Each tick lasts about 40 ms at 9600 baud, inside the 50 ms interval.
    EXPECT_GE(rig.timer3->ticks(), 19);
    EXPECT_EQ(rig.Count("I0?"), rig.timer3->ticks());
    EXPECT_EQ(rig.Count("I1?"), 0);
    EXPECT_EQ(rig.TuningCommands().front(), "K00081400000060400");
    EXPECT_EQ(rig.view.CodesIn().back(), SquelchEntry("I004"));
}

TEST(ScanStep, HoldsSixSecondsOnABusyChannelAndReadsTheSignalOnce) {
    Scanning rig;
    rig.band->busy = {81'600'000};
    const double start = rig.NowMs();
    rig.panel.ToggleScan();
    rig.clock.RunUntilMs(start + 3000);
    EXPECT_EQ(rig.view.display, "81.600.000") << "held on the busy channel itself, not a step later";
    EXPECT_EQ(rig.Count("I1?"), 1);
    EXPECT_EQ(rig.panel.Signal, 55);  // A0: 160 / 4 = 40, + 15
    EXPECT_EQ(rig.view.signal_caption, " " + std::string(55, '|'));
    EXPECT_EQ(rig.view.signal_colour, kBlue);
    EXPECT_GT(rig.timer3->dropped(), 40) << "ticks falling due during the hold are dropped";

    // The hold began about 210 ms in, after the query and the reading.
    rig.clock.RunUntilMs(start + 6150);
    EXPECT_EQ(rig.view.display, "81.600.000") << "still holding";
    rig.clock.RunUntilMs(start + 6300);
    const auto commands = rig.TuningCommands();
    ASSERT_GE(commands.size(), 4u) << "stepping resumes after the hold";
    EXPECT_EQ(commands[2], "K00081600000060400");
    EXPECT_EQ(commands[3], "K00081700000060400");
    EXPECT_EQ(rig.Count("I1?"), 1);
}

TEST(ScanStep, OtherStatusCodesAndTheFirstI0Decide) {
    const std::pair<std::string, int> cases[] = {
        {"I004\r\n", 0},         {"I00\r\n", 0},  {"I0", 0}, {"I004\r\nI007\r\n", 0},
        {"G000\r\nI007\r\n", 1}, {"i007\r\n", 0}, {"", 0},
    };
    for (const auto& [reply, holds] : cases) {
        OnRig rig;
        rig.link.responder = [r = reply](const std::string& line) {
            if (line == "I0?") return r;
            if (line == "I1?") return std::string("I100\r\n");
            return std::string();
        };
        rig.panel.ScanStep();
        EXPECT_EQ(std::count(rig.link.lines.begin(), rig.link.lines.end(), "I1?"), holds) << reply;
    }
}

// How long a step waits for a squelch answer that never comes: 10 ms in
// SendCommand, 10 ms before the query, then, from a receiver never heard,
// three pauses of gathering that bring nothing (the line has fallen
// quiet); from one that has answered before, as long as its answers have
// taken with room for jitter (here 10 ms round trips: 32.5 ms, so 40 ms
// of pauses).
// A step on a receiver that answers nothing takes its reply pauses and no
// more: the tuning command's pause, the step's own, and the squelch query's
// wait, which ends once the line has been quiet for three pauses, or, for a
// receiver heard before, once the wait its round trips have shown (10 ms
// with room: 32.5 ms) is over, on the next whole pause.
TEST(ScanStep, ASilentReceiverCostsTheStepsPausesAndTheWaitItHasShown) {
    struct Case {
        const char* name;
        bool heard_before;
        std::int64_t step_us;
    };
    const Case cases[] = {{"never heard: 10 + 10 + 3 x 10 ms", false, 50'000},
                          {"fallen silent: 10 + 10 + 4 x 10 ms", true, 60'000}};
    for (const auto& c : cases) {
        OnRig rig;
        if (!c.heard_before) {
            rig.panel.PowerOff();
            rig.link.responder = ScriptedReceiver{.silent = true};
            rig.panel.PowerOn();
            rig.timer2->SetEnabled(false);
        }
        rig.link.responder = ScriptedReceiver{.silent = true};
        rig.view.lists = {};
        const auto start = rig.clock.NowUs();
        rig.panel.ScanStep();
        EXPECT_EQ(rig.clock.NowUs() - start, c.step_us) << c.name;
        EXPECT_TRUE(rig.view.CodesIn().empty()) << c.name;
    }
}

// Across a link with a 100 ms round trip, one answer lost, doubled, unasked
// or garbled costs at most the one decision that waited for it: every other
// busy channel is still held on itself.
TEST(ScanStep, AFaultyAnswerCostsOneDecisionAtMost) {
    constexpr std::int64_t kFaultHz = 81'500'000;  // a quiet channel
    constexpr std::int64_t kBusyFaultHz = 81'600'000;
    using Fault = std::function<std::string(const std::string&, std::int64_t, std::string)>;
    struct Case {
        const char* name;
        Fault fault;
        std::vector<std::int64_t> held;
    };
    const std::vector<std::int64_t> all{81'600'000, 82'000'000, 82'400'000};
    const Case cases[] = {
        {"none", nullptr, all},
        {"squelch answer lost",
         [](const std::string& l, std::int64_t hz, std::string a) { return l == "I0?" && hz == kFaultHz ? "" : a; },
         all},
        {"squelch answer lost on a busy channel",
         [](const std::string& l, std::int64_t hz, std::string a) { return l == "I0?" && hz == kBusyFaultHz ? "" : a; },
         {82'000'000, 82'400'000}},
        {"tuning answer lost",
         [](const std::string& l, std::int64_t hz, std::string a) { return l != "I0?" && hz == kFaultHz ? "" : a; },
         all},
        {"answer doubled",
         [](const std::string& l, std::int64_t hz, std::string a) {
             return l.starts_with("K0") && hz == kFaultHz ? a + a : a;
         },
         all},
        {"an open squelch unasked",
         [](const std::string& l, std::int64_t hz, std::string a) {
             return l.starts_with("K0") && hz == kFaultHz ? a + "I007\r\n" : a;
         },
         {kFaultHz, 81'600'000, 82'000'000, 82'400'000}},
        {"squelch answer garbled",
         [](const std::string& l, std::int64_t hz, std::string a) {
             return l == "I0?" && hz == kFaultHz ? std::string("X0#7\r\n") : a;
         },
         all},
    };
    for (const auto& c : cases) {
        Scanning rig;
        // Switched on over the link, which teaches the panel its pace.
        rig.panel.PowerOff();
        rig.link.reply_delay_us = 100'000;
        rig.panel.PowerOn();
        rig.clock.RunUntilMs(rig.NowMs() + 1000);
        rig.link.lines.clear();
        rig.band->busy = {all.begin(), all.end()};
        rig.band->fault = c.fault;
        rig.panel.ToggleScan();
        rig.clock.RunUntilMs(rig.NowMs() + 30'000);
        EXPECT_EQ(rig.HeldOn(), c.held) << c.name;
    }
}

// A link that slows from a cable's pace to a 250 ms round trip while the
// scanner runs: the waits that turn out too short teach it the new pace
// within a few steps, and the busy channels further up are held on.
TEST(ScanStep, ALinkThatSlowsDownIsLearntAgain) {
    Scanning rig;
    rig.band->busy = {82'000'000, 82'400'000, 82'800'000};
    rig.panel.ToggleScan();
    rig.clock.RunUntilMs(rig.NowMs() + 100);
    rig.link.reply_delay_us = 250'000;
    rig.clock.RunUntilMs(rig.NowMs() + 40'000);
    EXPECT_EQ(rig.HeldOn(), (std::vector<std::int64_t>{82'000'000, 82'400'000, 82'800'000}));
}

TEST(ScanStep, AUserCommandDuringTheHoldEndsItEarly) {
    Scanning rig;
    rig.band->busy = {81'400'000};
    const double start = rig.NowMs();
    rig.panel.ToggleScan();
    rig.clock.AtMs(start + 1000, [&] { rig.view.SetScrollValue(ScrollBar::Volume, 0); });
    rig.clock.RunUntilMs(start + 1200);
    EXPECT_NE(rig.view.display, "81.400.000") << "the hold ended with the volume exchange";
    EXPECT_EQ(rig.view.CodesOut()[1], "J4000");
}

TEST(ScanStep, SwitchingOffMidTickEndsItAtTheNextCheck) {
    Scanning rig;
    const double start = rig.NowMs();
    rig.panel.ToggleScan();
    // The first tick starts at 50 ms; at 75 ms it is gathering the answer.
    rig.clock.AtMs(start + 75, [&] { rig.panel.PowerOff(); });
    rig.clock.RunUntilMs(start + 1000);
    EXPECT_EQ(rig.link.lines, (std::vector<std::string>{"K00081400000060400", "I0?", "H100"}));
    EXPECT_EQ(rig.view.ScanLabel(), kRed);
    EXPECT_FALSE(rig.timer3->Enabled());
    EXPECT_EQ(rig.timer3->ticks(), 1);
    // Switching on again does not restart the scanner.
    rig.panel.PowerOn();
    rig.clock.RunUntilMs(start + 2000);
    EXPECT_FALSE(rig.timer3->Enabled());
    EXPECT_EQ(rig.view.ScanLabel(), kRed);
}

TEST(ScanStep, WrapsFromTheTopToTheBottomOfTheRange) {
    Scanning rig;
    rig.panel.Frequency = 1299.95;
    const double start = rig.NowMs();
    rig.panel.ToggleScan();
    rig.clock.RunUntilMs(start + 160);
    const auto commands = rig.TuningCommands();
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands[0], "K00000100000060400");
    EXPECT_EQ(commands[1], "K00000200000060400");
}

TEST(ScanStep, ANewStepTakesEffectAtTheNextTick) {
    Scanning rig;
    const double start = rig.NowMs();
    rig.panel.ToggleScan();
    rig.clock.AtMs(start + 95, [&] { rig.view.SetTuningStepText("1 MHz"); });
    rig.clock.RunUntilMs(start + 160);
    const auto commands = rig.TuningCommands();
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands[0], "K00081400000060400");
    EXPECT_EQ(commands[1], "K00082400000060400");
}

}  // namespace
}  // namespace velmo::testing
