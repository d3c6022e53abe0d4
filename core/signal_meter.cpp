// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <algorithm>

#include "front_panel.h"
#include "protocol.h"
#include "signal_reading.h"

namespace velmo {

void FrontPanel::ReadSignal() {
    if (!link_.IsOpen()) return;
    std::string reply;
    const bool still_open = QueryAndGather(protocol::kSignalQuery, protocol::kSignalAnswer, reply);
    // Every read is listed, also one cut short by a switch-off.
    ShowReplies(reply);
    if (!still_open) return;
    const auto bar = SignalBarLength(reply, Signal);
    if (!bar) return;
    Signal = static_cast<std::int16_t>(*bar);
    ShowSignal(Signal);
}

void FrontPanel::ShowSignal(int level) { view_.SetSignalBar(SignalBarText(level), SignalBarColour(level)); }

}  // namespace velmo
