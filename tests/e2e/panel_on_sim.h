// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <optional>
#include <string>
#include <vector>

#include "panel_on_port.h"
#include "pty_receiver.h"
#include "wait.h"

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

// Samples what the window shows every 20 ms. Its ticks come from the event
// loop, so it keeps sampling inside the panel's pauses, where a test's own
// code cannot look (a 6-second hold runs inside the test's event processing).
class Sampler {
public:
    struct Sample {
        qint64 at_ms;
        std::string display;
        std::string bar;
    };
    explicit Sampler(const PanelOnSim& panel) {
        clock_.start();
        QObject::connect(&timer_, &QTimer::timeout, [this, &panel] {
            samples.push_back({clock_.elapsed(), panel.user.Display(), panel.user.SignalBar()});
        });
        timer_.start(20);
    }
    std::vector<Sample> samples;

    // The first time the display showed `display` and the time it next
    // showed something else; empty unless both were seen.
    struct Stay {
        qint64 arrived_ms;
        qint64 left_ms;
    };
    std::optional<Stay> FirstStayAt(const std::string& display) const {
        std::optional<qint64> arrived;
        for (const auto& s : samples) {
            if (!arrived && s.display == display) arrived = s.at_ms;
            if (arrived && s.display != display) return Stay{*arrived, s.at_ms};
        }
        return std::nullopt;
    }

private:
    QElapsedTimer clock_;
    QTimer timer_;
};

}  // namespace velmo::e2e
