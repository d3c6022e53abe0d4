// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A receiver may end its replies in CR LF, CR, LF or nothing at all. Each
// ending must cost about what CR LF costs and list the same codes.

#include <gtest/gtest.h>

#include <functional>

#include "fake_view.h"
#include "reply_ending.h"
#include "reply_list.h"
#include "scripted_receiver.h"
#include "signal_reading.h"
#include "switch_on_commands.h"

namespace velmo::testing {
namespace {

using Entries = std::deque<std::string>;

struct LineEnding {
    const char* name;
    const char* text;
};
constexpr LineEnding kLineEndings[] = {{"crlf", "\r\n"}, {"cr", "\r"}, {"lf", "\n"}, {"none", ""}};

// The panel at the line's own pace, against a receiver that answers after
// 3 ms as the simulated one does, started with the defaults.
struct EndingRig : Rig {
    explicit EndingRig(const std::string& line_end, const std::string& squelch = "04") {
        ScriptedReceiver receiver;
        receiver.line_end = line_end;
        receiver.squelch = squelch;
        link.responder = receiver;
        link.wire_timing = true;
        link.reply_delay_us = 3000;
        panel.SetDefaults();
    }
    // Virtual milliseconds that `operation` takes.
    double Ms(const std::function<void()>& operation) {
        const auto start = clock.NowUs();
        operation();
        return static_cast<double>(clock.NowUs() - start) / 1000.0;
    }
    // Lets every reply still on the line arrive, with the poll held off.
    void Settle() {
        timer2->SetEnabled(false);
        clock.Advance(sim::Micros{200'000});
    }
};

// What a user sees after switching on, one step up, one signal poll and two
// volume changes, and how long the first two took.
struct Session {
    double switch_on_ms = 0;
    double step_ms = 0;
    Entries codes_out;
    Entries codes_in;
    std::string bar;
};

Session RunSession(const std::string& line_end) {
    EndingRig rig(line_end);
    Session session;
    session.switch_on_ms = rig.Ms([&] { rig.panel.PowerOn(); });
    rig.Settle();
    session.step_ms = rig.Ms([&] { rig.panel.TuneUp(); });
    rig.Settle();
    rig.panel.ReadSignal();
    rig.Settle();
    rig.view.SetScrollValue(ScrollBar::Volume, 90);
    rig.Settle();
    rig.view.SetScrollValue(ScrollBar::Volume, 80);
    // What a later exchange would read.
    rig.Settle();
    rig.panel.ShowReplies(rig.link.ReadAll());
    session.codes_out = rig.view.CodesOut();
    session.codes_in = rig.view.CodesIn();
    session.bar = rig.view.signal_caption;
    return session;
}

TEST(ReplyEnding, AWholeReplyAndWhatATextShows) {
    using enum ReplyEnding;
    struct Case {
        const char* text;
        ReplyEnding known;
        bool whole;
        bool fell_quiet;
        ReplyEnding learnt;
    };
    const Case cases[] = {
        {"", Lf, false, true, Lf},
        {"G000\r\n", Lf, true, false, Lf},
        {"G000\n", Nothing, true, false, Lf},
        {"G000\r", Lf, false, false, Lf},  // its LF may be on the way
        {"G000\r", Lf, false, true, CrAlone},
        {"G000\rG0", Lf, false, false, CrAlone},
        {"G000\r", CrAlone, true, false, CrAlone},
        {"G000\rG000\r\n", CrAlone, true, false, Lf},
        {"G000", Lf, false, false, Lf},
        {"G000", Lf, false, true, Nothing},
        {"G0", Lf, false, true, Nothing},
        {"G000", Nothing, true, false, Nothing},
        {"G000G0", Nothing, false, false, Nothing},
        {"G000G000", Nothing, true, false, Nothing},
        {"G0000", Nothing, false, true, Nothing},
        {"G000", CrAlone, false, true, Nothing},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EndsWithWholeReply(c.text, c.known), c.whole) << c.text;
        EXPECT_EQ(LearnReplyEnding(c.text, c.fell_quiet, c.known), c.learnt) << c.text;
    }
}

TEST(LineEndings, EveryEndingIsQuickAndListsWhatCrLfLists) {
    const Session reference = RunSession("\r\n");
    // The switch-on's commands, the step and two volumes; an answer to each
    // and the poll's.
    ASSERT_EQ(reference.codes_out.size(), kSwitchOnCommands.size() + 3);
    ASSERT_EQ(reference.codes_in.size(), kSwitchOnCommands.size() + 4);
    EXPECT_EQ(reference.codes_in.back(), AcknowledgementEntry("G000"));
    EXPECT_EQ(std::count(reference.codes_in.begin(), reference.codes_in.end(), SignalEntry("I147")), 1);
    for (const auto& ending : kLineEndings) {
        const Session session = RunSession(ending.text);
        // The figures, for --gtest_output=xml.
        RecordProperty(std::string("switch_on_ms_") + ending.name, std::to_string(session.switch_on_ms));
        RecordProperty(std::string("step_ms_") + ending.name, std::to_string(session.step_ms));
        EXPECT_LE(session.switch_on_ms, 200) << ending.name;
        EXPECT_LE(session.step_ms, 40) << ending.name;
        EXPECT_EQ(session.codes_out, reference.codes_out) << ending.name;
        EXPECT_EQ(session.codes_in, reference.codes_in) << ending.name;
        EXPECT_EQ(session.bar, reference.bar) << ending.name;
    }
}

TEST(LineEndings, TheScannerKeepsItsPaceAndHoldsOnABusyChannel) {
    for (const auto& ending : kLineEndings) {
        EndingRig rig(ending.text);
        rig.panel.PowerOn();
        rig.Settle();
        rig.panel.ToggleScan();
        rig.clock.Advance(sim::Micros{5'000'000});
        rig.panel.ToggleScan();
        const auto steps = std::count(rig.link.lines.begin(), rig.link.lines.end(), "I0?");
        RecordProperty(std::string("scan_steps_in_5_s_") + ending.name, static_cast<int>(steps));
        EXPECT_GE(steps, 98) << ending.name << ": about 20 steps a second";
        EXPECT_EQ(std::count(rig.link.lines.begin(), rig.link.lines.end(), "I1?"), 0) << ending.name;

        EndingRig busy(ending.text, "07");
        busy.panel.PowerOn();
        busy.Settle();
        busy.panel.ScanStep();
        ASSERT_GE(busy.link.lines.size(), 2u) << ending.name;
        EXPECT_EQ(busy.link.lines.back(), "I1?") << ending.name << ": the open squelch was seen";
        EXPECT_EQ(busy.view.signal_caption, SignalBarText(CalibratedBar(0x47))) << ending.name;
    }
}

}  // namespace
}  // namespace velmo::testing
