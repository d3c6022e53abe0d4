// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>

namespace velmo::testing {

using WallClock = std::chrono::steady_clock;

// Seconds between two points of the steady clock.
double SecondsBetween(WallClock::time_point from, WallClock::time_point to);

// CPU time (user + system) in seconds.
double ProcessCpuSeconds();  // every thread of the process (getrusage)
double ThreadCpuSeconds();   // the calling thread only

// Resident set size and its peak so far, in KiB, of this process or of
// the process `pid`, from its status in /proc; -1 when it cannot be read.
std::int64_t ResidentKib(pid_t pid = 0);
std::int64_t PeakResidentKib(pid_t pid = 0);

// KiB as megabytes (10^6 bytes), the unit the benchmarks report memory in.
constexpr double MegabytesOf(std::int64_t kib) { return static_cast<double>(kib) * 1024.0 / 1e6; }

}  // namespace velmo::testing
