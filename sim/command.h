// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string_view>
#include <variant>

#include "sim/receiver_switches.h"

namespace velmo::sim {

// The receiver's command set, one struct per family.
struct PowerCommand {  // "H101" / "H100"
    bool on = false;
};
struct InitCommand {};  // "G300"
struct TuneCommand {    // "K0" + ten digits of hertz + mode + filter + "00"
    std::int64_t hz = 0;
    int mode = 0;
    int filter = 0;
};
struct LevelCommand {  // "J40" / "J41" / "J43" + two upper-case hex digits
    enum class Kind { Volume, Squelch, IfShift };
    Kind kind = Kind::Volume;
    int value = 0;
};
struct SwitchCommand {  // a head from kReceiverSwitches + "00" / "01"
    Switch which = Switch::Afc;
    bool on = false;
};
struct QueryCommand {  // "I0?" / "I1?"
    enum class Kind { Squelch, Signal };
    Kind kind = Kind::Squelch;
};
// Anything the receiver does not understand.
struct BadCommand {};

using Command =
    std::variant<BadCommand, PowerCommand, InitCommand, TuneCommand, LevelCommand, SwitchCommand, QueryCommand>;

// Reads one command line, without its line end. Strict: exact lengths,
// upper-case hex, no blanks.
Command ParseCommand(std::string_view line);

constexpr std::int64_t kLowestHz = 100'000;
constexpr std::int64_t kHighestHz = 1'300'000'000;

}  // namespace velmo::sim
