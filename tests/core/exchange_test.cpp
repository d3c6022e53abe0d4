// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <functional>

#include "core_rigs.h"
#include "reply_list.h"

namespace velmo::testing {
namespace {

using Entries = std::deque<std::string>;

using On = OnRig;

TEST(Pause, SetsTheIntervalAndLeavesTimer1DisabledAtZero) {
    const std::pair<double, int> cases[] = {{0.01, 10}, {6, 6000}, {0.0125, 12}, {0.0135, 14}, {0.0005, 0}};
    for (const auto& [seconds, interval] : cases) {
        Rig rig;
        rig.panel.SetDefaults();
        int seen = -1;
        rig.clock.At(rig.clock.NowUs(), [&] { seen = rig.timer1->Interval(); });
        const auto start = rig.clock.NowUs();
        rig.panel.Pause(seconds);
        if (interval > 0) {
            EXPECT_EQ(seen, interval) << seconds;
        }
        EXPECT_EQ(rig.clock.NowUs() - start, std::int64_t{interval} * 1000) << seconds;
        EXPECT_FALSE(rig.timer1->Enabled());
        EXPECT_EQ(rig.timer1->Interval(), 0);
    }
}

TEST(Pause, NestedPausesEndTogetherAtTheFirstTick) {
    Rig rig;
    rig.panel.SetDefaults();
    std::int64_t inner_end = -1;
    rig.clock.AtMs(1000, [&] {
        rig.panel.Pause(0.01);
        inner_end = rig.clock.NowUs();
    });
    rig.panel.Pause(6);
    EXPECT_EQ(inner_end, 1'010'000);
    EXPECT_EQ(rig.clock.NowUs(), 1'010'000) << "the 6 s pause ended with the one started inside it";
    EXPECT_FALSE(rig.timer1->Enabled());
    EXPECT_EQ(rig.timer1->Interval(), 0);
}

TEST(SendCommand, ListsWritesPausesAndReads) {
    On rig;
    const auto start = rig.clock.NowUs();
    rig.panel.SendCommand("J4064");
    EXPECT_EQ(rig.link.lines, std::vector<std::string>{"J4064"});
    EXPECT_EQ(rig.view.CodesOut(), Entries{"J4064"});
    EXPECT_EQ(rig.view.CodesIn(), Entries{AcknowledgementEntry("G000")});
    EXPECT_EQ(rig.view.top_index[0], 0);
    EXPECT_EQ(rig.clock.NowUs() - start, 10'000);
}

TEST(SendCommand, ACommandFromAnEventDuringThePauseIsListedBeforeTheFirstReply) {
    On rig;
    rig.link.reply_delay_us = 4000;
    const int reads_before = rig.link.reads;
    rig.clock.AtMs(rig.NowMs() + 5, [&] { rig.panel.SendCommand("J4700"); });
    rig.panel.SendCommand("J4701");
    EXPECT_EQ(rig.view.CodesOut(), (Entries{"J4701", "J4700"}));
    // The inner read took both replies; the outer found nothing.
    EXPECT_EQ(rig.view.CodesIn(), (Entries{AcknowledgementEntry("G000"), AcknowledgementEntry("G000")}));
    EXPECT_EQ(rig.link.reads, reads_before + 2);
}

TEST(SendCommand, AReplyArrivingAfterThePauseIsReadByTheNextExchange) {
    On rig;
    rig.link.reply_delay_us = 15'000;
    rig.panel.SendCommand("J4701");
    EXPECT_TRUE(rig.view.CodesIn().empty());
    rig.link.responder = [](const std::string&) { return std::string("G001\r\n"); };
    rig.link.reply_delay_us = 8000;  // lands after the first reply
    rig.panel.SendCommand("J4700");
    EXPECT_EQ(rig.view.CodesIn(), (Entries{AcknowledgementEntry("G000"), AcknowledgementEntry("G001")}));
}

TEST(SendCommand, SwitchOffDuringThePauseMeansNothingIsRead) {
    On rig;
    const int reads_before = rig.link.reads;
    rig.clock.AtMs(rig.NowMs() + 3, [&] { rig.panel.PowerOff(); });
    rig.panel.SendCommand("J4701");
    EXPECT_EQ(rig.view.CodesOut(), (Entries{"J4701", "H100"}));
    // Only PowerOff's own exchange read; its read took both replies.
    EXPECT_EQ(rig.link.reads, reads_before + 1);
    EXPECT_EQ(rig.view.CodesIn(), (Entries{AcknowledgementEntry("G000"), AcknowledgementEntry("G000")}));
    EXPECT_FALSE(rig.timer1->Enabled());
    EXPECT_EQ(rig.timer1->Interval(), 0);
}

TEST(SendCommand, AnExchangeDuringTheSixSecondHoldEndsTheHold) {
    On rig;
    const double start = rig.NowMs();
    rig.clock.AtMs(start + 2000, [&] { rig.view.SetScrollValue(ScrollBar::Volume, 50); });
    rig.panel.Pause(6);
    EXPECT_EQ(rig.NowMs(), start + 2010);
    EXPECT_EQ(rig.view.CodesOut(), Entries{"J4032"});
}

TEST(SendCommand, AtLineSpeedAReplyCaughtMidLineIsFinishedBeforeItIsListed) {
    On rig;
    rig.link.wire_timing = true;
    rig.link.reply_delay_us = 2000;
    // 6 bytes out (6.25 ms) and 2 ms: the reply's first byte is back at
    // 9.3 ms, its last at 14.5 ms.
    rig.panel.SendCommand("H101");
    EXPECT_EQ(rig.view.CodesIn(), Entries{AcknowledgementEntry("G000")});
    // A 20-byte command: nothing is back after 10 ms, so nothing is listed
    // yet, and the next exchange reads the reply whole.
    rig.panel.SendCommand("K00081300000060400");
    EXPECT_EQ(rig.view.CodesIn(), Entries{AcknowledgementEntry("G000")});
    rig.clock.RunUntilMs(rig.NowMs() + 40);
    rig.panel.SendCommand("J4064");
    EXPECT_EQ(rig.view.CodesIn(), (Entries{AcknowledgementEntry("G000"), AcknowledgementEntry("G000")}));
}

TEST(SendCommand, AReplyThatNeverEndsItsLineCostsAtMostATenthOfASecond) {
    On rig;
    // Still sending after half a second, with no line end.
    rig.link.wire_timing = true;
    rig.link.responder = [](const std::string&) { return std::string(480, 'x'); };
    const auto start = rig.clock.NowUs();
    rig.panel.SendCommand("H101");
    EXPECT_EQ(rig.clock.NowUs() - start, 110'000);
    ASSERT_FALSE(rig.view.CodesIn().empty());
    EXPECT_EQ(rig.view.CodesIn().front(), "xxxx");
}

// Runs `body` on a thread of its own with `bytes` of stack: each press that
// runs inside another's pause takes stack below it, thousands of them more
// than a test's thread has, above all under the sanitizers.
void OnLargeStack(std::size_t bytes, const std::function<void()>& body) {
    pthread_attr_t attributes;
    ASSERT_EQ(pthread_attr_init(&attributes), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, bytes), 0);
    pthread_t thread;
    const auto run = [](void* work) -> void* {
        (*static_cast<const std::function<void()>*>(work))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, run, const_cast<std::function<void()>*>(&body)), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

// A device that trickles bytes without ever ending a line, while Page Up
// auto-repeats at 25 a second: an exchange waits up to 0.1 s for the line to
// end, so each press arrives during the pause of the one before and runs
// inside it. All of them are carried out, in order, and the pauses all end.
TEST(SendCommand, SixThousandAutoRepeatedKeysWhileADeviceTrickles) {
    On rig(true);
    rig.link.responder = nullptr;
    rig.link.wire_timing = true;
    // A byte every 1/960 s for longer than the whole run.
    rig.link.Deliver(std::string(1'200'000, 'x'), rig.clock.NowUs());

    constexpr int kPresses = 6000;
    int pressed = 0;
    int handled = 0;
    int depth = 0;
    int deepest = 0;
    std::function<void()> press = [&] {
        if (++pressed < kPresses) rig.clock.AtMs(rig.NowMs() + 40, press);
        deepest = std::max(deepest, ++depth);
        rig.panel.HandleKey(33);
        --depth;
        ++handled;
    };
    const double start = rig.NowMs();
    rig.clock.AtMs(start + 40, press);
    OnLargeStack(std::size_t{256} << 20, [&] {
        while (handled < kPresses && rig.NowMs() < start + 2'000'000) rig.clock.RunNext();
    });

    ASSERT_EQ(handled, kPresses);
    EXPECT_GT(deepest, kPresses / 2) << "the presses nested";
    // An exchange whose pause ended with one nested in it finds the trickle
    // read already and stops; the last press, with none nested in it, waits
    // its 0.1 s.
    EXPECT_GE(rig.NowMs() - start, kPresses * 40.0 + 100.0);
    EXPECT_EQ(rig.view.display, "681.300.000");
    EXPECT_EQ(std::count_if(rig.link.lines.begin(), rig.link.lines.end(),
                            [](const std::string& line) { return line.starts_with("K0"); }),
              kPresses);
    EXPECT_EQ(rig.view.CodesOut().back(), "K00681300000060400");
    EXPECT_FALSE(rig.timer1->Enabled());
    EXPECT_EQ(rig.timer1->Interval(), 0);
}

// The polling queries wait for their answer over several reads. A switch-off
// handled during that wait ends it, and what was read before is listed.
TEST(AnswerWait, ASwitchOffDuringItListsWhatWasReadAndStops) {
    struct Case {
        const char* query;
        std::function<void(FrontPanel&)> run;
        Entries listed;
    };
    const Case cases[] = {
        {"I1?", [](FrontPanel& p) { p.ReadSignal(); }, {AcknowledgementEntry("G000"), SignalEntry("I1")}},
        {"I0?",
         [](FrontPanel& p) { p.ScanStep(); },
         {AcknowledgementEntry("G000"), AcknowledgementEntry("G000"), SquelchEntry("I0")}},
    };
    for (const auto& c : cases) {
        On rig;
        rig.panel.Signal = 20;
        // The answer never completes; the switch-off comes after its first
        // read, during the next pause.
        rig.link.responder = [&rig, query = std::string(c.query)](const std::string& line) {
            if (line != query) return std::string("G000\r\n");
            rig.clock.AtMs(rig.NowMs() + 15, [&rig] { rig.panel.PowerOff(); });
            return query.substr(0, 2);
        };
        c.run(rig.panel);
        EXPECT_EQ(rig.view.CodesIn(), c.listed) << c.query;
        EXPECT_FALSE(rig.link.IsOpen());
        EXPECT_EQ(rig.link.lines.back(), "H100") << c.query << ": nothing was written after the switch-off";
        EXPECT_EQ(rig.panel.Signal, 20) << c.query;
        EXPECT_EQ(rig.view.signal_caption, " ") << c.query << ": the switch-off's empty bar stays";
    }
}

TEST(CodeLists, KeepTheNewest5000AndTheNewestInView) {
    On rig;
    for (int i = 0; i < 100'000; ++i) {
        rig.panel.ShowReplies("G" + std::to_string(i % 1000) + "\r\n");
        rig.panel.SendCommand("J40" + std::to_string(i % 100));
    }
    for (const auto list : {CodeList::CodesOut, CodeList::CodesIn}) {
        EXPECT_EQ(rig.view.ListCount(list), FrontPanel::kMaxListEntries);
        EXPECT_EQ(rig.view.top_index[static_cast<int>(list)], FrontPanel::kMaxListEntries - 1);
    }
    EXPECT_EQ(rig.view.CodesOut().back(), "J4099");
    EXPECT_EQ(rig.view.CodesOut().front(), "J400");  // command 95,000
    EXPECT_EQ(rig.view.CodesIn().back(), AcknowledgementEntry("G000"));
}

}  // namespace
}  // namespace velmo::testing
