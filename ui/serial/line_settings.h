// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string_view>

namespace velmo {

enum class Parity { None, Even, Odd, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };

struct LineSettings {
    int baud = 0;
    Parity parity = Parity::None;
    int data_bits = 8;
    StopBits stop_bits = StopBits::One;

    friend bool operator==(const LineSettings&, const LineSettings&) = default;
};

// Reads "baud,parity,data bits,stop bits", e.g. "9600,N,8,1": a positive
// baud rate, a parity letter N/E/O/M/S (either case), 5 to 8 data bits and
// 1, 1.5 or 2 stop bits. Nothing else is accepted: no blanks, no signs, no
// missing or extra fields.
std::optional<LineSettings> ParseLineSettings(std::string_view text);

}  // namespace velmo
