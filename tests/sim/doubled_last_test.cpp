// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A receiver that now and then repeats the last character of an answer
// ("G0000" CR LF): always, never, or by chance, the same for the same seed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/simulated_receiver.h"

namespace velmo::sim {
namespace {

// The answers to `lines`, each sent and read in turn.
std::vector<std::string> Answers(double double_last, std::uint64_t seed, const std::vector<std::string>& lines) {
    ReceiverOptions options;
    options.seed = seed;
    options.wire_timing = false;
    options.latency = Micros{0};
    options.double_last = double_last;
    SimulatedReceiver receiver(options);
    std::vector<std::string> answers;
    Micros now{0};
    for (const auto& line : lines) {
        receiver.Write(line + "\r\n", now);
        answers.push_back(receiver.Read(now));
        now += Micros{1000};
    }
    return answers;
}

std::vector<std::string> ManyCommands(int count) {
    std::vector<std::string> lines{"H101"};
    for (int i = 1; i < count; ++i) lines.push_back(i % 2 ? "G300" : "J4180");
    return lines;
}

int Doubled(const std::vector<std::string>& answers) {
    int doubled = 0;
    for (const auto& a : answers) doubled += a == "G0000\r\n";
    return doubled;
}

TEST(DoubledLast, AlwaysRepeatsTheCharacterBeforeTheLineEnd) {
    const auto answers = Answers(1.0, 1, {"H101", "I0?", "I1?", "J40zz", "G300"});
    ASSERT_EQ(answers.size(), 5u);
    EXPECT_EQ(answers[0], "G0000\r\n");
    EXPECT_EQ(answers[1], "I0077\r\n");  // 81.3 MHz carries a station
    ASSERT_EQ(answers[2].size(), 7u);
    EXPECT_EQ(answers[2].substr(0, 2), "I1");
    EXPECT_EQ(answers[2][4], answers[2][3]);
    EXPECT_EQ(answers[2].substr(5), "\r\n");
    EXPECT_EQ(answers[3], "G0011\r\n");
    EXPECT_EQ(answers[4], "G0000\r\n");
}

TEST(DoubledLast, NeverByDefault) {
    const auto answers = Answers(ReceiverOptions{}.double_last, 1, ManyCommands(500));
    EXPECT_EQ(Doubled(answers), 0);
    EXPECT_EQ(answers.front(), "G000\r\n");
}

TEST(DoubledLast, ByChanceTheSameForTheSameSeed) {
    const auto lines = ManyCommands(2000);
    const auto first = Answers(0.25, 7, lines);
    EXPECT_EQ(Answers(0.25, 7, lines), first);
    EXPECT_NE(Answers(0.25, 8, lines), first);
    // About a quarter: 500 expected, the binomial's spread is 19.
    EXPECT_GT(Doubled(first), 400);
    EXPECT_LT(Doubled(first), 600);
    for (const auto& answer : first) EXPECT_TRUE(answer == "G000\r\n" || answer == "G0000\r\n") << answer;
}

}  // namespace
}  // namespace velmo::sim
