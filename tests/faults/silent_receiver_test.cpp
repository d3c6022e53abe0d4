// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A receiver that never answers is not a failure: the window goes on as
// before, listing nothing it did not receive and keeping the bar as it was.
#include <gtest/gtest.h>

#include <algorithm>

#include "panel_on_port.h"
#include "pty_receiver.h"
#include "switch_on_commands.h"
#include "wait.h"

namespace velmo::faults {
namespace {

using namespace velmo::testing;
using namespace std::chrono_literals;

std::vector<PtyReceiver::Clock::time_point> Polls(const PtyReceiver& receiver) {
    std::vector<PtyReceiver::Clock::time_point> at;
    for (const auto& line : receiver.Received()) {
        if (line.text == "I1?") at.push_back(line.at);
    }
    return at;
}

// Waits for `count` more signal queries and checks they kept the poll's pace.
void ExpectPollGoesOn(const PtyReceiver& receiver, std::size_t count) {
    const std::size_t before = Polls(receiver).size();
    ASSERT_TRUE(WaitUntil([&] { return Polls(receiver).size() >= before + count; }));
    const auto polls = Polls(receiver);
    for (std::size_t i = std::max<std::size_t>(before, 1); i < polls.size(); ++i) {
        const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(polls[i] - polls[i - 1]);
        EXPECT_GE(gap.count(), 400) << "poll " << i;
        EXPECT_LE(gap.count(), 1000) << "poll " << i;
    }
}

std::size_t TuningCommands(const PtyReceiver& receiver) {
    const auto lines = receiver.Lines();
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("K0", 0) == 0; }));
}

TEST(SilentReceiver, TheWindowGoesOnAndListsNothing) {
    PtyReceiver receiver(Silent());
    PanelOnPort panel(receiver.Path());
    panel.user.Click("RadioOn");
    ASSERT_TRUE(WaitUntil([&] { return receiver.Lines().size() >= kSwitchOnCommands.size(); }));
    ExpectPollGoesOn(receiver, 3);
    EXPECT_TRUE(panel.user.CodesIn().empty());
    EXPECT_EQ(panel.user.SignalBar(), " ");

    // Clicks are handled at once, whatever the poll is doing.
    for (int i = 0; i < 5; ++i) {
        const std::size_t before = TuningCommands(receiver);
        const auto clicked = PtyReceiver::Clock::now();
        panel.user.Click("FrequencyUp");
        ASSERT_TRUE(WaitUntil([&] { return TuningCommands(receiver) > before; }));
        const auto arrived = receiver.Received().back().at;
        EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(arrived - clicked).count(), 500);
        LetRun(std::chrono::milliseconds(100 * i));  // land at other points of the poll
    }
    EXPECT_EQ(panel.user.Display(), "81.800.000");
    EXPECT_TRUE(panel.user.CodesIn().empty());
    EXPECT_TRUE(panel.messages.empty());
}

TEST(SilentReceiver, FallingSilentKeepsTheBarAsItWas) {
    PtyReceiver receiver(ReceiverAnswers("80"));
    PanelOnPort panel(receiver.Path());
    panel.user.Click("RadioOn");
    const std::string bar_of_80 = " " + std::string(57, '|');
    ASSERT_TRUE(WaitUntil([&] { return panel.user.SignalBar() == bar_of_80; }));

    receiver.SetAnswer(Silent());
    // A reply already on its way is read by the poll after it at the
    // latest, and that poll has ended once the next query goes out.
    ExpectPollGoesOn(receiver, 2);
    const std::size_t listed = panel.user.CodesIn().size();
    ExpectPollGoesOn(receiver, 3);
    EXPECT_EQ(panel.user.CodesIn().size(), listed);
    EXPECT_EQ(panel.user.SignalBar(), bar_of_80);
    EXPECT_TRUE(panel.messages.empty());
}

}  // namespace
}  // namespace velmo::faults
