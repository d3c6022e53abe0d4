// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

namespace velmo::sim {

// The receiver's on/off switches. Each is set by its three-character head
// followed by "00" (off) or "01" (on). A new switch is one value here and
// one row below; the parser and the receiver's state follow the table.
enum class Switch { Afc, Agc, Attenuator, NoiseBlanker };

struct SwitchRow {
    Switch which;
    std::string_view head;
};

// In the enum's order, so a switch's place in the table is its index in the
// receiver's state.
inline constexpr SwitchRow kReceiverSwitches[] = {
    {Switch::Afc, "J50"},
    {Switch::Agc, "J45"},
    {Switch::Attenuator, "J47"},
    {Switch::NoiseBlanker, "J46"},
};

inline constexpr std::size_t kSwitchCount = std::size(kReceiverSwitches);

constexpr std::size_t SwitchIndex(Switch s) { return static_cast<std::size_t>(s); }

namespace switches_detail {

constexpr bool RowsFollowTheEnum() {
    for (std::size_t i = 0; i < kSwitchCount; ++i) {
        if (SwitchIndex(kReceiverSwitches[i].which) != i) return false;
    }
    return true;
}

// The parser only looks for switches among five-character "J" lines.
constexpr bool HeadsAreDistinctJCommands() {
    for (std::size_t i = 0; i < kSwitchCount; ++i) {
        const std::string_view head = kReceiverSwitches[i].head;
        if (head.size() != 3 || head[0] != 'J') return false;
        for (std::size_t j = 0; j < i; ++j) {
            if (kReceiverSwitches[j].head == head) return false;
        }
    }
    return true;
}

}  // namespace switches_detail

static_assert(switches_detail::RowsFollowTheEnum(), "switch rows must follow the order of enum Switch");
static_assert(switches_detail::HeadsAreDistinctJCommands(), "switch heads must be distinct three-character J heads");

}  // namespace velmo::sim
