// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace velmo::bench {

// What one of callgrind's output files says: why it was written (the
// reason a client request gave, or "Program termination") and the
// instructions executed (the Ir event) while collection was on.
struct CallgrindDump {
    std::string trigger;
    std::int64_t instructions = 0;
};

// None when the text is not a callgrind profile or counts no Ir.
std::optional<CallgrindDump> ReadCallgrindDump(std::istream& text);

// Every callgrind.out* file in `folder` that reads as a profile.
std::vector<CallgrindDump> ReadCallgrindDumps(const std::string& folder);

}  // namespace velmo::bench
