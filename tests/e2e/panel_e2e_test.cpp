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

TEST(EndToEnd, SwitchingOffMidScanStopsEverything) {
    PanelOnSim panel;
    SwitchOn(panel);
    panel.user.Click("Scan");
    ASSERT_TRUE(WaitUntil([&] { return panel.TuningCommands().size() > 5; }, 3s));
    panel.user.Click("RadioOff");
    // A scanner tick that fell due during the switch-off's own exchange
    // runs to its end first: at most its tuning command and query follow.
    ASSERT_TRUE(WaitUntil([&] { return panel.sim.Lines().size() > kSwitchOn.size(); }, 3s));
    const auto received = panel.sim.Lines();
    const auto off =
        std::find(received.begin() + static_cast<std::ptrdiff_t>(kSwitchOn.size()), received.end(), "H100");
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

}  // namespace
}  // namespace velmo::e2e
