// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What scanning costs the window's process: the real window on an X server
// (Xvfb, through xvfb-run) scanning at full pace against velmo-sim, a
// process of its own with the 9600-baud wire timing. The window runs in a
// child of this program that holds nothing but the window and its serial
// port, and measures its own CPU time and resident size every 10 s.

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "benches.h"
#include "child_process.h"
#include "code_list_box.h"
#include "on_path.h"
#include "panel_on_port.h"
#include "process_measures.h"
#include "scan_child.h"
#include "step_counter.h"
#include "wait.h"

#ifndef VELMO_SIM_PROGRAM
#error "the build names velmo-sim's path"
#endif

namespace velmo::bench {

using namespace velmo::testing;

namespace {

constexpr auto kSampleEvery = std::chrono::seconds(10);

// One stretch between two samples.
struct Stretch {
    double wall_s = 0;
    double cpu_s = 0;
    int steps = 0;
    int holds = 0;
    bool lists_full = false;  // full for the whole stretch
};

double Share(double cpu_s, double wall_s) { return wall_s > 0 ? 100.0 * cpu_s / wall_s : 0; }

}  // namespace

int ScanCpuChild(const std::string& device, double minutes) {
    ScanChild child(device);
    if (!child.SwitchOn()) return 1;
    PanelOnPort& rig = child.Rig();
    CodeListBox* sent = &child.Sent();
    CodeListBox* received = &child.Received();
    StepCounter counter(*sent, *received);
    rig.user.Click("Scan");

    const auto started = WallClock::now();
    const auto until = started + std::chrono::duration<double>(minutes * 60);
    std::vector<Stretch> stretches;
    double lists_full_after_s = -1;
    std::int64_t rss_when_full_kib = -1;
    auto last_time = started;
    double last_cpu = ProcessCpuSeconds();
    int last_steps = 0;
    int last_holds = 0;
    while (WallClock::now() < until) {
        const bool full_before = lists_full_after_s >= 0;
        LetRun(std::chrono::duration_cast<std::chrono::milliseconds>(kSampleEvery));
        const auto now = WallClock::now();
        const double cpu = ProcessCpuSeconds();
        stretches.push_back({SecondsBetween(last_time, now), cpu - last_cpu, counter.steps - last_steps,
                             counter.holds - last_holds, full_before});
        last_time = now;
        last_cpu = cpu;
        last_steps = counter.steps;
        last_holds = counter.holds;
        if (!full_before && sent->Count() >= kListFull && received->Count() >= kListFull) {
            lists_full_after_s = SecondsBetween(started, now);
            rss_when_full_kib = ResidentKib();
        }
    }
    const std::int64_t rss_end_kib = ResidentKib();
    rig.user.Click("Scan");

    // Plain scanning: stretches with no hold in them, once the lists are
    // full (each new entry then also drops the oldest), or all of them in
    // a run too short to fill the lists.
    Stretch plain;
    Stretch whole;
    for (const Stretch& s : stretches) {
        whole.wall_s += s.wall_s;
        whole.cpu_s += s.cpu_s;
        whole.steps += s.steps;
        whole.holds += s.holds;
        if (s.holds == 0 && s.steps > 0 && (s.lists_full || lists_full_after_s < 0)) {
            plain.wall_s += s.wall_s;
            plain.cpu_s += s.cpu_s;
            plain.steps += s.steps;
        }
    }
    if (lists_full_after_s < 0)
        std::fprintf(stderr, "velmo-bench: the lists did not fill; plain scanning taken whole\n");
    if (plain.wall_s > 0) {
        Print(AtMost("scan_cpu_plain_scanning", Share(plain.cpu_s, plain.wall_s), "%core", 3));
    } else {
        std::fprintf(stderr, "velmo-bench: no stretch of plain scanning; run longer\n");
    }
    Print(Info("scan_cpu_with_holds", Share(whole.cpu_s, whole.wall_s), "%core"));
    Print(Info("scan_cpu_ms_per_step_plain", plain.steps ? 1000.0 * plain.cpu_s / plain.steps : 0, "ms"));
    Print(Info("scan_steps_per_s_plain", plain.wall_s > 0 ? plain.steps / plain.wall_s : 0, "1/s"));
    Print(Info("scan_plain_time", plain.wall_s, "s"));
    Print(Info("scan_holds", whole.holds, "holds"));
    Print(Info("scan_lists_full_after", lists_full_after_s, "s"));
    Print(Info("scan_rss_at_end", MegabytesOf(rss_end_kib), "MB"));
    if (rss_when_full_kib >= 0) {
        Print(AtMost("scan_rss_growth_after_lists_full", MegabytesOf(rss_end_kib - rss_when_full_kib), "MB", 1, false));
    }
    Print(Info("scan_run_time", whole.wall_s, "s"));
    return 0;
}

void ScanCpuFigures(const std::string& self, double minutes) {
    ChildProcess sim(VELMO_SIM_PROGRAM, {});
    if (!sim.WaitForOutput("\n", std::chrono::seconds(10))) {
        std::fprintf(stderr, "velmo-bench: velmo-sim did not start: %s\n", sim.Errors().c_str());
        return;
    }
    std::string device = sim.Output();
    device.erase(device.find('\n'));

    // The window on an X server of its own, as a user's would be.
    ChildProcess::Options options;
    options.unset = {"QT_QPA_PLATFORM"};
    ChildProcess window(
        FindOnPath("xvfb-run").value_or("xvfb-run"),
        {"-a", "-s", "-screen 0 1280x1024x24 -nolisten tcp", self, "--scan-cpu-child", device, std::to_string(minutes)},
        options);
    const auto limit = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::duration<double>(minutes * 60) + std::chrono::minutes(2));
    const int status = window.Wait(limit);
    std::fputs(window.Output().c_str(), stdout);
    std::fflush(stdout);
    if (status != 0) {
        std::fprintf(stderr, "velmo-bench: scanning run failed (status %d): %s\n", status, window.Errors().c_str());
    }
    sim.Signal(SIGTERM);
    sim.Wait(std::chrono::seconds(10));
}

}  // namespace velmo::bench
