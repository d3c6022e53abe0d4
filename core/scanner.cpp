// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "front_panel.h"
#include "panel_numbers.h"
#include "panel_view.h"
#include "protocol.h"
#include "signal_reading.h"

namespace velmo {

void FrontPanel::ToggleScan() {
    if (!link_.IsOpen()) return;
    if (timer3_.Enabled()) {
        timer2_.SetEnabled(true);
        timer3_.SetEnabled(false);
        view_.SetIndicator(Indicator::ScanLabel, kRed);
    } else {
        timer2_.SetEnabled(false);
        timer3_.SetEnabled(true);
        view_.SetIndicator(Indicator::ScanLabel, kGreen);
    }
}

void FrontPanel::ScanStep() {
    if (!link_.IsOpen()) return;
    TuneUp();
    Pause(panel_numbers::kReplyPauseSeconds);
    if (!link_.IsOpen()) return;
    const Exchanged squelch = Query(protocol::kSquelchQuery, AnswerKind::Squelch);
    // Every read is listed, also one cut short by a switch-off. The
    // decision is taken on this step's own answer, never on a late one of
    // an earlier step that this read happened to bring.
    ShowReplies(squelch.read);
    if (!squelch.still_open || !squelch.answer || !SquelchOpen(*squelch.answer)) return;
    ReadSignal();
    // Hold on the busy channel; any exchange started meanwhile ends the
    // hold with its own pause.
    Pause(panel_numbers::kScannerHoldSeconds);
}

}  // namespace velmo
