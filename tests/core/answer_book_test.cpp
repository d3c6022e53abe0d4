// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "answer_book.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace velmo {
namespace {

using std::chrono::milliseconds;
using Outcome = AnswerBook::Outcome;

// One squelch query at 0 ms, after a command at 0 ms, and what the reads
// bring.
TEST(AnswerBook, CodesAreFoundHoweverTheReadsCutThem) {
    struct Read {
        const char* text;
        int at_ms;
    };
    struct Case {
        const char* name;
        std::vector<Read> reads;
        bool quiet_at_end;
        Outcome outcome;
        const char* answer;
    };
    const Case cases[] = {
        {"whole", {{"G000\r\nI007\r\n", 20}}, false, Outcome::Answered, "I007"},
        {"cut inside the code", {{"G000\r\nI0", 20}, {"07\r\n", 30}}, false, Outcome::Answered, "I007"},
        {"cut after its first letter", {{"G000\r\nI", 20}, {"004\r\n", 30}}, false, Outcome::Answered, "I004"},
        {"no line ends", {{"G000I004", 20}}, false, Outcome::Answered, "I004"},
        {"last digit doubled", {{"G0000\r\nI0077\r\n", 20}}, false, Outcome::Answered, "I007"},
        {"no digits before the line end", {{"G000\r\nI0\r\n", 20}}, false, Outcome::Answered, "I0"},
        {"cut short where the line fell quiet", {{"G000\r\nI0", 20}}, true, Outcome::Answered, "I0"},
        {"cut short, more may come", {{"G000\r\nI0", 20}}, false, Outcome::Awaited, ""},
        {"lower case is no answer", {{"G000\r\ni007\r\n", 20}}, true, Outcome::Awaited, ""},
        {"garbled", {{"G000\r\nX0#7\r\n", 20}}, true, Outcome::Awaited, ""},
        {"only the command's answer yet", {{"G000\r\n", 20}}, true, Outcome::Awaited, ""},
    };
    for (const auto& c : cases) {
        AnswerBook book;
        book.Asked(AnswerKind::Acknowledgement, Micros{0});
        const auto ticket = book.Await(AnswerKind::Squelch, Micros{0}).ticket;
        for (const auto& read : c.reads) book.Read(read.text, milliseconds(read.at_ms));
        if (c.quiet_at_end) book.FellQuiet(milliseconds(60));
        EXPECT_EQ(book.OutcomeOf(ticket), c.outcome) << c.name;
        EXPECT_EQ(book.AnswerTo(ticket).value_or(""), c.answer) << c.name;
    }
}

TEST(AnswerBook, AnAnswerToALaterQuestionClosesTheEarlierOnesAsLost) {
    AnswerBook book;
    const auto squelch = book.Await(AnswerKind::Squelch, Micros{0}).ticket;
    const auto command = book.Await(AnswerKind::Acknowledgement, milliseconds(10)).ticket;
    const auto signal = book.Await(AnswerKind::Signal, milliseconds(20)).ticket;
    book.Read("G000\r\n", milliseconds(40));
    EXPECT_EQ(book.OutcomeOf(squelch), Outcome::Lost);
    EXPECT_EQ(book.OutcomeOf(command), Outcome::Answered);
    EXPECT_EQ(book.OutcomeOf(signal), Outcome::Awaited);
    // A second squelch answer has no question left: it changes nothing.
    book.Read("I007\r\nI14C\r\n", milliseconds(50));
    EXPECT_EQ(book.AnswerTo(signal).value_or(""), "I14C");
}

TEST(AnswerBook, AQuestionAskedTooRecentlyIsNotTheOneAnAnswerIsFor) {
    AnswerBook book;
    // A round trip of 100 ms seen.
    book.Asked(AnswerKind::Acknowledgement, Micros{0});
    book.Read("G000\r\n", milliseconds(100));
    // A doubled answer of an earlier command, 20 ms after the next one.
    const auto command = book.Await(AnswerKind::Acknowledgement, milliseconds(200)).ticket;
    book.Read("G000\r\n", milliseconds(220));
    EXPECT_EQ(book.OutcomeOf(command), Outcome::Awaited);
    book.Read("G000\r\n", milliseconds(300));
    EXPECT_EQ(book.OutcomeOf(command), Outcome::Answered);
}

// Round trips read late on a loaded machine make the panel think the link
// slower than it is; an answer that then comes too soon for its question,
// and no other after it, is learnt, and the next one is taken.
TEST(AnswerBook, AnAnswerQuickerThanEverBeforeIsLearnt) {
    AnswerBook book;
    book.Asked(AnswerKind::Signal, Micros{0});
    book.Read("I100\r\n", milliseconds(80));
    const auto first = book.Await(AnswerKind::Signal, milliseconds(1000));
    book.Read("I147\r\n", milliseconds(1015));
    EXPECT_EQ(book.OutcomeOf(first.ticket), Outcome::Awaited) << "sooner than half of 80 ms";
    EXPECT_EQ(book.Settle(first, milliseconds(1120), true), std::nullopt);
    const auto second = book.Await(AnswerKind::Signal, milliseconds(2000));
    book.Read("I147\r\n", milliseconds(2015));
    EXPECT_EQ(book.AnswerTo(second.ticket).value_or(""), "I147");
}

// A receiver that spoke again after a silence answers the newest query,
// but the one before it, given up on, is still open and takes the answer:
// left so, every answer after would go to the query before its own. The
// query left without another answer takes that one as its own, too soon,
// and the next query is answered by its own answer again.
TEST(AnswerBook, AnAnswerTakenByAQueryGivenUpOnEndsTheShift) {
    AnswerBook book;
    const auto given_up = book.Await(AnswerKind::Squelch, Micros{0});
    EXPECT_EQ(book.Settle(given_up, milliseconds(1100), true), std::nullopt);
    const auto next = book.Await(AnswerKind::Squelch, milliseconds(1150));
    book.Read("I004\r\n", milliseconds(1180));
    EXPECT_EQ(book.OutcomeOf(next.ticket), Outcome::Awaited) << "taken by the query given up on";
    EXPECT_EQ(book.Settle(next, milliseconds(2250), true), std::nullopt);
    EXPECT_EQ(book.OpenQuestions(), 0u);

    const auto after = book.Await(AnswerKind::Squelch, milliseconds(2300));
    book.Read("I007\r\n", milliseconds(2330));
    EXPECT_EQ(book.OutcomeOf(after.ticket), Outcome::Answered);
    EXPECT_EQ(book.AnswerTo(after.ticket), "I007");
}

TEST(AnswerBook, TheWaitFollowsTheRoundTripsAndForgetsThemInSilence) {
    AnswerBook book;
    EXPECT_EQ(book.WaitBound(), Micros{0}) << "never heard: the quiet of the line decides";
    for (const int round_trip_ms : {80, 120, 100}) {
        const Micros at = milliseconds(1000 * round_trip_ms);
        book.Asked(AnswerKind::Signal, at);
        book.Read("I100\r\n", at + milliseconds(round_trip_ms));
    }
    // The longest, a quarter more and two pauses.
    EXPECT_EQ(book.WaitBound(), milliseconds(170));
    EXPECT_EQ(book.Soonest(), milliseconds(40));

    // A wait in vain while other answers came: too short for a slower link.
    const auto slow = book.Await(AnswerKind::Signal, milliseconds(200'000));
    book.Read("G000\r\n", milliseconds(200'100));
    EXPECT_EQ(book.Settle(slow, milliseconds(200'170), true), std::nullopt);
    EXPECT_EQ(book.WaitBound(), milliseconds(340));
    const auto in_time = book.Await(AnswerKind::Signal, milliseconds(300'000));
    book.Read("I100\r\n", milliseconds(300'100));
    EXPECT_EQ(book.Settle(in_time, milliseconds(300'110), true), "I100");
    EXPECT_EQ(book.WaitBound(), milliseconds(170));

    // Two waits in vain with nothing heard at all: fallen silent.
    const auto first_unheard = book.Await(AnswerKind::Signal, milliseconds(400'000));
    book.Settle(first_unheard, milliseconds(400'170), true);
    EXPECT_EQ(book.WaitBound(), milliseconds(170)) << "one lost answer keeps what the link showed";
    const auto second_unheard = book.Await(AnswerKind::Signal, milliseconds(500'000));
    book.Settle(second_unheard, milliseconds(500'170), true);
    EXPECT_EQ(book.WaitBound(), Micros{0});
}

TEST(AnswerBook, TheLongestWaitIsAboutASecond) {
    AnswerBook book;
    book.Asked(AnswerKind::Signal, Micros{0});
    book.Read("I100\r\n", milliseconds(1400));
    EXPECT_EQ(book.WaitBound(), AnswerBook::kLongestWait);
}

// The book's bounds on number and time, and a new session. Each case starts
// from a round trip of 100 ms seen (a wait bound of 145 ms) and a signal
// query awaited since 1 s; its steps return the question to look at.
TEST(AnswerBook, BoundsOnNumberAndTimeAndANewSession) {
    using Ticket = AnswerBook::Ticket;
    using Wait = AnswerBook::Wait;
    const Micros first_asked = milliseconds(1000);
    const auto ask_more = [](AnswerBook& book, int count, Micros at) {
        for (int i = 0; i < count; ++i) book.Asked(AnswerKind::Signal, at);
    };
    struct Case {
        const char* name;
        std::function<Ticket(AnswerBook&, const Wait& first)> steps;
        Outcome outcome;
        Micros wait_bound;
    };
    const Case cases[] = {
        {"64 questions open at once are kept",
         [&](AnswerBook& book, const Wait& first) {
             ask_more(book, 63, first_asked);
             return first.ticket;
         },
         Outcome::Awaited, milliseconds(145)},
        {"a 65th gives the oldest up for lost",
         [&](AnswerBook& book, const Wait& first) {
             ask_more(book, 64, first_asked);
             return first.ticket;
         },
         Outcome::Lost, milliseconds(145)},
        {"a question is kept for kForgetAfter",
         [&](AnswerBook& book, const Wait& first) {
             book.Asked(AnswerKind::Acknowledgement, first_asked + AnswerBook::kForgetAfter);
             return first.ticket;
         },
         Outcome::Awaited, milliseconds(145)},
        {"and given up for lost after it",
         [&](AnswerBook& book, const Wait& first) {
             book.Asked(AnswerKind::Acknowledgement, first_asked + AnswerBook::kForgetAfter + Micros{1});
             return first.ticket;
         },
         Outcome::Lost, milliseconds(145)},
        {"one wait in vain shorter than kSilentFor keeps the round trips",
         [&](AnswerBook& book, const Wait& first) {
             book.Settle(first, first_asked + AnswerBook::kSilentFor - Micros{1}, true);
             return first.ticket;
         },
         Outcome::Lost, milliseconds(145)},
        {"one as long as kSilentFor is silence",
         [&](AnswerBook& book, const Wait& first) {
             book.Settle(first, first_asked + AnswerBook::kSilentFor, true);
             return first.ticket;
         },
         Outcome::Lost, Micros{0}},
        {"two shorter waits in vain in a row with nothing heard are silence",
         [&](AnswerBook& book, const Wait& first) {
             book.Settle(first, first_asked + AnswerBook::kSilentFor / 2, true);
             const Wait second = book.Await(AnswerKind::Signal, milliseconds(2000));
             book.Settle(second, milliseconds(2000) + AnswerBook::kSilentFor / 2, true);
             return second.ticket;
         },
         Outcome::Lost, Micros{0}},
        {"an answer heard between them counts the silence again from nothing",
         [&](AnswerBook& book, const Wait& first) {
             book.Settle(first, first_asked + AnswerBook::kSilentFor / 2, true);
             book.Asked(AnswerKind::Acknowledgement, milliseconds(1500));
             book.Read("G000\r\n", milliseconds(1600));
             const Wait second = book.Await(AnswerKind::Signal, milliseconds(2000));
             book.Settle(second, milliseconds(2000) + AnswerBook::kSilentFor / 2, true);
             return second.ticket;
         },
         Outcome::Lost, milliseconds(145)},
        {"as long a wait while others answered is no silence: the next is stretched, at most kLongestWait",
         [&](AnswerBook& book, const Wait& first) {
             book.Read("G000\r\n", first_asked + milliseconds(50));
             book.Settle(first, first_asked + AnswerBook::kSilentFor, true);
             return first.ticket;
         },
         Outcome::Lost, AnswerBook::kLongestWait},
        {"a wait cut short by a switch-off teaches nothing",
         [&](AnswerBook& book, const Wait& first) {
             book.Settle(first, first_asked + AnswerBook::kSilentFor, false);
             return first.ticket;
         },
         Outcome::Lost, milliseconds(145)},
        {"a new session closes the open questions as lost and forgets the round trips",
         [&](AnswerBook& book, const Wait& first) {
             book.Clear();
             return first.ticket;
         },
         Outcome::Lost, Micros{0}},
        {"and drops a code begun before it",
         [&](AnswerBook& book, const Wait&) {
             book.Read("I", first_asked + milliseconds(50));
             book.Clear();
             const Wait next = book.Await(AnswerKind::Signal, milliseconds(2000));
             book.Read("147\r\n", milliseconds(2100));
             book.FellQuiet(milliseconds(2200));
             return next.ticket;
         },
         Outcome::Awaited, Micros{0}},
    };
    for (const auto& c : cases) {
        AnswerBook book;
        book.Asked(AnswerKind::Signal, Micros{0});
        book.Read("I100\r\n", milliseconds(100));
        const Wait first = book.Await(AnswerKind::Signal, first_asked);
        const Ticket looked_at = c.steps(book, first);
        EXPECT_EQ(book.OutcomeOf(looked_at), c.outcome) << c.name;
        EXPECT_EQ(book.WaitBound(), c.wait_bound) << c.name;
    }
}

}  // namespace
}  // namespace velmo
