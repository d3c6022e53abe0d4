// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "fake_view.h"
#include "reply_list.h"
#include "scripted_receiver.h"
#include "switch_on_commands.h"

namespace velmo::testing {
namespace {

using Lines = std::vector<std::string>;

struct Started : Rig {
    explicit Started(int port = 3) : Rig(port) {
        link.responder = ScriptedReceiver{};
        panel.SetDefaults();
    }
};

TEST(StartUp, DefaultsWithThePortClosedAndNothingWritten) {
    Started rig(2);
    const FakeView& v = rig.view;
    EXPECT_FALSE(rig.link.IsOpen());
    EXPECT_EQ(rig.link.opens, 0);
    EXPECT_EQ(rig.link.written, "");
    EXPECT_EQ(rig.link.configured_port, 2);
    EXPECT_EQ(rig.link.configured_settings, "9600,N,8,1");
    EXPECT_EQ(rig.link.configured_input_length, 0);
    EXPECT_TRUE(v.CodesOut().empty());
    EXPECT_TRUE(v.CodesIn().empty());
    EXPECT_EQ(v.OnOffLabel(), kRed);
    EXPECT_EQ(v.ScanLabel(), kRed);
    EXPECT_EQ(v.display, "81.300.000");
    EXPECT_EQ(v.tuning_step, "100 KHz");
    EXPECT_EQ(v.ScrollValue(ScrollBar::Volume), 100);
    EXPECT_EQ(v.ScrollValue(ScrollBar::Squelch), 128);
    EXPECT_EQ(v.ScrollValue(ScrollBar::IfShift), 80);
    EXPECT_EQ(v.frame_caption, (std::array<std::string, 3>{"Volume 100", "Squelch 128", "IF Shift 80"}));
    for (int b = 0; b < 11; ++b) {
        const auto button = static_cast<OptionButton>(b);
        EXPECT_EQ(v.OptionSelected(button), button == OptionButton::WFM || button == OptionButton::Filter5) << b;
    }
    for (int c = 0; c < 4; ++c) EXPECT_EQ(v.CheckState(static_cast<CheckBox>(c)), kUnchecked);
    EXPECT_EQ(v.signal_caption, " ");
    EXPECT_EQ(v.signal_colour, kBlue);
    EXPECT_EQ(rig.panel.ModeSetting, "06");
    EXPECT_EQ(rig.panel.FilterSetting, "04");
    EXPECT_EQ(rig.panel.CR, "\r");
    EXPECT_EQ(rig.panel.LF, "\n");
    EXPECT_DOUBLE_EQ(rig.panel.Frequency, 81.3);
    EXPECT_FALSE(rig.timer1->Enabled());
    EXPECT_FALSE(rig.timer2->Enabled());
    EXPECT_FALSE(rig.timer3->Enabled());
    EXPECT_EQ(rig.timer1->Interval(), 0);
    EXPECT_EQ(rig.timer2->Interval(), 500);
    EXPECT_EQ(rig.timer3->Interval(), 50);
    EXPECT_EQ(v.events, (Lines{"Volume_Change", "Squelch_Change", "IfShift_Change", "WFM_Click", "Filter5_Click"}));
}

TEST(StartUp, ARefusedPortSettingIsSkipped) {
    struct RefusingLink : FakeLink {
        using FakeLink::FakeLink;
        void Configure(int, const std::string&, int) override { throw SerialError("refused"); }
    };
    Rig rig;
    RefusingLink link(rig.clock);
    FrontPanel panel(link, rig.view, *rig.timer1, *rig.timer2, *rig.timer3, rig.clock, 1);
    rig.view.Attach(panel);
    EXPECT_NO_THROW(panel.SetDefaults());
    EXPECT_EQ(rig.view.display, "81.300.000");
    EXPECT_EQ(rig.view.signal_caption, " ");
}

TEST(PowerOn, SendsItsCommandsInOrderAndListsThem) {
    Started rig;
    rig.panel.PowerOn();
    EXPECT_EQ(rig.link.lines, kSwitchOnCommands);
    std::string wire;
    for (const auto& line : kSwitchOnCommands) wire += line + "\r\n";
    EXPECT_EQ(rig.link.written, wire);
    EXPECT_EQ(Lines(rig.view.CodesOut().begin(), rig.view.CodesOut().end()), kSwitchOnCommands);
    EXPECT_EQ(rig.view.CodesIn().size(), kSwitchOnCommands.size()) << "one answer a command";
    EXPECT_EQ(rig.view.CodesIn().front(), AcknowledgementEntry("G000"));
    EXPECT_EQ(rig.view.OnOffLabel(), kGreen);
    EXPECT_TRUE(rig.timer2->Enabled());
    EXPECT_FALSE(rig.timer3->Enabled());
    EXPECT_FALSE(rig.timer1->Enabled());
    EXPECT_EQ(rig.timer1->Interval(), 0);
}

TEST(PowerOn, SecondRequestChangesNothing) {
    Started rig;
    rig.panel.PowerOn();
    const auto written = rig.link.written;
    const auto listed = rig.view.CodesOut();
    rig.panel.PowerOn();
    EXPECT_EQ(rig.link.written, written);
    EXPECT_EQ(rig.view.CodesOut(), listed);
    EXPECT_EQ(rig.link.opens, 1);
}

TEST(PowerOn, SendsTheWindowsSettingsNotTheDefaults) {
    Started rig;
    rig.view.SetScrollValue(ScrollBar::Volume, 10);
    rig.view.ClickCheck(CheckBox::NB);
    rig.view.SetOptionSelected(OptionButton::FM, true);
    EXPECT_EQ(rig.link.written, "") << "off: only the window changes";
    EXPECT_EQ(rig.view.frame_caption[0], "Volume 10");
    rig.panel.PowerOn();
    EXPECT_EQ(rig.link.lines[2], "J400A");
    EXPECT_EQ(rig.link.lines[8], "J4601");
    ASSERT_EQ(rig.link.lines.size(), kSwitchOnCommands.size());
    EXPECT_EQ(rig.link.lines.back(), "K00081300000050400");
}

TEST(PowerOn, OpenFailurePropagatesWithNothingSent) {
    Started rig;
    rig.link.open_error = "No such file or directory";
    EXPECT_THROW(rig.panel.PowerOn(), SerialError);
    EXPECT_EQ(rig.link.written, "");
    EXPECT_EQ(rig.view.OnOffLabel(), kRed);
    EXPECT_FALSE(rig.timer2->Enabled());
}

TEST(PowerOn, SwitchOffDuringTheSendsLeavesTheReceiverShownOff) {
    Started rig;
    // The third command's pause: H101 and G300 took 10 ms each.
    rig.clock.AtMs(25, [&] { rig.panel.PowerOff(); });
    rig.panel.PowerOn();
    EXPECT_FALSE(rig.link.IsOpen());
    EXPECT_EQ(rig.view.OnOffLabel(), kRed);
    EXPECT_FALSE(rig.timer2->Enabled());
    EXPECT_EQ(rig.link.lines, (Lines{"H101", "G300", "J4064", "H100"}));
    EXPECT_EQ(rig.link.closes, 1);
    // OFF can be followed by ON again.
    rig.panel.PowerOn();
    EXPECT_EQ(rig.view.OnOffLabel(), kGreen);
}

TEST(PowerOff, SendsH100ClosesAndResets) {
    Started rig;
    rig.panel.PowerOn();
    rig.clock.RunUntilMs(1200);  // a couple of signal polls draw the bar
    EXPECT_NE(rig.view.signal_caption, " ");
    rig.panel.PowerOff();
    EXPECT_EQ(rig.link.lines.back(), "H100");
    EXPECT_EQ(rig.view.CodesOut().back(), "H100");
    EXPECT_EQ(rig.view.CodesIn().back(), AcknowledgementEntry("G000"));
    EXPECT_FALSE(rig.link.IsOpen());
    EXPECT_EQ(rig.view.OnOffLabel(), kRed);
    EXPECT_EQ(rig.view.ScanLabel(), kRed);
    EXPECT_EQ(rig.view.signal_caption, " ");
    EXPECT_FALSE(rig.timer1->Enabled());
    EXPECT_FALSE(rig.timer2->Enabled());
    EXPECT_FALSE(rig.timer3->Enabled());
}

TEST(PowerOff, WhenOffDoesNothing) {
    Started rig;
    rig.view.SetIndicator(Indicator::ScanLabel, kGreen);  // to see it left alone
    rig.panel.PowerOff();
    EXPECT_EQ(rig.link.closes, 0);
    EXPECT_EQ(rig.view.ScanLabel(), kGreen);
    EXPECT_EQ(rig.view.signal_draws, 1);  // only start-up's
}

TEST(PowerOff, TwiceInARowDuringOneExchangeClosesOnce) {
    Started rig;
    rig.panel.PowerOn();
    const auto now_ms = static_cast<double>(rig.clock.NowUs()) / 1000.0;
    rig.clock.AtMs(now_ms + 5, [&] { rig.panel.PowerOff(); });
    rig.panel.PowerOff();
    EXPECT_EQ(rig.link.closes, 1);
    EXPECT_FALSE(rig.link.IsOpen());
}

TEST(Power, WhileClosedNothingIsListedWrittenOrRead) {
    Started rig;
    rig.panel.SendCommand("H101");
    rig.panel.ReadSignal();
    rig.panel.ScanStep();
    rig.panel.ToggleScan();
    rig.panel.TuneUp();
    rig.panel.SendVolume();
    EXPECT_TRUE(rig.view.CodesOut().empty());
    EXPECT_TRUE(rig.view.CodesIn().empty());
    EXPECT_EQ(rig.link.written, "");
    EXPECT_EQ(rig.link.reads, 0);
    EXPECT_EQ(rig.view.display, "81.400.000");
}

}  // namespace
}  // namespace velmo::testing
