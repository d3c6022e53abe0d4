// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace velmo::testing {

// A far end that acknowledges every command and answers the two queries
// with the given squelch status and signal level digits, each answer ended
// with `line_end`.
struct ScriptedReceiver {
    std::string squelch = "04";
    std::string signal = "47";
    bool silent = false;
    std::string line_end = "\r\n";

    std::string operator()(const std::string& line) const {
        if (silent) return "";
        if (line == "I0?") return "I0" + squelch + line_end;
        if (line == "I1?") return "I1" + signal + line_end;
        return "G000" + line_end;
    }
};

}  // namespace velmo::testing
