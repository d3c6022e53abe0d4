// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "signal_reading.h"

#include <algorithm>
#include <array>

#include "protocol.h"

namespace velmo {
namespace {

// The characters after the first occurrence of code, at most two.
std::optional<std::string_view> AnswerDigits(std::string_view text, std::string_view code) {
    const auto at = text.find(code);
    if (at == std::string_view::npos) return std::nullopt;
    return text.substr(at + code.size(), 2);
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Quarter levels from 35 on have no calibration of the receiver's own; an
// offset of 15 makes the bar rise one per quarter level from 50 to the cap.
int CalibrationOffset(int quarter_level) {
    struct Row {
        int up_to;
        int offset;
    };
    static constexpr std::array<Row, 7> kTable{{{4, 1}, {9, 5}, {14, 10}, {19, 15}, {24, 20}, {29, 25}, {34, 25}}};
    for (const auto& row : kTable) {
        if (quarter_level <= row.up_to) return row.offset;
    }
    return 15;
}

}  // namespace

bool HasCompleteAnswer(std::string_view text, std::string_view code) {
    const auto digits = AnswerDigits(text, code);
    return digits && digits->size() == 2;
}

bool SquelchOpen(std::string_view reply) {
    const auto digits = AnswerDigits(reply, protocol::kSquelchAnswer);
    return digits && *digits == protocol::kSquelchOpen;
}

int CalibratedBar(int raw_level) {
    const int quarter = raw_level / 4;
    return std::min(quarter + CalibrationOffset(quarter), kLongestBar);
}

std::optional<int> SignalBarLength(std::string_view reply, int previous) {
    const auto digits = AnswerDigits(reply, protocol::kSignalAnswer);
    if (!digits) return std::nullopt;
    // Compared as text by character code: "ff", a single character below
    // "00" or anything above "FF" fails.
    if (*digits < std::string_view("00") || *digits > std::string_view("FF")) {
        return std::min(previous, kLongestBar);
    }
    int raw = 0;
    for (const char c : *digits) {
        const int value = HexDigitValue(c);
        if (value < 0) break;
        raw = raw * 16 + value;
    }
    return CalibratedBar(raw);
}

std::string SignalBarText(int level) { return " " + std::string(static_cast<std::size_t>(std::max(level, 0)), '|'); }

Rgb SignalBarColour(int level) { return level <= kLastBlueBar ? kBlue : kRed; }

}  // namespace velmo
