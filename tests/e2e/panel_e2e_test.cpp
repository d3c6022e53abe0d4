// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real window and serial port against the simulated receiver on a
// pseudo-terminal, in real time at 9600 baud.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <optional>

#include "panel_on_sim.h"
#include "reply_list.h"
#include "switch_on_commands.h"

namespace velmo::e2e {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

const Lines& kSwitchOn = testing::kSwitchOnCommands;

void SwitchOn(PanelOnSim& panel) {
    panel.user.Click("RadioOn");
    ASSERT_TRUE(WaitUntil([&] { return panel.sim.Lines().size() >= kSwitchOn.size(); }, 5s));
}

int BarLength(const std::string& bar) { return static_cast<int>(bar.size()) - 1; }

TEST(EndToEnd, SwitchingOnSendsTheTwelveCommandsInOrder) {
    PanelOnSim panel;
    SwitchOn(panel);
    EXPECT_EQ(panel.sim.Lines(), kSwitchOn);
    EXPECT_EQ(panel.user.CodesOut(), kSwitchOn);
    ASSERT_TRUE(WaitUntil([&] { return panel.user.CodesIn().size() >= 12; }, 5s));
    EXPECT_EQ(panel.user.CodesIn().front(), testing::AcknowledgementEntry("G000"));
    EXPECT_TRUE(panel.failures.empty());
}

TEST(EndToEnd, TuningByButtonsAndKeys) {
    PanelOnSim panel;
    SwitchOn(panel);
    struct Step {
        std::function<void()> act;
        const char* command;
        const char* display;
    };
    const Step steps[] = {
        {[&] { panel.user.Click("FrequencyUp"); }, "K00081400000060400", "81.400.000"},
        {[&] { panel.user.Click("FrequencyDown"); }, "K00081300000060400", "81.300.000"},
        {[&] { panel.user.Key(Qt::Key_PageUp); }, "K00081400000060400", "81.400.000"},
        {[&] { panel.user.Key(Qt::Key_U); }, "K00081500000060400", "81.500.000"},
        {[&] { panel.user.Key(Qt::Key_PageDown, "CodesOut"); }, "K00081400000060400", "81.400.000"},
        {[&] { panel.user.Key(Qt::Key_End); }, "K01300000000060400", "1300.000.000"},
        {[&] { panel.user.Key(Qt::Key_Home); }, "K00000100000060400", "0.100.000"},
    };
    for (const auto& step : steps) {
        const auto before = panel.TuningCommands().size();
        step.act();
        EXPECT_TRUE(WaitUntil([&] { return panel.TuningCommands().size() > before; }, 3s)) << step.command;
        EXPECT_EQ(panel.TuningCommands().back(), step.command);
        EXPECT_EQ(panel.user.Display(), step.display);
    }
}

TEST(EndToEnd, TheSignalBarFollowsTheStation) {
    PanelOnSim panel;
    SwitchOn(panel);
    // 81.3 MHz carries a strong broadcast station; 1300 MHz only noise.
    EXPECT_TRUE(WaitUntil([&] { return BarLength(panel.user.SignalBar()) > 50; }, 3s)) << panel.user.SignalBar();
    panel.user.Key(Qt::Key_End);
    EXPECT_TRUE(WaitUntil([&] { return BarLength(panel.user.SignalBar()) < 20; }, 3s)) << panel.user.SignalBar();
    const auto in = panel.user.CodesIn();
    EXPECT_TRUE(std::any_of(in.begin(), in.end(),
                            [](const std::string& e) { return e.rfind(testing::SignalEntry("I1"), 0) == 0; }));
}

TEST(EndToEnd, TheScannerHoldsOnTheFirstStationForSixSecondsThenGoesOn) {
    PanelOnSim panel;
    SwitchOn(panel);
    Sampler sampler(panel.user);
    panel.user.Click("Scan");
    // From 81.3 MHz in 100 KHz steps the first station is at 82.5 MHz.
    ASSERT_TRUE(WaitUntil([&] { return panel.user.Display() == "82.600.000"; }, 20s)) << panel.user.Display();

    const auto hold = sampler.FirstStayAt("82.500.000");
    ASSERT_TRUE(hold);
    EXPECT_GE(hold->left_ms - hold->arrived_ms, 5900) << "held for 6 s";
    EXPECT_LE(hold->left_ms - hold->arrived_ms, 7000);
    int longest_bar = 0;
    for (const auto& s : sampler.samples) {
        if (s.at_ms >= hold->arrived_ms && s.at_ms < hold->left_ms)
            longest_bar = std::max(longest_bar, BarLength(s.bar));
    }
    EXPECT_GT(longest_bar, 50) << "the bar shows the station during the hold";
    const auto in = panel.user.CodesIn();
    EXPECT_TRUE(std::find(in.begin(), in.end(), testing::SquelchEntry("I007")) != in.end());
    const auto tunings = panel.TuningCommands();
    EXPECT_TRUE(std::find(tunings.begin(), tunings.end(), "K00082400000060400") != tunings.end());
    EXPECT_TRUE(panel.failures.empty());
}

TEST(EndToEnd, SwitchingOffMidScanStopsEverything) {
    PanelOnSim panel;
    SwitchOn(panel);
    panel.user.Click("Scan");
    ASSERT_TRUE(WaitUntil([&] { return panel.TuningCommands().size() > 5; }, 3s));
    panel.user.Click("RadioOff");
    // A scanner tick that fell due during the switch-off's own exchange
    // runs to its end first: at most its tuning command and query follow.
    ASSERT_TRUE(WaitUntil([&] { return panel.sim.Lines().size() > 12; }, 3s));
    const auto received = panel.sim.Lines();
    const auto off = std::find(received.begin() + 12, received.end(), "H100");
    ASSERT_NE(off, received.end());
    EXPECT_LE(received.end() - off, 3);
    EXPECT_FALSE(WaitUntil([&] { return panel.sim.Lines().size() > received.size(); }, 1s))
        << "the scanner has stopped";
    EXPECT_EQ(panel.user.SignalBar(), " ");
    const auto out = panel.user.CodesOut();
    EXPECT_NE(
        std::find(out.end() - std::min<std::ptrdiff_t>(2, static_cast<std::ptrdiff_t>(out.size())), out.end(), "H100"),
        out.end());
}

TEST(EndToEnd, EscapeEndsTheProgramWithoutSwitchingTheReceiverOff) {
    PanelOnSim panel;
    SwitchOn(panel);
    panel.user.Key(Qt::Key_Escape);
    EXPECT_TRUE(panel.window.Ending());
    EXPECT_EQ(panel.window.ExitStatus(), 0);
    const auto lines = panel.sim.Lines().size();
    EXPECT_FALSE(WaitUntil([&] { return panel.sim.Lines().size() > lines; }, 1s));
    const auto received = panel.sim.Lines();
    EXPECT_TRUE(std::find(received.begin(), received.end(), "H100") == received.end());
}

}  // namespace
}  // namespace velmo::e2e
