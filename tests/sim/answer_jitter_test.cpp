// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Answers whose delay varies, as across a network: each within
// [latency, latency + jitter] of its command, never ahead of the answer
// before it, and the same for the same seed. All in virtual time.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sim/simulated_receiver.h"

namespace velmo::sim {
namespace {

using std::chrono::milliseconds;
using Direction = SimulatedReceiver::Direction;

struct Seen {
    Micros at;
    Direction direction;
    std::string text;
};

struct Run {
    std::vector<Seen> lines;
    std::vector<std::string> received;  // the bytes read, answer by answer
};

// Switches the receiver on, then sends `count` queries `gap` apart
// (squelch, signal and a setting in turn) and reads until all is answered.
Run Send(ReceiverOptions options, int count, Micros gap) {
    SimulatedReceiver receiver(options);
    Run run;
    receiver.SetObserver([&run](Micros at, Direction direction, std::string_view text) {
        run.lines.push_back({at, direction, std::string(text)});
    });
    receiver.Write("H101\r\n", Micros{0});
    Micros now{1'000'000};
    receiver.AdvanceTo(now);
    const char* const queries[] = {"I0?\r\n", "I1?\r\n", "G300\r\n"};
    for (int i = 0; i < count; ++i) {
        receiver.Write(queries[i % 3], now);
        now += gap;
        run.received.push_back(receiver.Read(now));
    }
    run.received.push_back(receiver.Read(now + milliseconds(60'000)));
    return run;
}

// For each answer, the time from its command reaching the receiver to the
// answer leaving it (the power command's included).
std::vector<Micros> Delays(const Run& run) {
    std::vector<Micros> commands;
    std::vector<Micros> delays;
    std::size_t answered = 0;
    for (const auto& seen : run.lines) {
        if (seen.direction == Direction::ToReceiver) {
            commands.push_back(seen.at);
        } else if (answered < commands.size()) {
            delays.push_back(seen.at - commands[answered++]);
        }
    }
    return delays;
}

ReceiverOptions Jittery(std::uint64_t seed, Micros latency, Micros jitter) {
    ReceiverOptions options;
    options.seed = seed;
    options.latency = latency;
    options.jitter = jitter;
    return options;
}

TEST(AnswerJitter, EachDelayLiesWithinLatencyAndLatencyPlusJitter) {
    struct Case {
        Micros latency;
        Micros jitter;
    };
    const Case cases[] = {
        {milliseconds(3), milliseconds(0)},
        {milliseconds(20), milliseconds(30)},
        {milliseconds(0), milliseconds(250)},
        {milliseconds(100), Micros{1}},
    };
    for (const auto& [latency, jitter] : cases) {
        SCOPED_TRACE(testing::Message() << "latency " << latency.count() << " us, jitter " << jitter.count() << " us");
        // Commands further apart than the longest delay, so no answer waits
        // for another.
        const int count = 300;
        const auto delays = Delays(Send(Jittery(3, latency, jitter), count, latency + jitter + milliseconds(30)));
        ASSERT_EQ(delays.size(), static_cast<std::size_t>(count + 1));
        const auto [shortest, longest] = std::minmax_element(delays.begin(), delays.end());
        EXPECT_GE(*shortest, latency);
        EXPECT_LE(*longest, latency + jitter);
        if (jitter >= milliseconds(1)) {
            // Spread over the range, not bunched at one end: with 300 draws
            // the chance of missing either outer tenth is below 10^-13.
            EXPECT_LT(*shortest, latency + jitter / 10);
            EXPECT_GT(*longest, latency + jitter - jitter / 10);
        }
    }
}

TEST(AnswerJitter, AnswersStayInTheOrderOfTheirCommands) {
    // Commands 5 ms apart against up to 100 ms of jitter: many answers draw
    // less delay than the one before them and must wait for it.
    const auto run = Send(Jittery(11, milliseconds(10), milliseconds(100)), 200, milliseconds(5));
    Micros last{0};
    std::vector<std::string> answers;
    for (const auto& seen : run.lines) {
        if (seen.direction != Direction::FromReceiver) continue;
        EXPECT_GE(seen.at, last) << "an answer left before the one ahead of it";
        last = seen.at;
        answers.push_back(seen.text);
    }
    ASSERT_EQ(answers.size(), 201u);
    EXPECT_EQ(answers.front(), "G000");
    for (std::size_t i = 1; i < answers.size(); ++i) {
        const char* const expected_start = (i - 1) % 3 == 0 ? "I0" : (i - 1) % 3 == 1 ? "I1" : "G0";
        EXPECT_EQ(answers[i].substr(0, 2), expected_start) << "answer " << i;
    }
    std::string bytes;
    for (const auto& piece : run.received) bytes += piece;
    std::string sent;
    for (const auto& answer : answers) sent += answer + "\r\n";
    EXPECT_EQ(bytes, sent) << "every answer arrives whole, in order";
}

TEST(AnswerJitter, TheSameSeedGivesTheSameDelays) {
    const Micros latency = milliseconds(20);
    const Micros jitter = milliseconds(50);
    const Micros gap = milliseconds(80);
    const auto first = Delays(Send(Jittery(7, latency, jitter), 100, gap));
    ASSERT_EQ(first.size(), 101u);
    EXPECT_EQ(Delays(Send(Jittery(7, latency, jitter), 100, gap)), first);
    EXPECT_NE(Delays(Send(Jittery(8, latency, jitter), 100, gap)), first);
}

TEST(AnswerJitter, LeavesTheDoubledAnswersAsTheyWere) {
    // Jitter draws from its own generator: switching it on must not change
    // which answers --double-last repeats.
    ReceiverOptions plain = Jittery(5, milliseconds(3), Micros{0});
    plain.double_last = 0.3;
    ReceiverOptions jittery = plain;
    jittery.jitter = milliseconds(40);
    std::vector<std::string> answers[2];
    int index = 0;
    for (const auto& options : {plain, jittery}) {
        for (const auto& seen : Send(options, 150, milliseconds(60)).lines) {
            if (seen.direction == Direction::FromReceiver) answers[index].push_back(seen.text);
        }
        ++index;
    }
    ASSERT_EQ(answers[0].size(), 151u);
    EXPECT_EQ(answers[1], answers[0]);
}

}  // namespace
}  // namespace velmo::sim
