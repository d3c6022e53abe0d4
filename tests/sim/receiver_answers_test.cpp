// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the receiver answers to each command, on and off.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "sim/receiver_model.h"

namespace velmo::sim {
namespace {

ReceiverModel NewModel() { return ReceiverModel(SignalModel(Band::Default(), 1)); }

ReceiverModel SwitchedOn() {
    ReceiverModel m = NewModel();
    EXPECT_EQ(m.Answer("H101", Micros{0}), "G000\r\n");
    return m;
}

struct AnswerCase {
    std::string line;
    std::string answer;
};

void PrintTo(const AnswerCase& c, std::ostream* os) {
    std::string shown;
    for (char ch : c.line.substr(0, 24)) shown += (ch >= 0x20 && ch < 0x7F) ? ch : '?';
    if (c.line.size() > 24) shown += "...";
    *os << '"' << shown << "\" -> " << c.answer.substr(0, 4);
}

class AnswerWhileOn : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(AnswerWhileOn, MatchesTheCommandSet) {
    ReceiverModel m = SwitchedOn();
    EXPECT_EQ(m.Answer(GetParam().line, Micros{0}), GetParam().answer) << "line: " << GetParam().line;
}

const std::string kOk = "G000\r\n";
const std::string kBad = "G001\r\n";

INSTANTIATE_TEST_SUITE_P(
    CommandFamilies, AnswerWhileOn,
    ::testing::Values(
        // Power and initialisation.
        AnswerCase{"H101", kOk}, AnswerCase{"H100", kOk}, AnswerCase{"G300", kOk}, AnswerCase{"H102", kBad},
        AnswerCase{"H10", kBad}, AnswerCase{"h101", kBad}, AnswerCase{"G301", kBad}, AnswerCase{"G3000", kBad},
        // Tuning: range ends, every mode and filter.
        AnswerCase{"K00081300000060400", kOk}, AnswerCase{"K00000100000060400", kOk},
        AnswerCase{"K01300000000060400", kOk}, AnswerCase{"K00145512500000000", kOk},
        AnswerCase{"K00145512500010100", kOk}, AnswerCase{"K00145512500020200", kOk},
        AnswerCase{"K00145512500030300", kOk}, AnswerCase{"K00145512500050400", kOk},
        // Out of range, unknown codes, bad lengths and characters.
        AnswerCase{"K00000099999060400", kBad}, AnswerCase{"K01300000001060400", kBad},
        AnswerCase{"K09999999999060400", kBad}, AnswerCase{"K00081300000040400", kBad},
        AnswerCase{"K00081300000070400", kBad}, AnswerCase{"K00081300000060500", kBad},
        AnswerCase{"K00081300000060401", kBad}, AnswerCase{"K0008130000006040", kBad},
        AnswerCase{"K000813000000604000", kBad}, AnswerCase{"K0008130000A060400", kBad},
        AnswerCase{"K1008130000060400 ", kBad}, AnswerCase{" K00081300000060400", kBad},
        AnswerCase{"K0-081300000060400", kBad},
        // Levels: two upper-case hex digits only.
        AnswerCase{"J4000", kOk}, AnswerCase{"J40FF", kOk}, AnswerCase{"J4180", kOk}, AnswerCase{"J430A", kOk},
        AnswerCase{"J40ab", kBad}, AnswerCase{"J40aB", kBad}, AnswerCase{"J40G0", kBad}, AnswerCase{"J408", kBad},
        AnswerCase{"J40800", kBad}, AnswerCase{"J4280", kBad}, AnswerCase{"J4480", kBad},
        // Switches.
        AnswerCase{"J5000", kOk}, AnswerCase{"J5001", kOk}, AnswerCase{"J4500", kOk}, AnswerCase{"J4501", kOk},
        AnswerCase{"J4700", kOk}, AnswerCase{"J4701", kOk}, AnswerCase{"J4600", kOk}, AnswerCase{"J4601", kOk},
        AnswerCase{"J4602", kBad}, AnswerCase{"J5010", kBad}, AnswerCase{"J470", kBad}, AnswerCase{"J48001", kBad},
        // Queries answer only their own reply; near misses are rejected.
        // (The start-up frequency carries a station, so the squelch is open.)
        AnswerCase{"I0?", "I007\r\n"}, AnswerCase{"I0", kBad}, AnswerCase{"I2?", kBad}, AnswerCase{"i1?", kBad},
        AnswerCase{"I1??", kBad},
        // Garbage.
        AnswerCase{"X", kBad}, AnswerCase{std::string(300, 'J'), kBad},
        AnswerCase{std::string("J40\0"
                               "0",
                               5),
                   kBad}));

TEST(ReceiverModel, CommandsChangeTheState) {
    ReceiverModel m = SwitchedOn();
    for (const char* line : {"K00145512500050200", "J40AB", "J4107", "J43FF", "J5001", "J4501", "J4701", "J4601"}) {
        ASSERT_EQ(m.Answer(line, Micros{0}), "G000\r\n") << line;
    }
    const ReceiverState& s = m.State();
    EXPECT_EQ(s.frequency_hz, 145'512'500);
    EXPECT_EQ(s.mode, 5);
    EXPECT_EQ(s.filter, 2);
    EXPECT_EQ(s.volume, 0xAB);
    EXPECT_EQ(s.squelch, 7);
    EXPECT_EQ(s.if_shift, 255);
    EXPECT_TRUE(s.On(Switch::Afc));
    EXPECT_TRUE(s.On(Switch::Agc));
    EXPECT_TRUE(s.On(Switch::Attenuator));
    EXPECT_TRUE(s.On(Switch::NoiseBlanker));

    // A rejected command leaves the state alone.
    EXPECT_EQ(m.Answer("K01300000001060400", Micros{0}), "G001\r\n");
    EXPECT_EQ(m.State().frequency_hz, 145'512'500);
}

TEST(ReceiverModel, EachSwitchCommandMovesOnlyItsOwnSwitch) {
    for (const SwitchRow& row : kReceiverSwitches) {
        ReceiverModel m = SwitchedOn();
        const std::string head(row.head);
        ASSERT_EQ(m.Answer(head + "01", Micros{0}), "G000\r\n") << head;
        for (const SwitchRow& other : kReceiverSwitches) {
            EXPECT_EQ(m.State().On(other.which), other.which == row.which) << head << " then " << other.head;
        }
        ASSERT_EQ(m.Answer(head + "00", Micros{0}), "G000\r\n") << head;
        EXPECT_FALSE(m.State().On(row.which)) << head;
    }
}

TEST(ReceiverModel, WhileOffOnlyPowerCommandsAreTakenAndEverythingUnreadableIsRejected) {
    ReceiverModel m = NewModel();
    ASSERT_FALSE(m.State().on);
    for (const char* line : {"G300", "I0?", "I1?", "J4180", "J5001", "K00081300000060400"}) {
        EXPECT_EQ(m.Answer(line, Micros{0}), "") << line;
    }
    // Whatever the receiver cannot read it rejects, on or off, so that every
    // byte a program sends it is checked.
    for (const char* line : {"X", "h101", "J41ab", "K0008130000006040", "I1??", "H102"}) {
        EXPECT_EQ(m.Answer(line, Micros{0}), "G001\r\n") << line;
    }
    // Ignored while off: the squelch stays where it was.
    EXPECT_EQ(m.State().squelch, 128);
    EXPECT_EQ(m.Answer("H100", Micros{0}), "G000\r\n");
    EXPECT_FALSE(m.State().on);
    EXPECT_EQ(m.Answer("H1XY", Micros{0}), "G001\r\n");
    EXPECT_FALSE(m.State().on);

    EXPECT_EQ(m.Answer("H101", Micros{0}), "G000\r\n");
    EXPECT_EQ(m.Answer("G300", Micros{0}), "G000\r\n");
    EXPECT_EQ(m.Answer("H100", Micros{0}), "G000\r\n");
    EXPECT_EQ(m.Answer("I1?", Micros{0}), "");
}

// The queries report what the signal model says, in the agreed format.
TEST(ReceiverModel, QueriesReportTheTunedSignal) {
    ReceiverModel m = SwitchedOn();
    ASSERT_EQ(m.Answer("K00081300000060400", Micros{0}), "G000\r\n");
    const Micros t{1'234'567};
    const int level = m.SignalLevel(t);
    ASSERT_GT(level, 128);
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", level);
    EXPECT_EQ(m.Answer("I1?", t), std::string("I1") + hex + "\r\n");
    EXPECT_EQ(m.Answer("I0?", t), "I007\r\n");

    // Squelch exactly at the level: not above it, so closed.
    char squelch[6];
    std::snprintf(squelch, sizeof squelch, "J41%02X", level);
    ASSERT_EQ(m.Answer(squelch, t), "G000\r\n");
    EXPECT_EQ(m.Answer("I0?", t), "I004\r\n");
    std::snprintf(squelch, sizeof squelch, "J41%02X", level - 1);
    ASSERT_EQ(m.Answer(squelch, t), "G000\r\n");
    EXPECT_EQ(m.Answer("I0?", t), "I007\r\n");
}

TEST(ReceiverModel, SignalLevelsBelowSixteenKeepTwoDigits) {
    // No stations and a squelch of 0: noise only, and the squelch is open.
    ReceiverModel m(SignalModel(Band(), 3));
    ASSERT_EQ(m.Answer("H101", Micros{0}), "G000\r\n");
    ASSERT_EQ(m.Answer("J4100", Micros{0}), "G000\r\n");
    Micros t{0};
    while (m.SignalLevel(t) >= 16) t += SignalModel::kNoiseSlot;
    char expected[8];
    std::snprintf(expected, sizeof expected, "I10%X\r\n", m.SignalLevel(t));
    EXPECT_EQ(m.Answer("I1?", t), expected);
    EXPECT_EQ(m.Answer("I0?", t), "I007\r\n");
}

}  // namespace
}  // namespace velmo::sim
