// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "core_rigs.h"

namespace velmo::testing {
namespace {

TEST(HandleKey, TuningKeys) {
    struct Case {
        int key;
        const char* display;
    };
    const Case cases[] = {
        {33, "81.400.000"},    // Page Up
        {85, "81.400.000"},    // U
        {34, "81.200.000"},    // Page Down
        {68, "81.200.000"},    // D
        {36, "0.100.000"},     // Home
        {35, "1300.000.000"},  // End
        {117, "81.300.000"},   // u's own code is F6: nothing
        {65, "81.300.000"},    // A: no row
    };
    for (const auto& c : cases) {
        OffRig rig;
        rig.panel.HandleKey(c.key);
        EXPECT_EQ(rig.view.display, c.display) << c.key;
        EXPECT_EQ(rig.link.written, "") << "off: nothing is sent";
    }
}

TEST(HandleKey, HomeAndEndSetTheLimitsExactlyAndIgnoreTheStep) {
    OnRig rig;
    rig.view.SetTuningStepText("garbage");
    rig.panel.HandleKey(36);
    EXPECT_EQ(rig.panel.Frequency, 0.1);
    rig.panel.HandleKey(35);
    EXPECT_EQ(rig.panel.Frequency, 1300.0);
    EXPECT_EQ(rig.Sent(), (std::vector<std::string>{"K00000100000060400", "K01300000000060400"}));
}

TEST(HandleKey, PowerKeysAndTheirOwnConditions) {
    OffRig rig;
    rig.panel.HandleKey(46);  // Delete while off
    EXPECT_EQ(rig.link.closes, 0);
    rig.panel.HandleKey(45);  // Insert
    EXPECT_TRUE(rig.link.IsOpen());
    const auto sent = rig.link.lines.size();
    rig.panel.HandleKey(45);  // Insert while on
    EXPECT_EQ(rig.link.lines.size(), sent);
    rig.panel.HandleKey(46);
    EXPECT_FALSE(rig.link.IsOpen());
    EXPECT_EQ(rig.link.lines.back(), "H100");
}

TEST(HandleKey, PauseMutesOnlyOnARealChange) {
    OnRig rig;
    rig.panel.HandleKey(19);
    EXPECT_EQ(rig.view.ScrollValue(ScrollBar::Volume), 0);
    EXPECT_EQ(rig.view.frame_caption[0], "Volume 0");
    rig.panel.HandleKey(19);
    EXPECT_EQ(rig.Sent(), std::vector<std::string>{"J4000"});
}

// The window's key table (tests/ui/window_keys_test.cpp) shows each key's
// first effect; here what only the panel shows: Shift pressed again stops
// the scanner and gives the poll back, and the entry offers the frequency
// tuned.
TEST(HandleKey, ShiftAgainStopsTheScannerAndCtrlOffersTheTunedFrequency) {
    OnRig rig;
    rig.panel.HandleKey(16);
    EXPECT_TRUE(rig.timer3->Enabled());
    rig.panel.HandleKey(16);
    EXPECT_FALSE(rig.timer3->Enabled());
    EXPECT_TRUE(rig.timer2->Enabled());
    rig.view.input_answers = {"145.5"};
    rig.panel.HandleKey(17);
    EXPECT_EQ(rig.view.input_defaults, std::vector<std::string>{"81.3"});
    EXPECT_EQ(rig.panel.Frequency, 145.5);
}

TEST(HandleKey, EscapeEndsAtOnceEvenInsideAPause) {
    OnRig rig;
    rig.clock.AtMs(rig.NowMs() + 4, [&] { rig.panel.HandleKey(27); });
    // Inside the first command's pause: neither the rest of the switch-on
    // nor the power-off command goes out.
    EXPECT_THROW(rig.panel.SendCommand("J4701"), ProgramEnded);
    EXPECT_TRUE(rig.view.ended);
    EXPECT_EQ(rig.Sent(), std::vector<std::string>{"J4701"});
    EXPECT_TRUE(rig.link.IsOpen()) << "the receiver stays on";
}

}  // namespace
}  // namespace velmo::testing
