// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "front_panel.h"

#include <cmath>

#include "panel_numbers.h"
#include "replies.h"
#include "reply_ending.h"

namespace velmo {

FrontPanel::FrontPanel(SerialLink& link, PanelView& view, Timer& timer1, Timer& timer2, Timer& timer3, int port_number)
    : link_(link), view_(view), timer1_(timer1), timer2_(timer2), timer3_(timer3), port_number_(port_number) {}

void FrontPanel::SendCommand(const std::string& command) {
    if (!link_.IsOpen()) return;
    AddListEntry(CodeList::CodesOut, command);
    link_.Write(command + CR + LF);
    Pause(panel_numbers::kReplyPauseSeconds);
    // A switch-off handled during the pause has closed the port.
    if (!link_.IsOpen()) return;
    std::string reply = link_.ReadAll();
    reply_ending_ = LearnReplyEnding(reply, false, reply_ending_);
    // At 9600 baud a reply pause often ends while a reply is still coming
    // in; cut there, its codes would be listed as fragments. Finish it
    // first, for at most 0.1 s more: until it ends as the receiver's
    // replies end, or the line falls quiet, which also shows how they end.
    int quiet = 0;
    for (int i = 0; i < kMaxReplyPauses && !reply.empty() && !EndsWithWholeReply(reply, reply_ending_); ++i) {
        Pause(panel_numbers::kReplyPauseSeconds);
        if (!link_.IsOpen()) break;
        const std::string more = link_.ReadAll();
        reply += more;
        quiet = more.empty() ? quiet + 1 : 0;
        reply_ending_ = LearnReplyEnding(reply, quiet >= kQuietPauses, reply_ending_);
        if (quiet >= kQuietPauses) break;
    }
    ShowReplies(reply);
}

void FrontPanel::Pause(double seconds) {
    timer1_.SetEnabled(true);
    // Half to even, as the timer's own rounding of an interval does.
    timer1_.SetInterval(static_cast<int>(std::nearbyint(seconds * 1000.0)));
    // A pause started from an event handled here shares Timer1, so both
    // end at its first tick.
    while (timer1_.Interval() >= 1) view_.DoEvents();
    timer1_.SetEnabled(false);
}

void FrontPanel::Timer1_Timer() { timer1_.SetInterval(0); }

void FrontPanel::ShowReplies(std::string reply) {
    // Entries that the bounded list would drop straight away are never
    // made, so a flood of received bytes costs no more than the list shows.
    for (const auto& entry : ReplyEntries(reply, static_cast<std::size_t>(kMaxListEntries))) {
        AddListEntry(CodeList::CodesIn, entry);
    }
}

void FrontPanel::AddListEntry(CodeList list, const std::string& entry) {
    view_.AppendListEntry(list, entry);
    // The lists would otherwise grow for as long as the program runs.
    while (view_.ListCount(list) > kMaxListEntries) view_.RemoveOldestListEntry(list);
    view_.SetListTopIndex(list, view_.ListCount(list) - 1);
}

}  // namespace velmo
