// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The simulated receiver ends its answers as it is told, and still takes
// the commands it is sent as before.
#include <gtest/gtest.h>

#include <string>

#include "sim/simulated_receiver.h"

namespace velmo::sim {
namespace {

TEST(LineEnd, EveryAnswerEndsAsTold) {
    const std::pair<LineEnd, std::string> ends[] = {
        {LineEnd::CrLf, "\r\n"}, {LineEnd::Cr, "\r"}, {LineEnd::Lf, "\n"}, {LineEnd::None, ""}};
    for (const auto& [end, bytes] : ends) {
        for (const double double_last : {0.0, 1.0}) {
            ReceiverOptions options;
            options.wire_timing = false;
            options.latency = Micros{0};
            options.line_end = end;
            options.double_last = double_last;
            SimulatedReceiver receiver(options);
            Micros now{0};
            // Commands ended in CR LF, in CR alone, and a line sent in two parts.
            const std::pair<std::string, std::string> exchanges[] = {
                {"H101\r\n", "G000"}, {"G300\r", "G000"}, {"J40", ""}, {"32\r\n", "G000"}, {"H102\r\n", "G001"}};
            for (auto [sent, answer] : exchanges) {
                receiver.Write(sent, now);
                now += Micros{1000};
                if (!answer.empty() && double_last > 0) answer += answer.back();
                EXPECT_EQ(receiver.Read(now), answer.empty() ? "" : answer + bytes) << sent << ' ' << bytes.size();
            }
            EXPECT_TRUE(receiver.Model().State().on);
            EXPECT_EQ(receiver.Model().State().volume, 50);
        }
    }
}

TEST(LineEnd, NamesOnTheCommandLine) {
    EXPECT_EQ(ParseLineEnd("crlf"), LineEnd::CrLf);
    EXPECT_EQ(ParseLineEnd("none"), LineEnd::None);
    EXPECT_EQ(ParseLineEnd("CR"), std::nullopt);
    EXPECT_EQ(WithLineEnd("I1A0\r\n", LineEnd::Lf), "I1A0\n");
    EXPECT_EQ(WithLineEnd("", LineEnd::Cr), "");
}

}  // namespace
}  // namespace velmo::sim
