// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tuning_command.h"

#include <cmath>

#include "protocol.h"

namespace velmo {
namespace {

// Zero-padded decimal digits, built with integer arithmetic so that no
// locale or floating-point formatting can creep in.
std::string Digits(std::int64_t value, int width) {
    std::string text;
    do {
        text.insert(text.begin(), static_cast<char>('0' + value % 10));
        value /= 10;
    } while (value > 0);
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return text;
}

}  // namespace

std::int64_t RoundToHertz(double megahertz) {
    // The long double product keeps the double's value exactly enough that
    // 81.300001 becomes 81300001 and a hair below 81.4 becomes 81400000.
    return std::llround(static_cast<long double>(megahertz) * 1'000'000.0L);
}

std::string FrequencyDisplayText(double megahertz) {
    const std::int64_t hz = std::max<std::int64_t>(RoundToHertz(megahertz), 0);
    return Digits(hz / 1'000'000, 1) + "." + Digits(hz / 1000 % 1000, 3) + "." + Digits(hz % 1000, 3);
}

std::string TuningCommand(double megahertz, const std::string& mode, const std::string& filter) {
    const std::int64_t hz = std::max<std::int64_t>(RoundToHertz(megahertz), 0);
    return protocol::kTune + Digits(hz, 10) + mode + filter + protocol::kTuneEnd;
}

std::string HexLevel(int level) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const unsigned value = static_cast<unsigned>(level) & 0xFFu;
    return {kHex[value >> 4], kHex[value & 0xFu]};
}

}  // namespace velmo
