// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "answer_book.h"

#include <algorithm>
#include <chrono>
#include <iterator>

#include "panel_numbers.h"
#include "protocol.h"

namespace velmo {
namespace {

// How the book reads the line.
//
// Codes. An answer is a head of two characters ("G0", "I0", "I1") and its
// two digits. A read may end anywhere, also inside a head; but text that
// ends in anything other than the first character of a head ("G" or "I")
// cannot be the start of one, so only such a last character is kept for
// the next read, as a code begun. Everything else that is no head is noise
// (line ends, garbled bytes) and is dropped.
//
// Times. An answer travels back over the same link its question went out
// on, so none comes sooner after its question than the way back takes:
// half a round trip. The quickest round trip seen is the link's best, and a
// question younger than half of it cannot be the one an answer is for.
constexpr int kWaysInARoundTrip = 2;

struct Head {
    std::string_view text;
    AnswerKind kind;
};
constexpr Head kHeads[] = {
    {protocol::kAcknowledgement, AnswerKind::Acknowledgement},
    {protocol::kSquelchAnswer, AnswerKind::Squelch},
    {protocol::kSignalAnswer, AnswerKind::Signal},
};
constexpr std::size_t kHeadLength = 2;
constexpr std::size_t kCodeLength = kHeadLength + 2;

// The kind of answer a code starts, if it starts one.
std::optional<AnswerKind> KindAt(std::string_view text, std::size_t at) {
    const std::string_view two = text.substr(at, kHeadLength);
    for (const Head& head : kHeads) {
        if (two == head.text) return head.kind;
    }
    return std::nullopt;
}

bool BeginsAHead(char c) {
    return std::any_of(std::begin(kHeads), std::end(kHeads), [c](const Head& head) { return head.text[0] == c; });
}

// The two characters after a code's head are its digits. A line end, or
// the start of another code, ends them sooner: "I1" CR LF is an answer with
// no digits, and "G0000" one whose last digit came twice.
bool IsDigitOfCode(char c) { return c != '\r' && c != '\n' && !BeginsAHead(c); }

// Room for jitter: a wait lasts a quarter longer than the longest round
// trip seen, and two reply pauses more.
constexpr int kJitterQuarters = 4;
constexpr Micros kReplyPause =
    std::chrono::round<Micros>(std::chrono::duration<double>(panel_numbers::kReplyPauseSeconds));
Micros WithRoom(Micros longest) { return longest + longest / kJitterQuarters + 2 * kReplyPause; }

// More open questions than a second of scanning asks are a receiver that
// has stopped answering; keep the newest.
constexpr std::size_t kMostOpen = 64;

}  // namespace

AnswerBook::Ticket AnswerBook::Asked(AnswerKind kind, Micros at) { return Open(kind, at, false); }

AnswerBook::Wait AnswerBook::Await(AnswerKind kind, Micros at) {
    const Ticket ticket = Open(kind, at, true);
    return {ticket, at, heard_};
}

AnswerBook::Ticket AnswerBook::Open(AnswerKind kind, Micros at, bool watched) {
    ForgetOld(at);
    const Ticket ticket = next_ticket_++;
    if (open_.size() >= kMostOpen) {
        Close(open_.front(), Outcome::Lost);
        open_.pop_front();
    }
    open_.push_back({ticket, kind, at, std::nullopt});
    if (watched) watched_[ticket] = {};
    return ticket;
}

void AnswerBook::Read(std::string_view text, Micros at) {
    if (text.empty()) return;
    pending_.append(text);
    TakeCodes(at, false);
}

void AnswerBook::FellQuiet(Micros at) { TakeCodes(at, true); }

void AnswerBook::TakeCodes(Micros at, bool line_quiet) {
    std::size_t from = 0;
    for (;;) {
        std::size_t start = from;
        while (start + 1 < pending_.size() && !KindAt(pending_, start)) ++start;
        if (start + 1 >= pending_.size()) {
            // No head left; at most its first character, kept as a code begun.
            const bool begun = start < pending_.size() && !line_quiet && BeginsAHead(pending_[start]);
            pending_.erase(0, begun ? start : pending_.size());
            return;
        }
        std::size_t end = start + kHeadLength;
        while (end < pending_.size() && end < start + kCodeLength && IsDigitOfCode(pending_[end])) ++end;
        // Whole once it has both digits or something else follows; cut
        // short only where the line has fallen quiet.
        if (end < start + kCodeLength && end == pending_.size() && !line_quiet) {
            pending_.erase(0, start);
            return;
        }
        Answer(*KindAt(pending_, start), pending_.substr(start, end - start), at);
        from = end;
    }
}

void AnswerBook::Answer(AnswerKind kind, std::string code, Micros at) {
    ++heard_;
    vain_waits_in_silence_ = 0;
    vain_time_in_silence_ = Micros{0};
    const Micros soonest = Soonest();
    const auto answered = std::find_if(open_.begin(), open_.end(),
                                       [&](const Question& q) { return q.kind == kind && at - q.asked >= soonest; });
    // Unasked, or a second answer to a question answered already, or
    // else the answer to one asked only just now.
    if (answered == open_.end()) {
        const auto oldest_of_kind =
            std::find_if(open_.begin(), open_.end(), [&](const Question& q) { return q.kind == kind; });
        if (oldest_of_kind != open_.end() && !oldest_of_kind->too_soon) {
            oldest_of_kind->too_soon = at - oldest_of_kind->asked;
        }
        return;
    }
    // An answer for a question whose asker gave up waiting may instead be
    // the answer to the next one of its kind, with the panel one answer
    // behind since a receiver fell silent and spoke again: then each wait
    // ends without its answer, the round trips seen are as long as a step
    // and the answers always find the question before theirs still open.
    // Should the next one's wait end without another answer, this one was
    // its (as for an answer too soon), which ends the shift.
    if (answered->given_up) {
        const auto next = std::find_if(answered + 1, open_.end(), [&](const Question& q) { return q.kind == kind; });
        if (next != open_.end() && !next->too_soon) next->too_soon = at - next->asked;
    }
    // Answers keep their order: those asked before this one lost theirs.
    for (auto q = open_.begin(); q != answered; ++q) Close(*q, Outcome::Lost);
    LearnRoundTrip(at - answered->asked);
    Close(*answered, Outcome::Answered, std::move(code));
    open_.erase(open_.begin(), answered + 1);
}

void AnswerBook::Close(const Question& question, Outcome outcome, std::string answer) {
    const auto watched = watched_.find(question.ticket);
    if (watched == watched_.end()) return;
    watched->second.outcome = outcome;
    watched->second.answer = std::move(answer);
}

void AnswerBook::ForgetOld(Micros now) {
    while (!open_.empty() && now - open_.front().asked > kForgetAfter) {
        Close(open_.front(), Outcome::Lost);
        open_.pop_front();
    }
}

AnswerBook::Outcome AnswerBook::OutcomeOf(Ticket ticket) const {
    const auto watched = watched_.find(ticket);
    // A ticket of an earlier session, or settled: nothing will answer it.
    return watched == watched_.end() ? Outcome::Lost : watched->second.outcome;
}

std::optional<std::string> AnswerBook::AnswerTo(Ticket ticket) const {
    const auto watched = watched_.find(ticket);
    if (watched == watched_.end() || watched->second.outcome != Outcome::Answered) return std::nullopt;
    return watched->second.answer;
}

std::optional<std::string> AnswerBook::Settle(const Wait& wait, Micros now, bool line_open) {
    std::optional<std::string> answer = AnswerTo(wait.ticket);
    if (answer) {
        stretched_ = Micros{0};
    } else if (line_open && OutcomeOf(wait.ticket) == Outcome::Awaited) {
        WaitedInVain(wait, now - wait.asked);
    }
    watched_.erase(wait.ticket);
    return answer;
}

void AnswerBook::WaitedInVain(const Wait& wait, Micros waited) {
    const auto question =
        std::find_if(open_.begin(), open_.end(), [&](const Question& q) { return q.ticket == wait.ticket; });
    if (question != open_.end() && question->too_soon) {
        LearnRoundTrip(*question->too_soon);
        // It has had its answer: the next of its kind must not take it.
        Close(*question, Outcome::Lost);
        open_.erase(question);
    } else if (question != open_.end()) {
        question->given_up = true;
    }
    if (heard_ != wait.heard_before) {
        stretched_ = std::min(kStretch * waited, kLongestWait);
        return;
    }
    vain_time_in_silence_ += waited;
    if (++vain_waits_in_silence_ < kSilentWaits && vain_time_in_silence_ < kSilentFor) return;
    round_trips_seen_ = 0;
    stretched_ = Micros{0};
    vain_waits_in_silence_ = 0;
    vain_time_in_silence_ = Micros{0};
}

void AnswerBook::LearnRoundTrip(Micros round_trip) {
    round_trips_[round_trips_seen_ % kRoundTripsKept] = round_trip;
    ++round_trips_seen_;
}

std::span<const Micros> AnswerBook::RoundTripsKept() const {
    return std::span<const Micros>(round_trips_).first(std::min(round_trips_seen_, kRoundTripsKept));
}

Micros AnswerBook::WaitBound() const {
    const auto kept = RoundTripsKept();
    if (kept.empty()) return stretched_;
    const Micros longest = *std::max_element(kept.begin(), kept.end());
    return std::max(std::min(WithRoom(longest), kLongestWait), stretched_);
}

Micros AnswerBook::Soonest() const {
    const auto kept = RoundTripsKept();
    if (kept.empty()) return Micros{0};
    return *std::min_element(kept.begin(), kept.end()) / kWaysInARoundTrip;
}

void AnswerBook::Clear() {
    for (const auto& question : open_) Close(question, Outcome::Lost);
    open_.clear();
    pending_.clear();
    round_trips_seen_ = 0;
    vain_waits_in_silence_ = 0;
    vain_time_in_silence_ = Micros{0};
    stretched_ = Micros{0};
}

}  // namespace velmo
