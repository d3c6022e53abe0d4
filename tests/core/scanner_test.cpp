// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <set>

#include "core_rigs.h"
#include "tuning_command.h"

namespace velmo::testing {
namespace {

// A receiver whose squelch opens on a set of busy frequencies (in Hz).
struct BandReceiver {
    std::set<std::int64_t> busy;
    std::int64_t tuned_hz = 0;
    std::string busy_signal = "A0";

    std::string operator()(const std::string& line) {
        if (line.size() == 18 && line.starts_with("K0")) tuned_hz = std::stoll(line.substr(2, 10));
        const bool open = busy.count(tuned_hz) > 0;
        if (line == "I0?") return open ? "I007\r\n" : "I004\r\n";
        if (line == "I1?") return "I1" + (open ? busy_signal : std::string("10")) + "\r\n";
        return "G000\r\n";
    }
};

struct Scanning : OnRig {
    std::shared_ptr<BandReceiver> band = std::make_shared<BandReceiver>();
    explicit Scanning(bool wire = true) : OnRig(true) {
        link.wire_timing = wire;
        link.reply_delay_us = 3000;
        link.responder = [b = band](const std::string& line) { return (*b)(line); };
    }
    int Count(const std::string& line) const {
        return static_cast<int>(std::count(link.lines.begin(), link.lines.end(), line));
    }
    std::vector<std::string> TuningCommands() const {
        std::vector<std::string> out;
        for (const auto& l : link.lines) {
            if (l.starts_with("K0")) out.push_back(l);
        }
        return out;
    }
};

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
    EXPECT_EQ(rig.view.CodesIn().back(), "---------> I004");
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

TEST(ScanStep, ASilentReceiverCostsAtMostATenthOfASecond) {
    OnRig rig;
    rig.link.responder = ScriptedReceiver{.silent = true};
    const auto start = rig.clock.NowUs();
    rig.panel.ScanStep();
    // 10 ms in SendCommand, 10 ms before the query, and three pauses of
    // gathering that bring nothing: the line has fallen quiet.
    EXPECT_EQ(rig.clock.NowUs() - start, 50'000);
    EXPECT_TRUE(rig.view.CodesIn().empty());
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
