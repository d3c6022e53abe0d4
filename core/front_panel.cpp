// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "front_panel.h"

#include <cmath>

#include "panel_numbers.h"
#include "replies.h"
#include "reply_ending.h"

namespace velmo {

FrontPanel::FrontPanel(SerialLink& link, PanelView& view, Timer& timer1, Timer& timer2, Timer& timer3,
                       const Clock& clock, int port_number)
    : link_(link),
      view_(view),
      timer1_(timer1),
      timer2_(timer2),
      timer3_(timer3),
      clock_(clock),
      port_number_(port_number) {}

void FrontPanel::SendCommand(const std::string& command) {
    if (!link_.IsOpen()) return;
    AddListEntry(CodeList::CodesOut, command);
    // Every read is listed, also one cut short by a switch-off.
    ShowReplies(Exchange(command, AnswerKind::Acknowledgement, false).read);
}

FrontPanel::Exchanged FrontPanel::Exchange(const std::string& line, AnswerKind kind, bool wants_answer) {
    Exchanged result;
    const Micros asked = clock_.Now();
    link_.Write(line + CR + LF);
    const AnswerBook::Ticket ticket = answers_.Asked(kind, asked, wants_answer);
    const std::uint64_t heard_before = answers_.AnswersHeard();
    int quiet = 0;
    for (int pauses = 1;; ++pauses) {
        Pause(panel_numbers::kReplyPauseSeconds);
        // A switch-off handled during the pause has closed the port.
        if (!link_.IsOpen()) {
            result.still_open = false;
            break;
        }
        const std::string more = link_.ReadAll();
        const Micros now = clock_.Now();
        answers_.Read(more, now);
        result.read += more;
        quiet = more.empty() ? quiet + 1 : 0;
        const bool fell_quiet = quiet >= kQuietPauses;
        if (fell_quiet) answers_.FellQuiet(now);
        reply_ending_ = LearnReplyEnding(result.read, fell_quiet, reply_ending_);
        if (!wants_answer) {
            // At 9600 baud a reply pause often ends while a reply is still
            // coming in; cut there, its codes would be listed as fragments.
            // Finish it first, for at most 0.1 s more: until it ends as the
            // receiver's replies end, or the line falls quiet, which also
            // shows how they end. Nothing yet: a later exchange reads it.
            if (result.read.empty() || EndsWithWholeReply(result.read, reply_ending_) || fell_quiet ||
                pauses > kMaxReplyPauses) {
                break;
            }
            continue;
        }
        if (answers_.OutcomeOf(ticket) != AnswerBook::Outcome::Awaited) break;
        // A receiver that has not answered by then is not going to: on a
        // cable, once the line has fallen quiet or after kMaxReplyPauses;
        // on a slower link, not before the round trips it has shown.
        // What the wait reads teaches it too.
        if (now - asked >= answers_.WaitBound() && (fell_quiet || pauses >= kMaxReplyPauses)) break;
    }
    if (wants_answer) {
        result.answer = answers_.AnswerTo(ticket);
        if (result.answer) answers_.AnsweredInTime();
        if (result.still_open && answers_.OutcomeOf(ticket) == AnswerBook::Outcome::Awaited) {
            answers_.WaitedInVain(ticket, heard_before, clock_.Now() - asked);
        }
        answers_.Release(ticket);
    }
    return result;
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
