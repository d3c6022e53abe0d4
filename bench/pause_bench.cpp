// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Pause(0.01) on the real window's Timer1 and event loop, receiver off, so
// nothing but the pause itself runs.

#include <vector>

#include "benches.h"
#include "panel_on_port.h"
#include "process_measures.h"
#include "pty_receiver.h"
#include "wait.h"

namespace velmo::bench {

using namespace velmo::testing;

void PauseFigures() {
    PtyReceiver receiver(sim::ReceiverOptions{});
    PanelOnPort rig(receiver.Path());
    FrontPanel& panel = rig.window.Panel();
    LetRun(std::chrono::milliseconds(300));  // first paint and settling

    for (int i = 0; i < 50; ++i) panel.Pause(0.01);  // warm-up

    std::vector<double> lengths_ms;
    lengths_ms.reserve(2000);
    for (int i = 0; i < 2000; ++i) {
        const auto start = WallClock::now();
        panel.Pause(0.01);
        lengths_ms.push_back(SecondsBetween(start, WallClock::now()) * 1e3);
    }
    Print(AtMost("pause_10ms_median", Median(lengths_ms), "ms", 10.5));
    Print(AtMost("pause_10ms_p99", Percentile(lengths_ms, 0.99), "ms", 12));
    Print(Info("pause_10ms_max", Percentile(lengths_ms, 1.0), "ms"));

    const double cpu_before = ProcessCpuSeconds();
    const double thread_before = ThreadCpuSeconds();
    const auto wall_before = WallClock::now();
    for (int i = 0; i < 1000; ++i) panel.Pause(0.01);
    const double wall = SecondsBetween(wall_before, WallClock::now());
    Print(AtMost("pause_cpu_process", (ProcessCpuSeconds() - cpu_before) / wall * 100, "%core", 3, false));
    Print(Info("pause_cpu_panel_thread", (ThreadCpuSeconds() - thread_before) / wall * 100, "%core"));
}

}  // namespace velmo::bench
