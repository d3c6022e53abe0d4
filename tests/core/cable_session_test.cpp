// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// On a cable the panel's pace is set: every byte of a session, its order and
// its time on the line are recorded in cable_session.txt, and a change to
// how the panel waits for answers must leave them exactly as they are.
// VELMO_WRITE_CABLE_SESSION=1 writes the file anew from the program as it is
// (for a change that means to alter the cable's timing; say why in the
// commit).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "fake_view.h"

namespace velmo::testing {
namespace {

// Switching on, the signal poll, a step up, a volume change, the scanner
// from 81.5 MHz through its hold at 82.5 MHz (ended early by a volume
// change) and on, then off: what crossed the line, when, and what the lists
// and the bar showed at the end.
std::string CableSession() {
    Rig rig(sim::ReceiverOptions{});
    std::ostringstream out;
    rig.simulated->Receiver().SetObserver(
        [&](sim::Micros at, sim::SimulatedReceiver::Direction direction, std::string_view text) {
            out << at.count() << (direction == sim::SimulatedReceiver::Direction::ToReceiver ? " > " : " < ") << text
                << '\n';
        });
    rig.panel.SetDefaults();
    rig.panel.PowerOn();
    rig.clock.AtMs(1300, [&] { rig.panel.TuneUp(); });
    rig.clock.AtMs(1600, [&] { rig.view.SetScrollValue(ScrollBar::Volume, 90); });
    rig.clock.AtMs(2000, [&] { rig.panel.ToggleScan(); });
    rig.clock.AtMs(5000, [&] { rig.view.SetScrollValue(ScrollBar::Volume, 80); });
    rig.clock.AtMs(14000, [&] { rig.panel.ToggleScan(); });
    rig.clock.AtMs(15000, [&] { rig.panel.PowerOff(); });
    rig.clock.RunUntilMs(15500);
    for (const auto& entry : rig.view.CodesOut()) out << "out " << entry << '\n';
    for (const auto& entry : rig.view.CodesIn()) out << "in " << entry << '\n';
    out << "bar " << rig.view.signal_caption.size() - 1 << '\n';
    return out.str();
}

TEST(CableSession, EveryByteAtTheTimeItAlwaysTook) {
    const std::string session = CableSession();
    const char* const path = VELMO_CABLE_SESSION;
    if (const char* write = std::getenv("VELMO_WRITE_CABLE_SESSION"); write && std::string(write) == "1") {
        std::ofstream(path) << session;
        GTEST_SKIP() << "wrote " << path;
    }
    std::ifstream file(path);
    ASSERT_TRUE(file) << "cannot read " << path;
    std::stringstream recorded;
    recorded << file.rdbuf();
    ASSERT_GT(recorded.str().size(), 1000u);
    // Line by line, so a difference points at the first moment it appears.
    std::istringstream now(session), then(recorded.str());
    std::string now_line, then_line;
    int number = 0;
    while (std::getline(then, then_line)) {
        ++number;
        ASSERT_TRUE(std::getline(now, now_line)) << "the session ends early, at line " << number;
        ASSERT_EQ(now_line, then_line) << "line " << number;
    }
    EXPECT_FALSE(std::getline(now, now_line)) << "the session goes on past line " << number << ": " << now_line;
}

}  // namespace
}  // namespace velmo::testing
