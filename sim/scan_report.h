// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/clock.h"
#include "sim/signal_model.h"

namespace velmo::sim {

// A line the receiver took in, and when.
struct ObservedLine {
    Micros at;
    std::string text;
};

// How one scanner pass over the band went, judged from what the receiver
// was told and what it would have answered.
struct ScanReport {
    // Stations whose centre the scanner tuned while they opened the squelch.
    int stations = 0;
    int held = 0;       // held on the centre
    int held_late = 0;  // held one step above the centre instead
    int passed = 0;     // not held at all
    std::vector<std::string> passed_names;
    std::vector<std::int64_t> holds_hz;  // every frequency the scanner held on
    int steps = 0;
    // Tuning steps a second, over the stretches between holds.
    double steps_per_second = 0;
};

struct ScanSettings {
    std::int64_t step_hz = 100'000;
    std::int64_t filter_hz = 230'000;
    int squelch = 128;
    bool attenuator = false;
};

// A hold is a tuning command followed, before the next one, by the signal
// query that the scanner sends only on a busy channel.
ScanReport AnalyseScan(const std::vector<ObservedLine>& lines, const SignalModel& model, const ScanSettings& settings);

// Tuning commands carry the frequency as ten digits of hertz.
bool ParseTuningHz(const std::string& line, std::int64_t& hz);

}  // namespace velmo::sim
