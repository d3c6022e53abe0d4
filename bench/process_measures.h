#pragma once

#include <chrono>
#include <cstdint>

namespace velmo::bench {

using Clock = std::chrono::steady_clock;

// Seconds between two points of the steady clock.
double SecondsBetween(Clock::time_point from, Clock::time_point to);

// CPU time (user + system) in seconds.
double ProcessCpuSeconds();  // every thread of the process (getrusage)
double ThreadCpuSeconds();   // the calling thread only

// Resident set size and its peak so far, in KiB, from /proc/self/status.
std::int64_t ResidentKib();
std::int64_t PeakResidentKib();

}  // namespace velmo::bench
