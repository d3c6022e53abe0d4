// Page Up to the first byte of its tuning command at the far end of the
// line, with a bare receiver that answers at once and times each byte.

#include <cstdio>
#include <vector>

#include "answering_pty.h"
#include "benches.h"
#include "panel_rig.h"
#include "process_measures.h"

namespace velmo::bench {

void KeyToWireFigures() {
    AnsweringPty receiver;
    PanelRig rig(receiver.Path());
    if (!rig.SwitchOn()) {
        std::fprintf(stderr, "velmo-bench: the receiver did not come on\n");
        return;
    }
    std::vector<double> latencies_ms;
    for (int press = 0; press < 200; ++press) {
        const std::size_t from = receiver.LineCount();
        const auto pressed = Clock::now();
        rig.Key(Qt::Key_PageUp);
        AnsweringPty::Time first_byte{};
        const bool seen = RunUntil(
            [&] {
                const auto lines = receiver.Lines();
                for (std::size_t i = from; i < lines.size(); ++i) {
                    if (lines[i].text.rfind("K0", 0) == 0) {
                        first_byte = lines[i].first_byte;
                        return true;
                    }
                }
                return false;
            },
            std::chrono::seconds(2), 1);
        if (seen) latencies_ms.push_back(SecondsBetween(pressed, first_byte) * 1e3);
        // Presses land at different points of the 500 ms signal poll.
        RunFor(std::chrono::milliseconds(37));
    }
    Print(AtMost("key_to_wire_median", Median(latencies_ms), "ms", 2, false));
    Print(Info("key_to_wire_p99", Percentile(latencies_ms, 0.99), "ms"));
    Print(Info("key_to_wire_presses_seen", static_cast<double>(latencies_ms.size()), "presses"));
}

}  // namespace velmo::bench
