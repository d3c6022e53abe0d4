// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <algorithm>

#include "front_panel.h"
#include "panel_view.h"
#include "protocol.h"
#include "signal_reading.h"

namespace velmo {

void FrontPanel::ReadSignal() {
    if (!link_.IsOpen()) return;
    const Exchanged reading = Query(protocol::kSignalQuery, AnswerKind::Signal);
    // Every read is listed, also one cut short by a switch-off. The bar
    // shows this poll's own answer, never a late one of an earlier poll.
    ShowReplies(reading.read);
    if (!reading.still_open || !reading.answer) return;
    const auto bar = SignalBarLength(*reading.answer, Signal);
    if (!bar) return;
    Signal = static_cast<std::int16_t>(*bar);
    ShowSignal(Signal);
}

void FrontPanel::ShowSignal(int level) { view_.SetSignalBar(SignalBarText(level), SignalBarColour(level)); }

}  // namespace velmo
