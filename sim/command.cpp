// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sim/command.h"

#include <optional>

namespace velmo::sim {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<int> UpperHexDigit(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return std::nullopt;
}

std::optional<int> TwoDigits(std::string_view s) {
    if (s.size() != 2 || !IsDigit(s[0]) || !IsDigit(s[1])) return std::nullopt;
    return (s[0] - '0') * 10 + (s[1] - '0');
}

bool IsModeCode(int m) { return m == 0 || m == 1 || m == 2 || m == 3 || m == 5 || m == 6; }

Command ParseTune(std::string_view line) {
    if (line.size() != 18) return BadCommand{};
    std::int64_t hz = 0;
    for (char c : line.substr(2, 10)) {
        if (!IsDigit(c)) return BadCommand{};
        hz = hz * 10 + (c - '0');
    }
    const auto mode = TwoDigits(line.substr(12, 2));
    const auto filter = TwoDigits(line.substr(14, 2));
    if (hz < kLowestHz || hz > kHighestHz) return BadCommand{};
    if (!mode || !IsModeCode(*mode)) return BadCommand{};
    if (!filter || *filter > 4) return BadCommand{};
    if (line.substr(16, 2) != "00") return BadCommand{};
    return TuneCommand{hz, *mode, *filter};
}

Command ParseLevel(LevelCommand::Kind kind, std::string_view digits) {
    const auto high = UpperHexDigit(digits[0]);
    const auto low = UpperHexDigit(digits[1]);
    if (!high || !low) return BadCommand{};
    return LevelCommand{kind, *high * 16 + *low};
}

Command ParseSwitch(Switch which, std::string_view state) {
    if (state == "00") return SwitchCommand{which, false};
    if (state == "01") return SwitchCommand{which, true};
    return BadCommand{};
}

}  // namespace

Command ParseCommand(std::string_view line) {
    if (line.starts_with("K0")) return ParseTune(line);
    if (line == "H101") return PowerCommand{true};
    if (line == "H100") return PowerCommand{false};
    if (line == "G300") return InitCommand{};
    if (line == "I0?") return QueryCommand{QueryCommand::Kind::Squelch};
    if (line == "I1?") return QueryCommand{QueryCommand::Kind::Signal};
    if (line.size() != 5 || line[0] != 'J') return BadCommand{};

    const std::string_view head = line.substr(0, 3);
    const std::string_view tail = line.substr(3, 2);
    if (head == "J40") return ParseLevel(LevelCommand::Kind::Volume, tail);
    if (head == "J41") return ParseLevel(LevelCommand::Kind::Squelch, tail);
    if (head == "J43") return ParseLevel(LevelCommand::Kind::IfShift, tail);
    for (const SwitchRow& row : kReceiverSwitches) {
        if (head == row.head) return ParseSwitch(row.which, tail);
    }
    return BadCommand{};
}

}  // namespace velmo::sim
