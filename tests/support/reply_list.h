// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cctype>
#include <string>
#include <string_view>

namespace velmo::testing {

// How the list of replies shows a code: behind the marker of its first two
// characters ("G0" an acknowledgement, "I1" the signal, "I0" the squelch).
// Written out here, once, as the tests expect it, not taken from the
// program; every test that looks at the list builds its entries from these.
inline constexpr std::string_view kAcknowledgementMarker = "-> ";
inline constexpr std::string_view kSignalMarker = "-----> ";
inline constexpr std::string_view kSquelchMarker = "---------> ";

inline std::string AcknowledgementEntry(std::string_view code) {
    return std::string(kAcknowledgementMarker) + std::string(code);
}
inline std::string SignalEntry(std::string_view code) { return std::string(kSignalMarker) + std::string(code); }
inline std::string SquelchEntry(std::string_view code) { return std::string(kSquelchMarker) + std::string(code); }

// The code of a listed entry, its marker taken off; an entry without one
// is its own code.
inline std::string_view WithoutMarker(std::string_view entry) {
    for (const std::string_view marker : {kSquelchMarker, kSignalMarker, kAcknowledgementMarker}) {
        if (entry.starts_with(marker)) return entry.substr(marker.size());
    }
    return entry;
}

// Whether an entry is one whole answer behind its own marker: "G000" or
// "G001", "I1" and two hexadecimal digits, "I0" and two decimal digits.
inline bool IsWholeEntry(std::string_view entry) {
    const auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    const auto hex = [&](char c) { return digit(c) || (c >= 'A' && c <= 'F'); };
    const std::string_view code = WithoutMarker(entry);
    if (code.size() != 4) return false;
    if (entry == AcknowledgementEntry(code)) return code == "G000" || code == "G001";
    if (entry == SignalEntry(code)) return code.starts_with("I1") && hex(code[2]) && hex(code[3]);
    if (entry == SquelchEntry(code)) return code.starts_with("I0") && digit(code[2]) && digit(code[3]);
    return false;
}

}  // namespace velmo::testing
