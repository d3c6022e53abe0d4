// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Whether the window's live heap grows over a long scan that holds: the
// real window on Xvfb against velmo-sim (a process of its own, 9600-baud
// wire timing), in a child of this program, scanning the broadcast band
// (76 to 108 MHz, a dozen stations always on the air and two on and off)
// again and again: at the top of the band it stops, is tuned back to
// 76 MHz by direct entry and starts again, as a user watching the band
// would. After the first pass the lists are topped up to their bound with
// copies of what that pass listed, so what grows is not their filling nor
// their turning over from other entries. At the top of each pass the child
// notes its live heap (what malloc has handed out and not had back,
// mmapped blocks included), always at the same point of the scan, so that
// the passes compare; the growth per hour is the slope of those samples
// from the end of the second pass on (that pass fills the caches of glyphs
// and row pictures with full lists).

#include <malloc.h>

#include <csignal>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "benches.h"
#include "child_process.h"
#include "code_list_box.h"
#include "heap_growth.h"
#include "list_top_up.h"
#include "on_path.h"
#include "panel_on_port.h"
#include "process_measures.h"
#include "protocol.h"
#include "scan_child.h"
#include "step_counter.h"
#include "wait.h"

#ifndef VELMO_SIM_PROGRAM
#error "the build names velmo-sim's path"
#endif

namespace velmo::bench {

using namespace velmo::testing;

namespace {

const char kBandBottomMhz[] = "76";
constexpr long long kBandTopHz = 108'000'000;
constexpr double kGrowthLimitKibPerHour = 16;

std::int64_t LiveHeapBytes() {
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<std::int64_t>(heap.uordblks + heap.hblkhd);
}

// The hertz of the newest tuning command in the list, or -1.
long long NewestTunedHz(const CodeListBox& sent) {
    const QString newest = sent.Entry(sent.Count() - 1);
    if (!newest.startsWith(QLatin1String(protocol::kTune)) || newest.size() < 12) return -1;
    bool ok = false;
    const long long hz = newest.mid(2, 10).toLongLong(&ok);
    return ok ? hz : -1;
}

struct Sample {
    double seconds = 0;
    std::int64_t live_bytes = 0;
    int steps = 0;
    int holds = 0;
    std::int64_t resident_kib = -1;
};

std::vector<Sample> ReadSamples(const std::string& output) {
    std::vector<Sample> all;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string key;
        Sample s;
        if (words >> key >> s.seconds >> s.live_bytes >> s.steps >> s.holds >> s.resident_kib && key == "pass") {
            all.push_back(s);
        }
    }
    return all;
}

std::vector<HeapSample> LiveHeap(const std::vector<Sample>& samples) {
    std::vector<HeapSample> heap;
    for (const Sample& s : samples) heap.push_back({s.seconds, s.live_bytes});
    return heap;
}

}  // namespace

int ScanHeapChild(const std::string& device, double minutes) {
    ScanChild child(device);
    if (!child.SwitchOn()) return 1;
    PanelOnPort& rig = child.Rig();
    CodeListBox* sent = &child.Sent();
    CodeListBox* received = &child.Received();
    StepCounter counter(*sent, *received);
    const auto tune_to_bottom = [&] {
        rig.user.EnterFrequency(QString::fromLatin1(kBandBottomMhz));
        return WaitUntil([&] {
            const long long hz = NewestTunedHz(*sent);
            return hz >= 0 && hz < kBandTopHz;
        });
    };
    if (!tune_to_bottom()) {
        std::fprintf(stderr, "velmo-bench: could not tune to %s MHz\n", kBandBottomMhz);
        return 1;
    }
    // The first pass lists what every pass lists; the lists are then topped
    // up with copies of it, so that they are full of what a long scan keeps
    // in them from the first sample on.
    const int sent_from = sent->Count();
    const int received_from = received->Count();
    bool topped_up = false;
    rig.user.Click("Scan");
    const auto started = WallClock::now();
    const auto until = started + std::chrono::duration<double>(minutes * 60);
    while (WallClock::now() < until) {
        LetRun(std::chrono::milliseconds(100));
        if (NewestTunedHz(*sent) < kBandTopHz) continue;
        rig.user.Click("Scan");
        if (!topped_up) {
            TopUp(rig.window, CodeList::CodesOut, *sent, kListFull, sent_from);
            TopUp(rig.window, CodeList::CodesIn, *received, kListFull, received_from);
            LetRun(std::chrono::milliseconds(500));
            topped_up = true;
        }
        std::printf("pass %.1f %lld %d %d %lld\n", SecondsBetween(started, WallClock::now()),
                    static_cast<long long>(LiveHeapBytes()), counter.steps, counter.holds,
                    static_cast<long long>(ResidentKib()));
        std::fflush(stdout);
        if (!tune_to_bottom()) {
            std::fprintf(stderr, "velmo-bench: could not tune back to %s MHz\n", kBandBottomMhz);
            return 1;
        }
        rig.user.Click("Scan");
    }
    rig.user.Click("Scan");
    return 0;
}

bool ScanHeapFigures(const std::string& self, double minutes) {
    ChildProcess sim(VELMO_SIM_PROGRAM, {});
    if (!sim.WaitForOutput("\n", std::chrono::seconds(10))) {
        std::fprintf(stderr, "velmo-bench: velmo-sim did not start: %s\n", sim.Errors().c_str());
        return false;
    }
    std::string device = sim.Output();
    device.erase(device.find('\n'));

    ChildProcess::Options options;
    options.unset = {"QT_QPA_PLATFORM"};
    ChildProcess window(FindOnPath("xvfb-run").value_or("xvfb-run"),
                        {"-a", "-s", "-screen 0 1280x1024x24 -nolisten tcp", self, "--scan-heap-child", device,
                         std::to_string(minutes)},
                        options);
    const auto limit = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::duration<double>(minutes * 60) + std::chrono::minutes(3));
    const int status = window.Wait(limit);
    sim.Signal(SIGTERM);
    sim.Wait(std::chrono::seconds(10));
    if (status != 0) {
        std::fprintf(stderr, "velmo-bench: scan-heap: the run failed (status %d): %s\n", status,
                     window.Errors().c_str());
    }
    const std::vector<Sample> all = ReadSamples(window.Output());
    for (const Sample& s : all) {
        std::fprintf(stderr,
                     "velmo-bench: scan-heap: a pass ended at %.0f s: %lld bytes live, %lld KiB resident, %d steps, "
                     "%d holds\n",
                     s.seconds, static_cast<long long>(s.live_bytes), static_cast<long long>(s.resident_kib), s.steps,
                     s.holds);
    }
    if (all.size() < 4) {
        std::fprintf(stderr, "velmo-bench: scan-heap: %zu passes; run longer (--heap-minutes)\n", all.size());
        return false;
    }
    // From the end of the second pass on: the first pass fills the lists,
    // the second the caches of glyphs and row pictures with full lists.
    const std::vector<Sample> judged(all.begin() + 1, all.end());
    const Sample& first = judged.front();
    const Sample& last = judged.back();
    const double hours = (last.seconds - first.seconds) / 3600;
    const std::optional<double> growth_bytes = HeapGrowthPerHour(LiveHeap(judged));
    if (!growth_bytes) {
        std::fprintf(stderr,
                     "velmo-bench: scan-heap: too few passes to compare two halves; run longer (--heap-minutes)\n");
        return false;
    }
    const Figure growth = AtMost("scan_heap_growth_per_hour", *growth_bytes / 1024, "KiB/h", kGrowthLimitKibPerHour);
    Print(growth);
    Print(Info("scan_heap_slope_per_hour", HeapSlopePerHour(LiveHeap(judged)) / 1024, "KiB/h"));
    Print(Info("scan_heap_live_first_pass", static_cast<double>(first.live_bytes) / 1024, "KiB"));
    Print(Info("scan_heap_live_last_pass", static_cast<double>(last.live_bytes) / 1024, "KiB"));
    Print(Info("scan_heap_resident_first_pass", static_cast<double>(first.resident_kib), "KiB"));
    Print(Info("scan_heap_resident_last_pass", static_cast<double>(last.resident_kib), "KiB"));
    Print(Info("scan_heap_steps_per_second", (last.steps - first.steps) / (last.seconds - first.seconds), "steps/s"));
    Print(Info("scan_heap_judged_time", hours * 60, "min"));
    Print(Info("scan_heap_passes", static_cast<double>(judged.size() - 1), "passes"));
    Print(Info("scan_heap_steps", last.steps - first.steps, "steps"));
    Print(Info("scan_heap_holds", last.holds - first.holds, "holds"));
    return growth.verdict != Figure::Verdict::Short;
}

}  // namespace velmo::bench
