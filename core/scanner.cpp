// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "front_panel.h"
#include "panel_numbers.h"
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
    std::string reply;
    const bool still_open = QueryAndGather(protocol::kSquelchQuery, protocol::kSquelchAnswer, reply);
    // Every read is listed, also one cut short by a switch-off.
    ShowReplies(reply);
    if (!still_open || !SquelchOpen(reply)) return;
    ReadSignal();
    // Hold on the busy channel; any exchange started meanwhile ends the
    // hold with its own pause.
    Pause(panel_numbers::kScannerHoldSeconds);
}

bool FrontPanel::QueryAndGather(const std::string& query, const std::string& code, std::string& gathered) {
    link_.Write(query + CR + LF);
    // At 9600 baud the answer cannot be back within one reply pause, so
    // keep reading until it is complete, for at most kMaxReplyPauses more
    // pauses, or until the line has fallen quiet: a receiver that has not
    // answered by then is not going to.
    int quiet = 0;
    for (int i = 0; i < kMaxReplyPauses; ++i) {
        Pause(panel_numbers::kReplyPauseSeconds);
        if (!link_.IsOpen()) return false;
        const std::string more = link_.ReadAll();
        gathered += more;
        if (HasCompleteAnswer(gathered, code)) break;
        quiet = more.empty() ? quiet + 1 : 0;
        if (quiet >= kQuietPauses) break;
    }
    return true;
}

}  // namespace velmo
