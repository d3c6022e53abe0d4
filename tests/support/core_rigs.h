// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

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

}  // namespace velmo::testing
