// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "line_settings.h"

#include <array>
#include <charconv>

namespace velmo {
namespace {

std::optional<int> ReadPositive(std::string_view field) {
    if (field.empty() || field.front() < '0' || field.front() > '9') return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc{} || end != field.data() + field.size() || value <= 0) return std::nullopt;
    return value;
}

std::optional<Parity> ReadParity(std::string_view field) {
    if (field.size() != 1) return std::nullopt;
    switch (field.front()) {
        case 'N':
        case 'n': return Parity::None;
        case 'E':
        case 'e': return Parity::Even;
        case 'O':
        case 'o': return Parity::Odd;
        case 'M':
        case 'm': return Parity::Mark;
        case 'S':
        case 's': return Parity::Space;
        default: return std::nullopt;
    }
}

std::optional<StopBits> ReadStopBits(std::string_view field) {
    if (field == "1") return StopBits::One;
    if (field == "1.5") return StopBits::OneAndHalf;
    if (field == "2") return StopBits::Two;
    return std::nullopt;
}

}  // namespace

std::optional<LineSettings> ParseLineSettings(std::string_view text) {
    std::array<std::string_view, 4> fields;
    std::size_t count = 0;
    for (std::size_t start = 0;;) {
        if (count == fields.size()) return std::nullopt;
        const std::size_t comma = text.find(',', start);
        fields[count++] = text.substr(start, comma == std::string_view::npos ? comma : comma - start);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (count != fields.size()) return std::nullopt;

    const auto baud = ReadPositive(fields[0]);
    const auto parity = ReadParity(fields[1]);
    const auto data_bits = ReadPositive(fields[2]);
    const auto stop_bits = ReadStopBits(fields[3]);
    if (!baud || !parity || !data_bits || !stop_bits) return std::nullopt;
    if (*data_bits < 5 || *data_bits > 8) return std::nullopt;
    return LineSettings{*baud, *parity, *data_bits, *stop_bits};
}

}  // namespace velmo
