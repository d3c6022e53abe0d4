// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "answer_book.h"

#include <algorithm>

#include "protocol.h"

namespace velmo {
namespace {

// The kind of answer a code starts, if it starts one.
std::optional<AnswerKind> KindAt(std::string_view text, std::size_t at) {
    const std::string_view two = text.substr(at, 2);
    if (two == protocol::kAcknowledgement) return AnswerKind::Acknowledgement;
    if (two == protocol::kSquelchAnswer) return AnswerKind::Squelch;
    if (two == protocol::kSignalAnswer) return AnswerKind::Signal;
    return std::nullopt;
}

// The two characters after a code's start are its digits. A line end, or
// the start of another code, ends them sooner: "I1" CR LF is an answer with
// no digits, and "G0000" one whose last digit came twice.
bool IsDigitOfCode(char c) { return c != '\r' && c != '\n' && c != 'G' && c != 'I'; }

// Jitter: a wait lasts a quarter longer than the longest round trip seen,
// and 20 ms more, two reply pauses.
Micros WithRoom(Micros longest) { return longest + longest / 4 + Micros{20'000}; }

// More open questions than a second of scanning asks are a receiver that
// has stopped answering; keep the newest.
constexpr std::size_t kMostOpen = 64;

}  // namespace

AnswerBook::Ticket AnswerBook::Asked(AnswerKind kind, Micros at, bool watched) {
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
            // Nothing begun but perhaps the first character of a code.
            const bool begun =
                start < pending_.size() && !line_quiet &&
                (pending_[start] == protocol::kAcknowledgement[0] || pending_[start] == protocol::kSignalAnswer[0]);
            pending_.erase(0, begun ? start : pending_.size());
            return;
        }
        std::size_t end = start + 2;
        while (end < pending_.size() && end < start + 4 && IsDigitOfCode(pending_[end])) ++end;
        // Whole once it has both digits or something else follows; cut
        // short only where the line has fallen quiet.
        if (end < start + 4 && end == pending_.size() && !line_quiet) {
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
    const auto own = std::find_if(open_.begin(), open_.end(),
                                  [&](const Question& q) { return q.kind == kind && at - q.asked >= soonest; });
    // Unasked, or a second answer to a question answered already, or
    // else the answer to one asked only just now.
    if (own == open_.end()) {
        const auto young = std::find_if(open_.begin(), open_.end(), [&](Question& q) { return q.kind == kind; });
        if (young != open_.end() && !young->too_soon) young->too_soon = at - young->asked;
        return;
    }
    // An answer for a question whose asker gave up waiting may instead be
    // the answer to the next one of its kind, with the panel one answer
    // behind since a receiver fell silent and spoke again: then each wait
    // ends without its answer, the round trips seen are as long as a step
    // and the answers always find the question before theirs still open.
    // Should the next one's wait end without another answer, this one was
    // its (as for an answer too soon), which ends the shift.
    if (own->given_up) {
        const auto next = std::find_if(own + 1, open_.end(), [&](const Question& q) { return q.kind == kind; });
        if (next != open_.end() && !next->too_soon) next->too_soon = at - next->asked;
    }
    // Answers keep their order: those asked before this one lost theirs.
    for (auto q = open_.begin(); q != own; ++q) Close(*q, Outcome::Lost);
    round_trips_[round_trips_seen_ % kRoundTripsKept] = at - own->asked;
    ++round_trips_seen_;
    Close(*own, Outcome::Answered, std::move(code));
    open_.erase(open_.begin(), own + 1);
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
    // A ticket of an earlier session, or released: nothing will answer it.
    return watched == watched_.end() ? Outcome::Lost : watched->second.outcome;
}

std::optional<std::string> AnswerBook::AnswerTo(Ticket ticket) const {
    const auto watched = watched_.find(ticket);
    if (watched == watched_.end() || watched->second.outcome != Outcome::Answered) return std::nullopt;
    return watched->second.answer;
}

void AnswerBook::WaitedInVain(Ticket ticket, std::uint64_t heard_before, Micros waited) {
    const auto own =
        std::find_if(open_.begin(), open_.end(), [ticket](const Question& q) { return q.ticket == ticket; });
    if (own != open_.end() && own->too_soon) {
        round_trips_[round_trips_seen_ % kRoundTripsKept] = *own->too_soon;
        ++round_trips_seen_;
        // It has had its answer: the next of its kind must not take it.
        Close(*own, Outcome::Lost);
        open_.erase(own);
    } else if (own != open_.end()) {
        own->given_up = true;
    }
    if (heard_ != heard_before) {
        stretched_ = std::min(2 * waited, kLongestWait);
        return;
    }
    vain_time_in_silence_ += waited;
    if (++vain_waits_in_silence_ < 2 && vain_time_in_silence_ < kSilentFor) return;
    round_trips_seen_ = 0;
    stretched_ = Micros{0};
    vain_waits_in_silence_ = 0;
    vain_time_in_silence_ = Micros{0};
}

Micros AnswerBook::WaitBound() const {
    if (round_trips_seen_ == 0) return stretched_;
    const std::size_t kept = std::min(round_trips_seen_, kRoundTripsKept);
    const Micros longest = *std::max_element(round_trips_.begin(), round_trips_.begin() + static_cast<long>(kept));
    return std::max(std::min(WithRoom(longest), kLongestWait), stretched_);
}

Micros AnswerBook::Soonest() const {
    if (round_trips_seen_ == 0) return Micros{0};
    const std::size_t kept = std::min(round_trips_seen_, kRoundTripsKept);
    return *std::min_element(round_trips_.begin(), round_trips_.begin() + static_cast<long>(kept)) / 2;
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
