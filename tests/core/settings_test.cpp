// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "core_rigs.h"

namespace velmo::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(Levels, CommandsAndCaptionsForEachScrollBar) {
    struct Row {
        ScrollBar bar;
        const char* prefix;
        const char* word;
    };
    const Row rows[] = {{ScrollBar::Volume, "J40", "Volume"},
                        {ScrollBar::Squelch, "J41", "Squelch"},
                        {ScrollBar::IfShift, "J43", "IF Shift"}};
    // Each level differs from the one before, so each is a real change.
    const std::pair<int, const char*> levels[] = {{0, "00"},   {5, "05"},   {7, "07"},   {10, "0A"}, {80, "50"},
                                                  {100, "64"}, {128, "80"}, {171, "AB"}, {255, "FF"}};
    for (const auto& row : rows) {
        OnRig rig;
        for (const auto& [level, hex] : levels) {
            rig.link.lines.clear();
            rig.view.SetScrollValue(row.bar, level);
            EXPECT_EQ(rig.link.lines, Lines{std::string(row.prefix) + hex}) << row.word << " " << level;
            EXPECT_EQ(rig.view.frame_caption[static_cast<int>(row.bar)],
                      std::string(row.word) + " " + std::to_string(level));
        }
    }
}

TEST(Levels, WhileOffOnlyTheCaptionChanges) {
    OffRig rig;
    rig.view.SetScrollValue(ScrollBar::Squelch, 7);
    rig.view.SetScrollValue(ScrollBar::IfShift, 255);
    EXPECT_EQ(rig.view.frame_caption[1], "Squelch 7");
    EXPECT_EQ(rig.view.frame_caption[2], "IF Shift 255");
    EXPECT_TRUE(rig.view.CodesOut().empty());
    EXPECT_EQ(rig.link.written, "");
}

TEST(Levels, CaptionEndsOnTheLatestValueAfterAChangeDuringThePause) {
    OnRig rig;
    rig.clock.AtMs(rig.NowMs() + 4, [&] { rig.view.SetScrollValue(ScrollBar::Volume, 20); });
    rig.view.SetScrollValue(ScrollBar::Volume, 10);
    EXPECT_EQ(rig.Sent(), (Lines{"J400A", "J4014"}));
    EXPECT_EQ(rig.view.frame_caption[0], "Volume 20");
    EXPECT_EQ(rig.view.ScrollValue(ScrollBar::Volume), 20);
}

TEST(Switches, OffAndOnCommandsGrayedCountsAsOn) {
    struct Row {
        CheckBox box;
        const char* off;
        const char* on;
    };
    const Row rows[] = {{CheckBox::AFC, "J5000", "J5001"},
                        {CheckBox::AGC, "J4500", "J4501"},
                        {CheckBox::ATT, "J4700", "J4701"},
                        {CheckBox::NB, "J4600", "J4601"}};
    for (const auto& row : rows) {
        OnRig rig;
        rig.view.SetCheckState(row.box, kChecked);
        rig.view.SetCheckState(row.box, kUnchecked);
        rig.view.SetCheckState(row.box, kGrayed);
        EXPECT_EQ(rig.Sent(), (Lines{row.on, row.off, row.on}));
    }
}

// A level bar or a switch added without an operation named for it calls
// its family's, which sends what the named ones send.
TEST(Switches, TheFamilysOperationSendsAsTheNamedOne) {
    OnRig rig;
    rig.view.SetCheckState(CheckBox::ATT, kChecked);
    rig.link.lines.clear();
    rig.panel.SendSwitch<CheckBox::ATT>();
    rig.panel.SendAtt();
    rig.panel.SendLevel<ScrollBar::Squelch>();
    rig.panel.SendSquelch();
    EXPECT_EQ(rig.Sent(), (Lines{"J4701", "J4701", "J4180", "J4180"}));
}

TEST(Switches, TwoQuickClicksOnNb) {
    OnRig rig;
    rig.clock.AtMs(rig.NowMs() + 3, [&] { rig.view.ClickCheck(CheckBox::NB); });
    rig.view.ClickCheck(CheckBox::NB);
    EXPECT_EQ(rig.Sent(), (Lines{"J4601", "J4600"}));
    EXPECT_EQ(rig.view.CheckState(CheckBox::NB), kUnchecked);
}

TEST(ModeAndFilter, EveryCombinationIsSentWithBothCodes) {
    const std::pair<OptionButton, const char*> modes[] = {{OptionButton::AM, "02"},  {OptionButton::FM, "05"},
                                                          {OptionButton::WFM, "06"}, {OptionButton::USB, "01"},
                                                          {OptionButton::LSB, "00"}, {OptionButton::CW, "03"}};
    const std::pair<OptionButton, const char*> filters[] = {{OptionButton::Filter1, "00"},
                                                            {OptionButton::Filter2, "01"},
                                                            {OptionButton::Filter3, "02"},
                                                            {OptionButton::Filter4, "03"},
                                                            {OptionButton::Filter5, "04"}};
    OnRig rig;
    for (const auto& [mode, mode_code] : modes) {
        for (const auto& [filter, filter_code] : filters) {
            rig.link.lines.clear();
            rig.view.SetOptionSelected(mode, true);
            rig.view.SetOptionSelected(filter, true);
            const std::string expected = std::string("K00081300000") + mode_code + filter_code + "00";
            ASSERT_FALSE(rig.link.lines.empty());
            EXPECT_EQ(rig.link.lines.back(), expected);
            EXPECT_EQ(rig.panel.ModeSetting, mode_code);
            EXPECT_EQ(rig.panel.FilterSetting, filter_code);
        }
    }
}

TEST(ModeAndFilter, WorkedExamples) {
    OnRig rig;
    rig.view.SetOptionSelected(OptionButton::FM, true);
    EXPECT_EQ(rig.Sent(), Lines{"K00081300000050400"});

    rig.link.lines.clear();
    rig.panel.Frequency = 7.1;
    rig.view.SetOptionSelected(OptionButton::USB, true);
    rig.view.SetOptionSelected(OptionButton::Filter1, true);
    EXPECT_EQ(rig.Sent().back(), "K00007100000010000");
}

TEST(ModeAndFilter, FirstSelectedInTableOrderDecidesAndNoneKeepsTheCode) {
    OnRig rig;
    // Not possible through the toolkit's groups, but the procedure must not
    // care which button raised the event: it reads the group in order.
    rig.view.SetOptionSelected(OptionButton::CW, true);
    rig.view.SetOptionSelected(OptionButton::CW, false);
    rig.link.lines.clear();
    rig.panel.SelectMode();
    EXPECT_EQ(rig.panel.ModeSetting, "03") << "nothing selected keeps the old code";
    EXPECT_EQ(rig.Sent(), Lines{"K00081300000030400"}) << "and still retunes";
}

TEST(ModeAndFilter, WhileOffTheCodeAndDisplayChangeOnly) {
    OffRig rig;
    rig.panel.Frequency = 145.5125;
    rig.view.SetOptionSelected(OptionButton::AM, true);
    EXPECT_EQ(rig.panel.ModeSetting, "02");
    EXPECT_EQ(rig.view.display, "145.512.500");
    EXPECT_EQ(rig.link.written, "");
}

TEST(SendFrequency, RepeatsAreNotSuppressedAndTheDisplayComesFirst) {
    OnRig rig;
    std::string display_during_pause;
    rig.panel.Frequency = 145.5125;
    rig.clock.AtMs(rig.NowMs() + 5, [&] { display_during_pause = rig.view.display; });
    rig.panel.SendFrequency();
    rig.panel.SendFrequency();
    EXPECT_EQ(display_during_pause, "145.512.500");
    EXPECT_EQ(rig.Sent(), (Lines{"K00145512500060400", "K00145512500060400"}));
}

}  // namespace
}  // namespace velmo::testing
