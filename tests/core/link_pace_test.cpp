// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The receiver across a slower link than a cable (ser2net and socat over a
// network, a Bluetooth adapter): answers come a round trip later. The
// scanner must still hold on every busy channel itself, as fast as the link
// allows, and the panel must come back to a cable's pace when the receiver
// falls silent. In virtual time, against the simulated receiver.
#include <gtest/gtest.h>

#include <cmath>

#include "fake_view.h"
#include "signal_reading.h"
#include "sim/scan_report.h"
#include "sim/signal_model.h"

namespace velmo::testing {
namespace {

using std::chrono::milliseconds;

// The scanner's ticks come every 50 ms and a tick falling due while one runs
// is dropped, so at round trip r a step takes the first multiple of 50 ms
// above r and the 40 ms that a step and its answers take on the wire.
double BestPace(int round_trip_ms) { return 20.0 / std::ceil((round_trip_ms + 40) / 50.0); }

struct LinkRig : Rig {
    explicit LinkRig(sim::ReceiverOptions options) : Rig(options), options_(std::move(options)) {
        simulated->Receiver().SetObserver(
            [this](sim::Micros at, sim::SimulatedReceiver::Direction direction, std::string_view text) {
                auto& seen = direction == sim::SimulatedReceiver::Direction::ToReceiver ? lines : answers;
                seen.push_back({at, std::string(text)});
            });
        panel.SetDefaults();
        panel.PowerOn();
        clock.Advance(milliseconds(2000));
    }
    double NowMs() const { return static_cast<double>(clock.NowUs()) / 1000.0; }
    // Scans up from where the panel stands until it tunes `until_hz`, or
    // `at_most` has passed.
    sim::ScanReport Scan(std::int64_t until_hz, sim::Micros at_most) {
        const std::size_t from = lines.size();
        const auto end = clock.Now() + at_most;
        panel.ToggleScan();
        while (clock.Now() < end && static_cast<std::int64_t>(std::llround(panel.Frequency * 1e6)) < until_hz) {
            clock.RunNext();
        }
        panel.ToggleScan();
        return sim::AnalyseScan({lines.begin() + static_cast<long>(from), lines.end()},
                                sim::SignalModel(options_.band, options_.seed), sim::ScanSettings{});
    }
    std::vector<sim::ObservedLine> lines;    // what the receiver took in
    std::vector<sim::ObservedLine> answers;  // and what it answered

private:
    sim::ReceiverOptions options_;
};

struct Link {
    int round_trip_ms;
    int jitter_ms;
};

std::string Name(const Link& link) {
    return std::to_string(link.round_trip_ms) + " ms" +
           (link.jitter_ms ? " +" + std::to_string(link.jitter_ms) + " ms jitter" : std::string());
}

sim::ReceiverOptions Over(const Link& link) {
    sim::ReceiverOptions options;
    options.latency = milliseconds(link.round_trip_ms);
    options.jitter = milliseconds(link.jitter_ms);
    return options;
}

// From the first station above 81.3 MHz to past 90.5 MHz on the default
// band: steady stations, one on the air now and then, one weak.
TEST(LinkPace, EveryBusyChannelHeldOnItselfAsFastAsTheLinkAllows) {
    const Link links[] = {{0, 0},    {3, 0},   {20, 0},  {50, 0},   {100, 0},  {250, 0},
                          {1000, 0}, {20, 20}, {50, 40}, {100, 80}, {250, 200}};
    for (const auto& link : links) {
        LinkRig rig(Over(link));
        const auto report = rig.Scan(90'600'000, std::chrono::minutes(5));
        const std::string name = Name(link);
        RecordProperty("steps_per_s_" + std::to_string(link.round_trip_ms), std::to_string(report.steps_per_second));
        ASSERT_GE(report.stations, 3) << name;
        EXPECT_EQ(report.held, report.stations) << name;
        EXPECT_EQ(report.held_late, 0) << name;
        EXPECT_EQ(report.passed, 0) << name;
        // Jitter makes the round trip anything up to its longest.
        EXPECT_GE(report.steps_per_second, 0.9 * BestPace(link.round_trip_ms + link.jitter_ms)) << name;
        EXPECT_LE(report.steps_per_second, BestPace(link.round_trip_ms) + 0.05) << name;
    }
}

// The bar shows the answer to its own poll, on every link.
TEST(LinkPace, TheBarShowsEachPollsOwnAnswer) {
    for (const int round_trip_ms : {3, 100, 250}) {
        sim::ReceiverOptions options = Over({round_trip_ms, 0});
        LinkRig rig(options);
        rig.timer2->SetEnabled(false);
        // 81.3 MHz carries a strong station, 81.5 MHz nothing.
        for (const double mhz : {81.3, 81.5, 81.3, 81.5}) {
            rig.panel.Frequency = mhz;
            rig.panel.SendFrequency();
            rig.clock.Advance(milliseconds(round_trip_ms + 100));
            rig.panel.ReadSignal();
            ASSERT_FALSE(rig.answers.empty());
            const std::string& own = rig.answers.back().text;
            ASSERT_TRUE(own.starts_with("I1")) << own;
            EXPECT_EQ(rig.panel.Signal, CalibratedBar(std::stoi(own.substr(2), nullptr, 16)))
                << round_trip_ms << " ms at " << mhz << " MHz";
        }
    }
}

// A receiver that answers nothing keeps the pace it has on a cable, and
// one that falls silent mid-scan is back at that pace within two seconds,
// however slow its link had been.
TEST(LinkPace, AReceiverFallenSilentIsBackAtTheCablesPaceWithinTwoSeconds) {
    for (const int round_trip_ms : {3, 250, 1000}) {
        LinkRig rig(Over({round_trip_ms, 0}));
        rig.timer2->SetEnabled(false);
        rig.panel.Frequency = 100.0;  // nothing on the air up here
        rig.panel.ToggleScan();
        rig.clock.Advance(milliseconds(3000));
        rig.simulated->SetNeverAnswer(true);
        const auto silent_from = rig.clock.Now();
        rig.clock.Advance(milliseconds(2000));
        const auto queries = [&] {
            return std::count_if(rig.lines.begin(), rig.lines.end(), [](const auto& l) { return l.text == "I0?"; });
        };
        const auto before = queries();
        rig.clock.Advance(milliseconds(2000));
        const auto steps = queries() - before;
        EXPECT_GE(steps, 20) << round_trip_ms << " ms: at least 10 steps a second from 2 s after it fell silent";
        EXPECT_GT(rig.clock.Now(), silent_from);
    }
}

}  // namespace
}  // namespace velmo::testing
