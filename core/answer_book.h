// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "time_source.h"

namespace velmo {

// What a line sent to the receiver is answered with: "G0.." to a command,
// "I0.." to the squelch query, "I1.." to the signal query.
enum class AnswerKind { Acknowledgement, Squelch, Signal };

// The questions the panel has put to the receiver and not yet had answered.
//
// The receiver answers every line it is sent with one line, in the order it
// was sent, but across a network or a Bluetooth link an answer may come a
// long while after its question, and be read by whichever exchange reads
// the line next. The book matches every answer, whoever read it, to the
// oldest question of its kind still open, so that the scanner decides on
// the answer to its own squelch query and the meter shows the answer to its
// own poll. Since answers keep their order, the questions asked before the
// one answered have had their answers lost: they are closed as lost, and a
// lost, doubled, unasked or garbled answer costs at most the decision that
// waited for it.
//
// It also learns from the round trips it sees how long to wait for an
// answer that may never come.
class AnswerBook {
public:
    using Ticket = std::uint64_t;
    enum class Outcome { Awaited, Answered, Lost };

    // Waits in vain with nothing heard that show a receiver fallen silent:
    // kSilentWaits in a row, or as many as add up to kSilentFor.
    static constexpr int kSilentWaits = 2;
    static constexpr Micros kSilentFor{900'000};
    // The longest wait for an answer, however slow the link has been: room
    // for a link that takes a whole second to answer.
    static constexpr Micros kLongestWait{1'100'000};
    // Questions still open this long after they were asked are given up
    // for lost: no link this program waits for takes that long.
    static constexpr Micros kForgetAfter{1'500'000};
    static_assert(kSilentFor < kLongestWait, "one longest wait in vain with nothing heard is silence by itself");
    static_assert(kLongestWait < kForgetAfter, "a question is not given up while a wait for it may still run");
    // A wait that ended in vain while other answers came was too short for
    // a link that has slowed down: the next ones last this many times as
    // long, until an answer comes within its wait again.
    static constexpr int kStretch = 2;

    // A question whose answer someone waits for: what the wait is settled
    // with when it ends.
    struct Wait {
        Ticket ticket;
        Micros asked;
        std::uint64_t heard_before;  // answers heard when it was asked
    };

    // A line of this kind was written at `at`; nobody waits for its answer.
    Ticket Asked(AnswerKind kind, Micros at);
    // The same, and its asker waits for the answer: it keeps its outcome
    // until Settle().
    Wait Await(AnswerKind kind, Micros at);
    // Text just read from the line, at `at`.
    void Read(std::string_view text, Micros at);
    // The line has fallen quiet: a code cut short ("I1" and nothing after)
    // is all there will be of its answer.
    void FellQuiet(Micros at);

    Outcome OutcomeOf(Ticket ticket) const;
    // The answer's code ("I007"), once answered.
    std::optional<std::string> AnswerTo(Ticket ticket) const;

    // The wait has ended at `now`, with the line still open or closed by a
    // switch-off meanwhile. Returns the answer if it came, and learns from
    // how the wait went:
    // - An answer that came within the wait: the link is as quick as the
    //   waits allow, and a wait stretched before is no longer.
    // - None, while other answers came: the wait may have been too short
    //   for a link that has slowed down, and the next ones are stretched.
    // - None, and nothing at all heard: the receiver may have fallen
    //   silent. After kSilentWaits such waits in a row, or kSilentFor of
    //   them, the round trips seen are forgotten and the panel waits again
    //   as for a receiver never heard. The questions stay open all the
    //   same: a link that stalls (a Wi-Fi spike) delivers their answers
    //   late and in order, and matching them to newer questions would put
    //   every decision after it one answer behind.
    // - An answer of its kind that came while the question was still too
    //   young to be the one was its answer after all, if the wait ended
    //   without another: the link is quicker than the round trips seen
    //   (they were read late, on a loaded machine), and that one is learnt.
    // A switch-off teaches nothing.
    std::optional<std::string> Settle(const Wait& wait, Micros now, bool line_open);

    // How long a wait for an answer may last: zero until a round trip has
    // been seen, else the longest of the recent ones with room for jitter,
    // at most kLongestWait.
    Micros WaitBound() const;
    // The least time an answer can take (answer_book.cpp says why).
    Micros Soonest() const;

    // A new session (switching on): nothing is open, nothing was seen.
    void Clear();

    // What the book holds: questions open, outcomes kept for their askers,
    // and text read but not yet a whole code. Each stays small however
    // long the panel runs.
    std::size_t OpenQuestions() const { return open_.size(); }
    std::size_t KeptOutcomes() const { return watched_.size(); }
    std::size_t PendingText() const { return pending_.size(); }
    // Answers heard since the panel started; only ever grows.
    std::uint64_t AnswersHeard() const { return heard_; }

private:
    struct Question {
        Ticket ticket;
        AnswerKind kind;
        Micros asked;
        // The age of an answer of its kind that came too soon to be its.
        std::optional<Micros> too_soon;
        // Its asker's wait ended without its answer.
        bool given_up = false;
    };
    struct Watched {
        Outcome outcome = Outcome::Awaited;
        std::string answer;
    };
    void Close(const Question& question, Outcome outcome, std::string answer = {});
    void WaitedInVain(const Wait& wait, Micros waited);
    void LearnRoundTrip(Micros round_trip);
    // The round trips kept, newest and oldest mixed.
    std::span<const Micros> RoundTripsKept() const;
    void Answer(AnswerKind kind, std::string code, Micros at);
    void ForgetOld(Micros now);
    // Takes every whole code out of pending_.
    void TakeCodes(Micros at, bool line_quiet);
    Ticket Open(AnswerKind kind, Micros at, bool watched);

    Ticket next_ticket_ = 1;
    std::deque<Question> open_;
    std::map<Ticket, Watched> watched_;
    // Text read but not yet made into codes: a code begun, or nothing.
    std::string pending_;
    std::uint64_t heard_ = 0;
    // The most recent round trips, in a ring.
    static constexpr std::size_t kRoundTripsKept = 16;
    std::array<Micros, kRoundTripsKept> round_trips_{};
    std::size_t round_trips_seen_ = 0;
    int vain_waits_in_silence_ = 0;
    Micros vain_time_in_silence_{0};
    // The least a wait lasts after one that was too short.
    Micros stretched_{0};
};

}  // namespace velmo
