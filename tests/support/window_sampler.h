// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <optional>
#include <string>
#include <vector>

#include "window_driver.h"

namespace velmo::testing {

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
    explicit Sampler(const WindowDriver& user);
    std::vector<Sample> samples;

    // The first time the display showed `display` and the time it next
    // showed something else; empty unless both were seen.
    struct Stay {
        qint64 arrived_ms;
        qint64 left_ms;
    };
    std::optional<Stay> FirstStayAt(const std::string& display) const;

private:
    QElapsedTimer clock_;
    QTimer timer_;
};

}  // namespace velmo::testing
