// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The instructions the window spends on each scanner step, counted by
// callgrind: a figure that, unlike a share of a core, does not depend on
// how busy the machine is, and carries over to another processor.
//
// As for scan-cpu, the window runs on Xvfb against velmo-sim (a process of
// its own, 9600-baud wire timing), in a child of this program that holds
// nothing but the window and its serial port; here the child runs under
// valgrind --tool=callgrind, with instrumentation and collection off. The
// child switches on, tunes to 150 MHz (nothing on the air from there up, so
// the scanner never holds), starts the scanner, and counts three windows of
// steps, each from one tuning command listed to another: with the lists
// nearly empty, with them half full, and with them full (each new entry
// then also drops the oldest). Between the windows it lists copies of the
// entries already there, so the lists reach half and full in seconds
// rather than in minutes of scanning. Each window ends in a callgrind dump
// named after it; this program reads the dumps and divides their
// instruction counts by the steps taken in them.
//
// Callgrind slows the window some fifty times, so it cannot keep 20 steps
// a second: the scanner steps as often as the window manages. A step
// costs the same instructions either way, but a slowed window reads the
// receiver's bytes in bigger batches, so the per-byte wake-ups are fewer.

#include <unistd.h>

#include <QEventLoop>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define VELMO_HAS_CALLGRIND 1
#endif

#include "benches.h"
#include "callgrind_dump.h"
#include "child_process.h"
#include "code_list_box.h"
#include "list_top_up.h"
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

// One window of steps as the child counted it.
struct Counted {
    std::string name;
    int steps = 0;
    int holds = 0;
    double seconds = 0;
    int listed = 0;  // entries in the command list as it began, its first step's included
};

#ifdef VELMO_HAS_CALLGRIND

// Steps let run before each window, uninstrumented: the first steps after
// the lists were topped up lay them out again, once.
constexpr int kWarmUpSteps = 10;
constexpr auto kWindowLimit = std::chrono::minutes(4);
const char kQuietStartMhz[] = "150.000000";
const char kQuietStartCommand[] = "K00150000000";

// Lets the scanner run kWarmUpSteps steps, then counts instructions over
// the next `steps`, from the listing of one tuning command to the listing
// of another: whole steps, with the idle event loop between them. The
// dump is named `name`.
Counted CountSteps(CodeListBox& sent, CodeListBox& received, const std::string& name, int steps) {
    Counted counted{name, 0, 0, 0, sent.Count()};
    QEventLoop loop;
    WallClock::time_point began;
    int holds_before = 0;
    StepCounter counter(sent, received, [&] {
        if (counter.steps == kWarmUpSteps) {
            CALLGRIND_START_INSTRUMENTATION;
            CALLGRIND_ZERO_STATS;
            CALLGRIND_TOGGLE_COLLECT;
            began = WallClock::now();
            holds_before = counter.holds;
            counted.listed = sent.Count();
        } else if (counter.steps == kWarmUpSteps + steps) {
            CALLGRIND_TOGGLE_COLLECT;
            CALLGRIND_DUMP_STATS_AT(name.c_str());
            CALLGRIND_STOP_INSTRUMENTATION;
            counted.seconds = SecondsBetween(began, WallClock::now());
            counted.steps = steps;
            counted.holds = counter.holds - holds_before;
            loop.quit();
        }
    });
    QTimer::singleShot(kWindowLimit, &loop, &QEventLoop::quit);
    // Returns once the step that ended the window has ended.
    loop.exec();
    if (counted.steps == 0 && counter.steps >= kWarmUpSteps) {
        // Ran out of time while counting: nothing is left collecting for
        // the next window to toggle off instead of on.
        CALLGRIND_TOGGLE_COLLECT;
        CALLGRIND_STOP_INSTRUMENTATION;
    }
    return counted;
}

#endif

// Reads the child's "counted" lines.
std::vector<Counted> ReadCounted(const std::string& output) {
    std::vector<Counted> all;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string key;
        Counted c;
        if (words >> key >> c.name >> c.steps >> c.holds >> c.seconds >> c.listed && key == "counted") {
            all.push_back(c);
        }
    }
    return all;
}

}  // namespace

int ScanInsnChild(const std::string& device, int steps) {
#ifndef VELMO_HAS_CALLGRIND
    (void)device;
    (void)steps;
    std::fprintf(stderr, "velmo-bench: built without valgrind/callgrind.h (Debian package valgrind)\n");
    return 3;
#else
    if (!RUNNING_ON_VALGRIND) {
        std::fprintf(stderr, "velmo-bench: the instruction count needs valgrind --tool=callgrind\n");
        return 3;
    }
    ScanChild child(device);
    if (!child.SwitchOn()) return 1;
    PanelOnPort& rig = child.Rig();
    CodeListBox* sent = &child.Sent();
    CodeListBox* received = &child.Received();
    rig.user.EnterFrequency(QString::fromLatin1(kQuietStartMhz));
    if (!WaitUntil([&] { return sent->Entry(sent->Count() - 1).startsWith(QLatin1String(kQuietStartCommand)); },
                   std::chrono::seconds(30))) {
        std::fprintf(stderr, "velmo-bench: could not tune to %s MHz\n", kQuietStartMhz);
        return 1;
    }
    rig.user.Click("Scan");
    std::vector<Counted> windows;
    windows.push_back(CountSteps(*sent, *received, "filling_start", steps));
    for (const auto& [window, count] : {std::pair{"filling_half", kListFull / 2}, std::pair{"full", kListFull}}) {
        TopUp(rig.window, CodeList::CodesOut, *sent, count);
        TopUp(rig.window, CodeList::CodesIn, *received, count);
        windows.push_back(CountSteps(*sent, *received, window, steps));
    }
    rig.user.Click("Scan");
    for (const Counted& c : windows) {
        std::printf("counted %s %d %d %.3f %d\n", c.name.c_str(), c.steps, c.holds, c.seconds, c.listed);
    }
    return 0;
#endif
}

void ScanInsnFigures(const std::string& self, int steps, const std::string& keep_folder) {
    const auto valgrind = FindOnPath("valgrind");
    const auto xvfb_run = FindOnPath("xvfb-run");
    if (!valgrind || !xvfb_run) {
        std::fprintf(stderr, "velmo-bench: scan-insn skipped: %s is not installed (Debian package %s)\n",
                     valgrind ? "xvfb-run" : "valgrind", valgrind ? "xvfb" : "valgrind");
        return;
    }
    const std::string folder =
        keep_folder.empty()
            ? (std::filesystem::temp_directory_path() / ("velmo-insn-" + std::to_string(getpid()))).string()
            : keep_folder;
    std::filesystem::create_directories(folder);
    // Dumps of an earlier run in a kept folder would be read as this one's.
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind("callgrind.out", 0) == 0) std::filesystem::remove(entry.path());
    }

    ChildProcess sim(VELMO_SIM_PROGRAM, {});
    if (!sim.WaitForOutput("\n", std::chrono::seconds(10))) {
        std::fprintf(stderr, "velmo-bench: velmo-sim did not start: %s\n", sim.Errors().c_str());
        return;
    }
    std::string device = sim.Output();
    device.erase(device.find('\n'));

    ChildProcess::Options options;
    options.unset = {"QT_QPA_PLATFORM"};
    const auto started = WallClock::now();
    ChildProcess window(
        *xvfb_run,
        {"-a", "-s", "-screen 0 1280x1024x24 -nolisten tcp", *valgrind, "--tool=callgrind", "--instr-atstart=no",
         "--collect-atstart=no", "--callgrind-out-file=" + folder + "/callgrind.out", self, "--scan-insn-child", device,
         std::to_string(steps)},
        options);
    const int status = window.Wait(std::chrono::minutes(15));
    const double run_s = SecondsBetween(started, WallClock::now());
    sim.Signal(SIGTERM);
    sim.Wait(std::chrono::seconds(10));
    if (status != 0) {
        std::fprintf(stderr, "velmo-bench: scan-insn: the counted run failed (status %d): %s\n", status,
                     window.Errors().c_str());
    }

    std::map<std::string, std::int64_t> instructions;
    for (const CallgrindDump& dump : ReadCallgrindDumps(folder)) instructions[dump.trigger] = dump.instructions;
    for (const Counted& c : ReadCounted(window.Output())) {
        const auto found = instructions.find(c.name);
        if (found == instructions.end() || c.steps == 0) {
            std::fprintf(stderr, "velmo-bench: scan-insn: no count for %s\n", c.name.c_str());
            continue;
        }
        if (c.holds > 0) std::fprintf(stderr, "velmo-bench: scan-insn: %d holds during %s\n", c.holds, c.name.c_str());
        const std::string stem = "scan_insn_" + c.name;
        Print(Info(stem + "_per_step", static_cast<double>(found->second) / c.steps / 1e6, "Minstr"));
        Print(Info(stem + "_listed_at_start", c.listed, "entries"));
        Print(Info(stem + "_steps", c.steps, "steps"));
        Print(Info(stem + "_steps_per_s", c.seconds > 0 ? c.steps / c.seconds : 0, "1/s"));
    }
    Print(Info("scan_insn_run_time", run_s, "s"));
    if (keep_folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    } else {
        std::fprintf(stderr, "velmo-bench: scan-insn: callgrind's dumps are in %s\n", folder.c_str());
    }
}

}  // namespace velmo::bench
