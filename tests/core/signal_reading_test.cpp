// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "signal_reading.h"

namespace velmo {
namespace {

struct SignalCase {
    const char* reply;
    std::optional<int> bar;  // with a previous bar of 33
};

TEST(SignalBarLength, DigitCasesAndFailedTests) {
    const SignalCase cases[] = {
        {"I100", 1},        {"I147", 32},
        {"I17F", 56},       {"I180", 57},
        {"I1FF", 75},       {"I18C", 50},
        {"I188", 59},       {"I1F0", 75},
        {"G000I147", 32},   {"I147I100", 32},
        {"xI1A0\r\n", 55},  {"I1ff", 33},
        {"I1", 33},         {"I1F", 4},
        {"I1G0", 33},       {"I10G", 1},
        {"I1:0", 1},        {"I1\x80\x80", 33},
        {"I1 5", 33},       {"i147", std::nullopt},
        {"", std::nullopt}, {"G000", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(SignalBarLength(c.reply, 33), c.bar) << '"' << c.reply << '"';
}

TEST(SignalBarLength, FailedTestRedrawsPreviousCapped) {
    EXPECT_EQ(SignalBarLength("I1zz", 0), 0);
    EXPECT_EQ(SignalBarLength("I1zz", 500), 75);
}

TEST(CalibratedBar, CalibrationRowsAndCap) {
    // Raw level = 4 x quarter level.
    const std::pair<int, int> quarter_to_bar[] = {{0, 1},   {4, 5},   {5, 10},  {9, 14},  {10, 20}, {14, 24},
                                                  {15, 30}, {19, 34}, {20, 40}, {24, 44}, {25, 50}, {29, 54},
                                                  {30, 55}, {34, 59}, {35, 50}, {59, 74}, {60, 75}, {63, 75}};
    for (const auto& [quarter, bar] : quarter_to_bar) EXPECT_EQ(CalibratedBar(quarter * 4), bar) << quarter;
}

TEST(SignalBar, TextAndColour) {
    EXPECT_EQ(SignalBarText(0), " ");
    EXPECT_EQ(SignalBarText(-3), " ");
    EXPECT_EQ(SignalBarText(75), " " + std::string(75, '|'));
    EXPECT_EQ(SignalBarColour(0), kBlue);
    EXPECT_EQ(SignalBarColour(56), kBlue);
    EXPECT_EQ(SignalBarColour(57), kRed);
    EXPECT_EQ(SignalBarColour(75), kRed);
}

TEST(SquelchOpen, FirstI0Decides) {
    const std::pair<const char*, bool> cases[] = {
        {"I007", true},  {"G000\r\nI007\r\n", true}, {"I004", false}, {"I0", false},
        {"I00", false},  {"I004I007", false},        {"i007", false}, {"", false},
        {"I107", false}, {"G000I0 07", false},
    };
    for (const auto& [reply, open] : cases) EXPECT_EQ(SquelchOpen(reply), open) << reply;
}

TEST(HasCompleteAnswer, NeedsTwoCharactersAfterTheFirstCode) {
    EXPECT_FALSE(HasCompleteAnswer("", "I0"));
    EXPECT_FALSE(HasCompleteAnswer("G000\r\nI0", "I0"));
    EXPECT_FALSE(HasCompleteAnswer("G000\r\nI00", "I0"));
    EXPECT_TRUE(HasCompleteAnswer("G000\r\nI007", "I0"));
    EXPECT_FALSE(HasCompleteAnswer("I007", "I1"));
    EXPECT_TRUE(HasCompleteAnswer("I1\r\n", "I1"));  // complete, if garbled: the reading decides
}

}  // namespace
}  // namespace velmo
