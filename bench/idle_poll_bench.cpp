// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Receiver on and left alone for a minute: only the 500 ms signal poll runs.
// The simulated receiver serves from a thread of this process, so the
// panel's own thread is measured by its thread CPU clock, apart from it.

#include <algorithm>
#include <cstdio>

#include "benches.h"
#include "panel_on_port.h"
#include "process_measures.h"
#include "pty_receiver.h"
#include "wait.h"

namespace velmo::bench {

using namespace velmo::testing;

void IdlePollFigures() {
    PtyReceiver receiver(sim::ReceiverOptions{});
    PanelOnPort rig(receiver.Path());
    if (!rig.SwitchOn()) {
        std::fprintf(stderr, "velmo-bench: the receiver did not come on\n");
        return;
    }
    LetRun(std::chrono::seconds(1));

    const auto polls = [&receiver] {
        const auto lines = receiver.Lines();
        return std::count(lines.begin(), lines.end(), "I1?");
    };
    const auto polls_before = polls();
    const double thread_before = ThreadCpuSeconds();
    const double process_before = ProcessCpuSeconds();
    const auto wall_before = WallClock::now();
    LetRun(std::chrono::seconds(60));
    const double wall = SecondsBetween(wall_before, WallClock::now());
    const double thread = ThreadCpuSeconds() - thread_before;
    const double process = ProcessCpuSeconds() - process_before;

    Print(AtMost("idle_poll_cpu_panel_thread", thread / wall * 100, "%core", 0.5, false));
    Print(Info("idle_poll_cpu_process_with_sim", process / wall * 100, "%core"));
    Print(Info("idle_poll_queries_per_second", static_cast<double>(polls() - polls_before) / wall, "1/s"));
}

}  // namespace velmo::bench
