// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sim/receiver_model.h"

#include <array>

namespace velmo::sim {

namespace {

constexpr std::string_view kOk = "G000\r\n";
constexpr std::string_view kRejected = "G001\r\n";

std::string Hex2(int value) {
    static constexpr std::array<char, 16> kDigits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                     '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
    return {kDigits[static_cast<std::size_t>((value >> 4) & 0xF)], kDigits[static_cast<std::size_t>(value & 0xF)]};
}

}  // namespace

ReceiverModel::ReceiverModel(SignalModel signal) : signal_(std::move(signal)) {}

int ReceiverModel::SignalLevel(Micros now) const {
    return signal_.Level(state_.frequency_hz, FilterWidthHz(state_.filter), state_.On(Switch::Attenuator), now);
}

bool ReceiverModel::SquelchOpen(Micros now) const { return SignalLevel(now) > state_.squelch; }

std::string ReceiverModel::Answer(std::string_view line, Micros now) {
    const Command command = ParseCommand(line);
    // A line it cannot read is rejected on or off; a command it can read is
    // ignored while off, unless it is a power command.
    if (std::holds_alternative<BadCommand>(command)) return std::string(kRejected);
    if (!state_.on && !std::holds_alternative<PowerCommand>(command)) return {};
    return Apply(command, now);
}

std::string ReceiverModel::Apply(const Command& command, Micros now) {
    struct Visitor {
        ReceiverModel& m;
        Micros now;
        std::string operator()(const BadCommand&) { return std::string(kRejected); }
        std::string operator()(const PowerCommand& c) {
            m.state_.on = c.on;
            return std::string(kOk);
        }
        std::string operator()(const InitCommand&) { return std::string(kOk); }
        std::string operator()(const TuneCommand& c) {
            m.state_.frequency_hz = c.hz;
            m.state_.mode = c.mode;
            m.state_.filter = c.filter;
            return std::string(kOk);
        }
        std::string operator()(const LevelCommand& c) {
            switch (c.kind) {
                case LevelCommand::Kind::Volume: m.state_.volume = c.value; break;
                case LevelCommand::Kind::Squelch: m.state_.squelch = c.value; break;
                case LevelCommand::Kind::IfShift: m.state_.if_shift = c.value; break;
            }
            return std::string(kOk);
        }
        std::string operator()(const SwitchCommand& c) {
            m.state_.switches[SwitchIndex(c.which)] = c.on;
            return std::string(kOk);
        }
        std::string operator()(const QueryCommand& c) {
            if (c.kind == QueryCommand::Kind::Squelch) {
                return m.SquelchOpen(now) ? "I007\r\n" : "I004\r\n";
            }
            return "I1" + Hex2(m.SignalLevel(now)) + "\r\n";
        }
    };
    return std::visit(Visitor{*this, now}, command);
}

}  // namespace velmo::sim
