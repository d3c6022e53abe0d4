// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace velmo::testing {

// A far end that acknowledges every command and answers the two queries
// with the given squelch status and signal level digits.
struct ScriptedReceiver {
    std::string squelch = "04";
    std::string signal = "47";
    bool silent = false;

    std::string operator()(const std::string& line) const {
        if (silent) return "";
        if (line == "I0?") return "I0" + squelch + "\r\n";
        if (line == "I1?") return "I1" + signal + "\r\n";
        return "G000\r\n";
    }
};

}  // namespace velmo::testing
