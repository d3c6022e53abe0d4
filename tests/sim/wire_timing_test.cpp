// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Timing on the 9600-baud line: bytes cross at 960 a second each way, a
// command reaches the receiver with its last byte, the answer leaves after
// the latency. All in virtual time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/line_framer.h"
#include "sim/simulated_receiver.h"

namespace velmo::sim {
namespace {

using std::chrono::milliseconds;

// One byte time, 1/960 s, and n of them back to back, rounded up to whole
// microseconds: 1042, 6250, 20834.
Micros Bytes(std::int64_t n) { return Micros{(n * 1'000'000 + 959) / 960}; }

// A receiver that has been switched on and has said all it had to say by 1 s.
SimulatedReceiver OnReceiver(bool wire_timing = true) {
    ReceiverOptions options;
    options.wire_timing = wire_timing;
    SimulatedReceiver r(options);
    r.Write("H101\r\n", Micros{0});
    EXPECT_EQ(r.Read(Micros{1'000'000}), "G000\r\n");
    return r;
}

TEST(WireTiming, ByteTimesRoundUpWithoutDrift) {
    EXPECT_EQ(Bytes(1), Micros{1042});
    EXPECT_EQ(Bytes(6), Micros{6250});
    EXPECT_EQ(Bytes(20), Micros{20834});
    EXPECT_EQ(Wire::ArrivalOf(Micros{0}, 960), Micros{1'000'000});
    EXPECT_EQ(Wire::ArrivalOf(Micros{0}, 9600), Micros{10'000'000});  // no drift over a long run
}

TEST(WireTiming, TuningCommandAnswerArrivesByteByByte) {
    SimulatedReceiver r = OnReceiver();
    const Micros t0{2'000'000};
    r.Write("K00082500000060400\r\n", t0);  // 20 bytes
    const Micros answer_starts = t0 + Bytes(20) + milliseconds(3);
    const std::string answer = "G000\r\n";

    EXPECT_EQ(r.Read(answer_starts), "");
    std::string got;
    for (std::int64_t k = 1; k <= 6; ++k) {
        const Micros arrives = answer_starts + Bytes(k);
        got += r.Read(arrives - Micros{1});
        EXPECT_EQ(got, answer.substr(0, static_cast<std::size_t>(k - 1))) << "byte " << k << " early";
        got += r.Read(arrives);
        EXPECT_EQ(got, answer.substr(0, static_cast<std::size_t>(k))) << "byte " << k;
    }
    EXPECT_EQ(r.Read(answer_starts + milliseconds(100)), "") << "each byte is read once";
}

TEST(WireTiming, QueuedCommandsAndAnswersWaitForTheLine) {
    SimulatedReceiver r;
    // The second command is written while the first still crosses.
    r.Write("H101\r\n", Micros{0});
    r.Write("G300\r\n", Micros{3'000});
    // First reaches the receiver at 6250, second at 12500; the answers
    // would start at 9250 and 15500, and the first ends at 15500 exactly.
    EXPECT_EQ(r.Read(Micros{9'250} + Bytes(6) - Micros{1}), "G000\r");
    EXPECT_EQ(r.Read(Micros{15'500} + Bytes(5)), "\nG000\r");
    EXPECT_EQ(r.Read(Micros{15'500} + Bytes(6)), "\n");
}

TEST(WireTiming, AnswersQueueBehindEachOtherWhenLatencyIsShort) {
    ReceiverOptions options;
    options.latency = Micros{0};
    SimulatedReceiver r(options);
    r.Write("H101\r\nI1?\r\n", Micros{0});
    // The queries land 5 bytes after H101's; its 6-byte answer is still
    // crossing then, so the I1 answer follows it without a gap.
    const Micros first = Bytes(6);
    EXPECT_EQ(r.Read(first + Bytes(12) - Micros{1}).size(), 11u);
    EXPECT_EQ(r.Read(first + Bytes(12)).size(), 1u);
}

TEST(WireTiming, WithoutWireTimingOnlyTheLatencyRemains) {
    SimulatedReceiver r = OnReceiver(false);
    const Micros t0{2'000'000};
    r.Write("I0?\r\n", t0);
    EXPECT_EQ(r.Read(t0 + milliseconds(3) - Micros{1}), "");
    EXPECT_EQ(r.Read(t0 + milliseconds(3)), "I007\r\n");
}

TEST(WireTiming, LatencyCanBeChanged) {
    SimulatedReceiver r = OnReceiver(false);
    r.SetLatency(milliseconds(20));
    r.Write("G300\r\n", Micros{2'000'000});
    EXPECT_EQ(r.Read(Micros{2'019'999}), "");
    EXPECT_EQ(r.Read(Micros{2'020'000}), "G000\r\n");
}

TEST(WireTiming, NeverAnsweringReceiverStillObeys) {
    SimulatedReceiver r = OnReceiver(false);
    r.SetNeverAnswer(true);
    r.Write("J4701\r\n", Micros{2'000'000});
    EXPECT_EQ(r.Read(Micros{3'000'000}), "");
    EXPECT_TRUE(r.Model().State().On(Switch::Attenuator));
}

TEST(WireTiming, LineEndsDecideWhenTheCommandLands) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::int64_t, std::string>> writes;  // (µs, bytes)
        Micros lands;                                              // when the G300 reaches the receiver
    };
    const Micros t0{2'000'000};
    const std::vector<Case> cases = {
        {"CR LF", {{0, "G300\r\n"}}, Bytes(6)},
        {"lone LF", {{0, "G300\n"}}, Bytes(5)},
        // A lone CR waits one byte time for an LF that never comes.
        {"lone CR", {{0, "G300\r"}}, Bytes(5) + Bytes(1)},
        {"CR then LF in a later write", {{0, "G300\r"}, {5'000, "\n"}}, Bytes(6)},
        {"CR CR LF", {{0, "G300\r\r\n"}}, Bytes(6)},
        {"empty lines between", {{0, "\r\n\nG300\r\n\r\n"}}, Bytes(9)},
    };
    for (const Case& c : cases) {
        SimulatedReceiver r = OnReceiver();
        std::vector<Micros> landed;
        r.SetObserver([&](Micros at, SimulatedReceiver::Direction d, std::string_view text) {
            if (d == SimulatedReceiver::Direction::ToReceiver && text == "G300") landed.push_back(at);
        });
        for (const auto& [at, bytes] : c.writes) r.Write(bytes, t0 + Micros{at});
        std::string all = r.Read(t0 + milliseconds(100));
        EXPECT_EQ(landed, std::vector<Micros>{t0 + c.lands}) << c.name;
        EXPECT_EQ(all, "G000\r\n") << c.name;
    }
}

TEST(LineFramer, OverlongLinesAreCutNotGrown) {
    LineFramer framer(Micros{0});
    for (int i = 0; i < 10'000; ++i) ASSERT_FALSE(framer.Feed('J', Micros{0}));
    const auto line = framer.Feed('\n', Micros{0});
    ASSERT_TRUE(line);
    EXPECT_EQ(line->text.size(), LineFramer::kMaxLine);
}

TEST(SimulatedReceiver, NextDueTracksWhatIsInFlight) {
    SimulatedReceiver r;
    EXPECT_FALSE(r.NextDue());
    r.Write("H101\r\n", Micros{0});
    EXPECT_EQ(r.NextDue(), Bytes(1));
    r.Read(Bytes(6));
    EXPECT_EQ(r.NextDue(), Bytes(6) + milliseconds(3));
    r.Read(Bytes(6) + milliseconds(3));
    EXPECT_EQ(r.NextDue(), Bytes(6) + milliseconds(3) + Bytes(1));
    r.Read(Micros{1'000'000});
    EXPECT_FALSE(r.NextDue());
}

// What a real-time driver bounds: bytes still crossing either way, a line
// begun and answers waiting. When the host end goes away, what it sent
// still reaches the receiver at once, the rest is forgotten, and the next
// command is answered at once, not after the old backlog.
TEST(SimulatedReceiver, BacklogCountsWhatWaitsAndTheHostGoingAwayEndsIt) {
    SimulatedReceiver r = OnReceiver();
    const Micros t{1'000'000};
    EXPECT_EQ(r.Backlog(), 0u);
    r.Write("K00145500000060400\r\nJ4080\r\nJ41", t);
    EXPECT_EQ(r.Backlog(), 30u);
    r.AdvanceTo(t + Bytes(20) + milliseconds(3));  // the tuning command landed and was answered
    EXPECT_EQ(r.Model().State().frequency_hz, 145'500'000);
    r.Write(std::string(1000, 'x'), t + Bytes(20) + milliseconds(3));
    EXPECT_GT(r.Backlog(), 1000u);
    EXPECT_EQ(r.Model().State().volume, 100);  // still crossing

    r.HostGone(t + Bytes(21));
    EXPECT_EQ(r.Backlog(), 0u);
    EXPECT_FALSE(r.NextDue());
    EXPECT_EQ(r.Model().State().frequency_hz, 145'500'000);  // what it took before stays
    EXPECT_EQ(r.Model().State().volume, 0x80);               // what was still crossing arrived
    const Micros later = t + Bytes(40);
    EXPECT_EQ(r.Read(later), "") << "the answers to it are lost";
    r.Write("J4140\r\n", later);
    EXPECT_EQ(r.Read(later + Bytes(7) + milliseconds(3) + Bytes(6)), "G000\r\n");
    EXPECT_EQ(r.Model().State().squelch, 0x40);
}

}  // namespace
}  // namespace velmo::sim
