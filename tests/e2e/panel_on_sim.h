// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "panel_on_port.h"
#include "pty_receiver.h"
#include "switch_on_commands.h"
#include "wait.h"
#include "window_sampler.h"

namespace velmo::e2e {

using testing::WaitUntil;

// The real window on the real serial port, with the simulated receiver on
// the far side of a pseudo-terminal, in real time.
struct PanelOnSim {
    explicit PanelOnSim(sim::ReceiverOptions options = {}) : sim(std::move(options)), port(sim.Path()) {}

    testing::PtyReceiver sim;
    testing::PanelOnPort port;
    MainWindow& window = port.window;
    WindowDriver& user = port.user;
    // What the program would have told the user.
    std::vector<std::string>& failures = port.messages;

    // The tuning commands the receiver has taken in so far.
    std::vector<std::string> TuningCommands() const {
        std::vector<std::string> commands;
        for (const auto& line : sim.Lines()) {
            if (line.rfind("K0", 0) == 0) commands.push_back(line);
        }
        return commands;
    }
};

using testing::Sampler;

// Switches the receiver on as the user does, and waits until it has taken
// the switch-on's commands.
inline void SwitchOn(PanelOnSim& panel) {
    panel.user.Click("RadioOn");
    ASSERT_TRUE(WaitUntil([&] { return panel.sim.Lines().size() >= testing::kSwitchOnCommands.size(); },
                          std::chrono::seconds(5)));
}

// The bar's length: its text is a space and one "|" per unit.
inline int BarLength(const std::string& bar) { return static_cast<int>(bar.size()) - 1; }

}  // namespace velmo::e2e
