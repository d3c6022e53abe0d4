// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "sim/line_end.h"

namespace velmo::sim {

// The command line of velmo-sim.
struct SimOptions {
    std::uint64_t seed = 1;
    int latency_ms = 3;
    // Each answer is up to this much later again, drawn from the seed.
    int jitter_ms = 0;
    bool wire_timing = true;
    // The chance, 0 to 1, that an answer repeats its last character.
    double double_last = 0.0;
    LineEnd line_end = LineEnd::CrLf;
    bool log = false;
    std::string link_path;  // empty: no symlink
    bool force = false;     // replace a symlink that velmo-sim did not make
    bool help = false;
};

// The options, or a message saying what is wrong with the arguments
// (program name not included).
std::variant<SimOptions, std::string> ParseSimOptions(const std::vector<std::string>& args);

std::string SimUsage();

}  // namespace velmo::sim
