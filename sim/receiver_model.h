// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "sim/clock.h"
#include "sim/command.h"
#include "sim/receiver_switches.h"
#include "sim/signal_model.h"

namespace velmo::sim {

// Everything the receiver remembers. It starts switched off, set up as the
// front panel's start-up settings, and keeps its settings while off.
struct ReceiverState {
    bool on = false;
    std::int64_t frequency_hz = 81'300'000;
    int mode = 6;    // WFM
    int filter = 4;  // 230 kHz
    int volume = 100;
    int squelch = 128;
    int if_shift = 80;
    // Indexed by SwitchIndex; all off at start.
    std::array<bool, kSwitchCount> switches{};

    bool On(Switch s) const { return switches[SwitchIndex(s)]; }
};

// The receiver's protocol: one command line in, its whole answer out.
class ReceiverModel {
public:
    explicit ReceiverModel(SignalModel signal);

    // The answer to one line (without its line end) that reached the
    // receiver at `now`, line ending included; empty when the receiver
    // stays silent. A line it cannot read gets "G001", on or off; while off,
    // the power commands are the only others answered.
    std::string Answer(std::string_view line, Micros now);

    const ReceiverState& State() const { return state_; }
    int SignalLevel(Micros now) const;
    // Open when the signal is above the squelch level.
    bool SquelchOpen(Micros now) const;
    const SignalModel& Signal() const { return signal_; }

private:
    std::string Apply(const Command& command, Micros now);

    SignalModel signal_;
    ReceiverState state_;
};

}  // namespace velmo::sim
