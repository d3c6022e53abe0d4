// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// velmo-bench: measures the real window, its Qt timers and serial port
// against the simulated receiver on pseudo-terminals, and prints one line
// per figure: name, value, unit, target, and whether it meets the target.
//
//   velmo-bench [--only NAME[,NAME...]] [--scan-minutes N] [--heap-minutes N] [--insn-steps N]
//               [--keep-callgrind FOLDER] [--list] [--about]

#include <unistd.h>

#include <QApplication>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "benches.h"

namespace {

std::string SelfPath() {
    std::array<char, 4096> path{};
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
    return n > 0 ? std::string(path.data(), static_cast<std::size_t>(n)) : std::string();
}

std::string Compiler() {
#if defined(__clang__)
    return "Clang " __clang_version__;
#elif defined(__GNUC__)
    return "GCC " __VERSION__;
#else
    return "unknown";
#endif
}

double LoadAverage() {
    double one_minute = -1;
    if (std::FILE* file = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(file, "%lf", &one_minute) != 1) one_minute = -1;
        std::fclose(file);
    }
    return one_minute;
}

std::set<std::string> Split(const std::string& names) {
    std::set<std::string> out;
    std::istringstream in(names);
    std::string name;
    while (std::getline(in, name, ',')) {
        if (!name.empty()) out.insert(name);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    // The scanning window runs on the X server that xvfb-run gave it.
    if (argc == 4 && std::strcmp(argv[1], "--scan-cpu-child") == 0) {
        return velmo::bench::ScanCpuChild(argv[2], std::atof(argv[3]));
    }
    if (argc == 4 && std::strcmp(argv[1], "--scan-insn-child") == 0) {
        return velmo::bench::ScanInsnChild(argv[2], std::atoi(argv[3]));
    }
    if (argc == 4 && std::strcmp(argv[1], "--scan-heap-child") == 0) {
        return velmo::bench::ScanHeapChild(argv[2], std::atof(argv[3]));
    }
    // Every other figure is taken on the offscreen platform, wherever this runs.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (argc > 1 && std::strcmp(argv[1], "--startup-child") == 0) return velmo::bench::StartupChild();
    if (argc > 1 && std::strcmp(argv[1], "--memory-child") == 0) return velmo::bench::MemoryChild();

    const std::string self = SelfPath();
    double scan_minutes = 10;
    double heap_minutes = 120;
    bool heap_short = false;
    int insn_steps = 200;
    std::string keep_callgrind;
    const std::vector<std::pair<std::string, std::function<void()>>> scenarios = {
        {"pause", velmo::bench::PauseFigures},
        {"idle-poll", velmo::bench::IdlePollFigures},
        {"scan-empty", velmo::bench::EmptyBandScanFigures},
        {"scan-band", velmo::bench::BandPassFigures},
        {"scan-link", velmo::bench::LinkScanFigures},
        {"scan-cpu", [&self, &scan_minutes] { velmo::bench::ScanCpuFigures(self, scan_minutes); }},
        {"scan-insn",
         [&self, &insn_steps, &keep_callgrind] { velmo::bench::ScanInsnFigures(self, insn_steps, keep_callgrind); }},
        {"scan-heap",
         [&self, &heap_minutes, &heap_short] { heap_short = !velmo::bench::ScanHeapFigures(self, heap_minutes); }},
        {"key-to-wire", velmo::bench::KeyToWireFigures},
        {"startup", [&self] { velmo::bench::StartupFigures(self); }},
        {"memory", [&self] { velmo::bench::MemoryFigures(self); }},
    };

    std::set<std::string> only;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--list") == 0) {
            for (const auto& [name, run] : scenarios) std::printf("%s\n", name.c_str());
            return 0;
        }
        if (std::strcmp(argv[i], "--about") == 0) {
            // What the figures were measured with, for the report.
            std::printf("Qt %s (built against %s); compiler %s\n", qVersion(), QT_VERSION_STR, Compiler().c_str());
            return 0;
        }
        if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc) {
            only = Split(argv[++i]);
        } else if (std::strcmp(argv[i], "--scan-minutes") == 0 && i + 1 < argc && std::atof(argv[i + 1]) > 0) {
            // A shorter scanning run, to try it quickly.
            scan_minutes = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--heap-minutes") == 0 && i + 1 < argc && std::atof(argv[i + 1]) > 0) {
            // How long scan-heap scans the busy band.
            heap_minutes = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--insn-steps") == 0 && i + 1 < argc && std::atoi(argv[i + 1]) > 0) {
            // Steps counted in each of scan-insn's windows.
            insn_steps = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--keep-callgrind") == 0 && i + 1 < argc) {
            // Where scan-insn leaves callgrind's dumps, for callgrind_annotate.
            keep_callgrind = argv[++i];
        } else {
            std::fprintf(
                stderr,
                "usage: velmo-bench [--only NAME[,NAME...]] [--scan-minutes N] [--heap-minutes N] [--insn-steps N] "
                "[--keep-callgrind FOLDER] [--list] [--about]\n");
            return 2;
        }
    }

    QApplication app(argc, argv);
    velmo::bench::UseDecimalPoint();
    std::printf("%-36s %12s %-10s %-10s %s\n", "figure", "value", "unit", "target", "verdict");
    for (const auto& [name, run] : scenarios) {
        if (!only.empty() && !only.count(name)) continue;
        // Two hours: only when asked for by name.
        if (only.empty() && name == "scan-heap") continue;
        std::fprintf(stderr, "velmo-bench: %s\n", name.c_str());
        // Others may be busy on the same machine; say how busy, since the
        // pause figures follow it.
        velmo::bench::Print(velmo::bench::Info(name + "_load_1min_before", LoadAverage(), "load"));
        run();
    }
    // The one figure that fails the run: memory that grows.
    return heap_short ? 1 : 0;
}
