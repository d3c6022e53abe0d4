// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "process_measures.h"

#include <sys/resource.h>

#include <ctime>
#include <fstream>
#include <string>

namespace velmo::testing {
namespace {

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

std::int64_t StatusKib(pid_t pid, const std::string& field) {
    std::ifstream status(pid == 0 ? std::string("/proc/self/status") : "/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == field + ":") {
            std::int64_t kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 16, '\n');
    }
    return -1;
}

}  // namespace

double SecondsBetween(WallClock::time_point from, WallClock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

std::int64_t ResidentKib(pid_t pid) { return StatusKib(pid, "VmRSS"); }
std::int64_t PeakResidentKib(pid_t pid) { return StatusKib(pid, "VmHWM"); }

}  // namespace velmo::testing
