// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "front_panel.h"
#include "panel_view.h"

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
    answers_.Asked(AnswerKind::Acknowledgement, WriteLine(command));
    Exchanged exchange;
    WaitForReplyEnd(exchange);
    // Every read is listed, also one cut short by a switch-off.
    ShowReplies(exchange.read);
}

FrontPanel::Exchanged FrontPanel::Query(const std::string& query, AnswerKind kind) {
    const AnswerBook::Wait wait = answers_.Await(kind, WriteLine(query));
    Exchanged exchange;
    WaitForAnswer(exchange, wait);
    exchange.answer = answers_.Settle(wait, clock_.Now(), exchange.still_open);
    return exchange;
}

Micros FrontPanel::WriteLine(const std::string& line) {
    const Micros asked = clock_.Now();
    link_.Write(line + CR + LF);
    return asked;
}

bool FrontPanel::PauseAndRead(Exchanged& exchange) {
    Pause(panel_numbers::kReplyPauseSeconds);
    // A switch-off handled during the pause has closed the port.
    if (!link_.IsOpen()) {
        exchange.still_open = false;
        return false;
    }
    const std::string more = link_.ReadAll();
    exchange.last_read = clock_.Now();
    answers_.Read(more, exchange.last_read);
    exchange.read += more;
    exchange.quiet_pauses = more.empty() ? exchange.quiet_pauses + 1 : 0;
    exchange.fell_quiet = exchange.quiet_pauses >= kQuietPauses;
    if (exchange.fell_quiet) answers_.FellQuiet(exchange.last_read);
    reply_ending_ = LearnReplyEnding(exchange.read, exchange.fell_quiet, reply_ending_);
    return true;
}

void FrontPanel::WaitForReplyEnd(Exchanged& exchange) {
    // At 9600 baud a reply pause often ends while a reply is still coming
    // in; cut there, its codes would be listed as fragments. Finish it
    // first, for at most kMaxReplyPauses more: until it ends as the
    // receiver's replies end, or the line falls quiet, which also shows how
    // they end. Nothing yet: a later exchange reads it.
    for (int pauses = 1; PauseAndRead(exchange); ++pauses) {
        if (exchange.read.empty() || EndsWithWholeReply(exchange.read, reply_ending_) || exchange.fell_quiet ||
            pauses > kMaxReplyPauses) {
            return;
        }
    }
}

void FrontPanel::WaitForAnswer(Exchanged& exchange, const AnswerBook::Wait& wait) {
    for (int pauses = 1; PauseAndRead(exchange); ++pauses) {
        if (answers_.OutcomeOf(wait.ticket) != AnswerBook::Outcome::Awaited) return;
        // A receiver that has not answered by then is not going to: on a
        // cable, once the line has fallen quiet or after kMaxReplyPauses;
        // on a slower link, not before the round trips it has shown.
        // What the wait reads teaches it too.
        const bool waited_long_enough = exchange.last_read - wait.asked >= answers_.WaitBound();
        if (waited_long_enough && (exchange.fell_quiet || pauses >= kMaxReplyPauses)) return;
    }
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
