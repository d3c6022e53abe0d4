// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "fake_view.h"
#include "scripted_receiver.h"

namespace velmo::testing {

// Started with the defaults and switched on, with the switch-on traffic
// cleared away and the signal poll held off unless a test wants it.
struct OnRig : Rig {
    explicit OnRig(bool poll = false) {
        link.responder = ScriptedReceiver{};
        panel.SetDefaults();
        panel.PowerOn();
        view.lists = {};
        view.events.clear();
        link.lines.clear();
        if (!poll) timer2->SetEnabled(false);
    }
    double NowMs() const { return static_cast<double>(clock.NowUs()) / 1000.0; }
    std::vector<std::string> Sent() const { return link.lines; }
};

// Started with the defaults, receiver off.
struct OffRig : Rig {
    OffRig() {
        link.responder = ScriptedReceiver{};
        panel.SetDefaults();
        view.events.clear();
    }
};

// A receiver whose squelch opens on a set of busy frequencies (in Hz).
struct BandReceiver {
    std::set<std::int64_t> busy;
    std::int64_t tuned_hz = 0;
    std::string busy_signal = "A0";
    // Turns the answer to a line into what is sent back instead.
    std::function<std::string(const std::string& line, std::int64_t tuned_hz, std::string answer)> fault;

    std::string operator()(const std::string& line) {
        if (line.size() == 18 && line.starts_with("K0")) tuned_hz = std::stoll(line.substr(2, 10));
        const bool open = busy.count(tuned_hz) > 0;
        std::string answer = "G000\r\n";
        if (line == "I0?") answer = open ? "I007\r\n" : "I004\r\n";
        if (line == "I1?") answer = "I1" + (open ? busy_signal : std::string("10")) + "\r\n";
        return fault ? fault(line, tuned_hz, answer) : answer;
    }
};

struct Scanning : OnRig {
    std::shared_ptr<BandReceiver> band = std::make_shared<BandReceiver>();
    explicit Scanning(bool wire = true) : OnRig(true) {
        link.wire_timing = wire;
        link.reply_delay_us = 3000;
        link.responder = [b = band](const std::string& line) { return (*b)(line); };
    }
    int Count(const std::string& line) const {
        return static_cast<int>(std::count(link.lines.begin(), link.lines.end(), line));
    }
    // Where the scanner held: the frequency tuned when it asked for the
    // signal, which it does only on a busy channel.
    std::vector<std::int64_t> HeldOn() const {
        std::vector<std::int64_t> held;
        std::int64_t tuned = 0;
        for (const auto& l : link.lines) {
            if (l.starts_with("K0")) tuned = std::stoll(l.substr(2, 10));
            if (l == "I1?") held.push_back(tuned);
        }
        return held;
    }
    std::vector<std::string> TuningCommands() const {
        std::vector<std::string> out;
        for (const auto& l : link.lines) {
            if (l.starts_with("K0")) out.push_back(l);
        }
        return out;
    }
};

}  // namespace velmo::testing
