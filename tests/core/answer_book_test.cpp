// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "answer_book.h"

#include <gtest/gtest.h>

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
        book.Asked(AnswerKind::Acknowledgement, Micros{0}, false);
        const auto ticket = book.Asked(AnswerKind::Squelch, Micros{0}, true);
        for (const auto& read : c.reads) book.Read(read.text, milliseconds(read.at_ms));
        if (c.quiet_at_end) book.FellQuiet(milliseconds(60));
        EXPECT_EQ(book.OutcomeOf(ticket), c.outcome) << c.name;
        EXPECT_EQ(book.AnswerTo(ticket).value_or(""), c.answer) << c.name;
    }
}

TEST(AnswerBook, AnAnswerToALaterQuestionClosesTheEarlierOnesAsLost) {
    AnswerBook book;
    const auto squelch = book.Asked(AnswerKind::Squelch, Micros{0}, true);
    const auto command = book.Asked(AnswerKind::Acknowledgement, milliseconds(10), true);
    const auto signal = book.Asked(AnswerKind::Signal, milliseconds(20), true);
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
    book.Asked(AnswerKind::Acknowledgement, Micros{0}, false);
    book.Read("G000\r\n", milliseconds(100));
    // A doubled answer of an earlier command, 20 ms after the next one.
    const auto command = book.Asked(AnswerKind::Acknowledgement, milliseconds(200), true);
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
    book.Asked(AnswerKind::Signal, Micros{0}, false);
    book.Read("I100\r\n", milliseconds(80));
    const auto first = book.Asked(AnswerKind::Signal, milliseconds(1000), true);
    book.Read("I147\r\n", milliseconds(1015));
    EXPECT_EQ(book.OutcomeOf(first), Outcome::Awaited) << "sooner than half of 80 ms";
    book.WaitedInVain(first, book.AnswersHeard(), milliseconds(120));
    book.Release(first);
    const auto second = book.Asked(AnswerKind::Signal, milliseconds(2000), true);
    book.Read("I147\r\n", milliseconds(2015));
    EXPECT_EQ(book.AnswerTo(second).value_or(""), "I147");
}

// A receiver that spoke again after a silence answers the newest query,
// but the one before it, given up on, is still open and takes the answer:
// left so, every answer after would go to the query before its own. The
// query left without another answer takes that one as its own, too soon,
// and the next query is answered by its own answer again.
TEST(AnswerBook, AnAnswerTakenByAQueryGivenUpOnEndsTheShift) {
    AnswerBook book;
    const auto given_up = book.Asked(AnswerKind::Squelch, Micros{0}, true);
    book.WaitedInVain(given_up, book.AnswersHeard(), milliseconds(1100));
    book.Release(given_up);
    const auto next = book.Asked(AnswerKind::Squelch, milliseconds(1150), true);
    const auto heard_before = book.AnswersHeard();
    book.Read("I004\r\n", milliseconds(1180));
    EXPECT_EQ(book.OutcomeOf(next), Outcome::Awaited) << "taken by the query given up on";
    book.WaitedInVain(next, heard_before, milliseconds(1100));
    book.Release(next);
    EXPECT_EQ(book.OpenQuestions(), 0u);

    const auto after = book.Asked(AnswerKind::Squelch, milliseconds(2300), true);
    book.Read("I007\r\n", milliseconds(2330));
    EXPECT_EQ(book.OutcomeOf(after), Outcome::Answered);
    EXPECT_EQ(book.AnswerTo(after), "I007");
}

TEST(AnswerBook, TheWaitFollowsTheRoundTripsAndForgetsThemInSilence) {
    AnswerBook book;
    EXPECT_EQ(book.WaitBound(), Micros{0}) << "never heard: the quiet of the line decides";
    for (const int round_trip_ms : {80, 120, 100}) {
        const Micros at = milliseconds(1000 * round_trip_ms);
        book.Asked(AnswerKind::Signal, at, false);
        book.Read("I100\r\n", at + milliseconds(round_trip_ms));
    }
    // The longest, a quarter more and two pauses.
    EXPECT_EQ(book.WaitBound(), milliseconds(170));
    EXPECT_EQ(book.Soonest(), milliseconds(40));

    // A wait in vain while other answers came: too short for a slower link.
    auto heard = book.AnswersHeard();
    book.Asked(AnswerKind::Signal, milliseconds(200'000), false);
    book.Read("G000\r\n", milliseconds(200'100));
    book.WaitedInVain(0, heard, milliseconds(170));
    EXPECT_EQ(book.WaitBound(), milliseconds(340));
    book.AnsweredInTime();
    EXPECT_EQ(book.WaitBound(), milliseconds(170));

    // Two waits in vain with nothing heard at all: fallen silent.
    heard = book.AnswersHeard();
    book.WaitedInVain(0, heard, milliseconds(170));
    EXPECT_EQ(book.WaitBound(), milliseconds(170)) << "one lost answer keeps what the link showed";
    book.WaitedInVain(0, heard, milliseconds(170));
    EXPECT_EQ(book.WaitBound(), Micros{0});
}

TEST(AnswerBook, TheLongestWaitIsAboutASecond) {
    AnswerBook book;
    book.Asked(AnswerKind::Signal, Micros{0}, false);
    book.Read("I100\r\n", milliseconds(1400));
    EXPECT_EQ(book.WaitBound(), AnswerBook::kLongestWait);
}

}  // namespace
}  // namespace velmo
