// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Page Up to the first byte of its tuning command at the far end of the
// line, with a bare receiver that answers at once and times each byte.

#include <cstdio>
#include <vector>

#include "benches.h"
#include "panel_on_port.h"
#include "process_measures.h"
#include "pty_receiver.h"
#include "wait.h"

namespace velmo::bench {

using namespace velmo::testing;

void KeyToWireFigures() {
    // Answers at once, with a quiet squelch and signal: it is there to see
    // how soon the program's bytes leave it, not to play a receiver.
    PtyReceiver receiver(ReceiverAnswers("00", "04"));
    PanelOnPort rig(receiver.Path());
    if (!rig.SwitchOn()) {
        std::fprintf(stderr, "velmo-bench: the receiver did not come on\n");
        return;
    }
    std::vector<double> latencies_ms;
    for (int press = 0; press < 200; ++press) {
        const std::size_t from = receiver.LineCount();
        const auto pressed = WallClock::now();
        rig.user.Key(Qt::Key_PageUp);
        PtyReceiver::Clock::time_point first_byte{};
        const bool seen = WaitUntil(
            [&] {
                const auto lines = receiver.Received();
                for (std::size_t i = from; i < lines.size(); ++i) {
                    if (lines[i].text.rfind("K0", 0) == 0) {
                        first_byte = lines[i].at;
                        return true;
                    }
                }
                return false;
            },
            std::chrono::seconds(2));
        if (seen) latencies_ms.push_back(SecondsBetween(pressed, first_byte) * 1e3);
        // Presses land at different points of the 500 ms signal poll.
        LetRun(std::chrono::milliseconds(37));
    }
    Print(AtMost("key_to_wire_median", Median(latencies_ms), "ms", 2, false));
    Print(Info("key_to_wire_p99", Percentile(latencies_ms, 0.99), "ms"));
    Print(Info("key_to_wire_presses_seen", static_cast<double>(latencies_ms.size()), "presses"));
}

}  // namespace velmo::bench
