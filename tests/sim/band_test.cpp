// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The default band: levels, noise, filters, schedules, and that a scanner
// stepping 100 kHz from the start-up frequency behaves predictably on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "sim/receiver_model.h"
#include "sim/signal_model.h"

namespace velmo::sim {
namespace {

constexpr std::int64_t kStep = 100'000;
constexpr std::int64_t kWide = 230'000;

// Steps up from `from_hz` as the front panel's scanner does (one step per
// 50 ms, squelch 128, 230 kHz filter) and returns the frequencies where the
// squelch opened.
std::vector<std::int64_t> ScanHolds(std::int64_t from_hz, std::int64_t to_hz, Micros start, std::uint64_t seed = 1) {
    ReceiverModel m(SignalModel(Band::Default(), seed));
    m.Answer("H101", start);
    m.Answer("J4180", start);
    std::vector<std::int64_t> holds;
    Micros t = start;
    for (std::int64_t hz = from_hz + kStep; hz <= to_hz; hz += kStep) {
        char tune[32];
        std::snprintf(tune, sizeof tune, "K0%010lld060400", static_cast<long long>(hz));
        EXPECT_EQ(m.Answer(tune, t), "G000\r\n");
        if (m.Answer("I0?", t) == "I007\r\n") holds.push_back(hz);
        t += Micros{50'000};
    }
    return holds;
}

TEST(DefaultBand, ScanFromStartUpHoldsFirstAt82_5MHz) {
    for (Micros start : {Micros{0}, Micros{7'000'000}, Micros{123'456'789}}) {
        const auto holds = ScanHolds(81'300'000, 86'000'000, start);
        ASSERT_FALSE(holds.empty());
        EXPECT_EQ(holds.front(), 82'500'000);
    }
}

TEST(DefaultBand, ScanHoldsOnlyOnStationCentres) {
    const Band band = Band::Default();
    for (Micros start : {Micros{0}, Micros{50'000'000}}) {
        const auto holds = ScanHolds(75'000'000, 150'000'000, start);
        for (std::int64_t hz : holds) {
            EXPECT_EQ(band.StationsIn(hz, hz).size(), 1u) << "opened off a station centre at " << hz;
        }
        // Every steady strong broadcast station is found.
        for (const Station& s : band.StationsIn(76'000'000, 108'000'000)) {
            if (s.period.count() != 0 || s.strength <= 128) continue;
            EXPECT_NE(std::find(holds.begin(), holds.end(), s.centre_hz), holds.end()) << s.name;
        }
        // The weak one is passed by.
        EXPECT_EQ(std::find(holds.begin(), holds.end(), 90'500'000), holds.end());
    }
}

TEST(DefaultBand, ThereIsASignalAtTheStartUpFrequency) {
    const SignalModel signal(Band::Default(), 1);
    EXPECT_GT(signal.Level(81'300'000, kWide, false, Micros{0}), 128);
    ASSERT_EQ(Band::Default().StationsIn(81'300'000, 81'300'000).size(), 1u);
}

TEST(DefaultBand, NoiseStaysInItsRangeAndBelowSquelch128) {
    const SignalModel signal(Band(), 42);
    for (std::int64_t hz = 100'000; hz <= 1'300'000'000; hz += 9'876'543) {
        for (std::int64_t slot = 0; slot < 20; ++slot) {
            const int level = signal.Level(hz, kWide, false, slot * SignalModel::kNoiseSlot);
            ASSERT_GE(level, SignalModel::kNoiseMin);
            ASSERT_LE(level, SignalModel::kNoiseMax);
        }
    }
    static_assert(SignalModel::kNoiseMax < 128);
}

TEST(SignalModel, DeterministicForASeedWhateverTheOrderOfCalls) {
    const SignalModel a(Band::Default(), 7);
    const SignalModel b(Band::Default(), 7);
    const SignalModel other(Band::Default(), 8);
    // b is asked in reverse order and twice; the answers must not move.
    std::vector<int> forward, backward;
    bool differs = false;
    for (int i = 0; i < 50; ++i) {
        forward.push_back(a.Level(100'000'000 + i * 25'000, kWide, false, Micros{i * 37'000}));
        differs |= other.Level(100'000'000 + i * 25'000, kWide, false, Micros{i * 37'000}) != forward.back();
    }
    for (int i = 49; i >= 0; --i) {
        b.Level(100'000'000 + i * 25'000, kWide, false, Micros{i * 37'000});
        backward.insert(backward.begin(), b.Level(100'000'000 + i * 25'000, kWide, false, Micros{i * 37'000}));
    }
    EXPECT_EQ(forward, backward);
    EXPECT_TRUE(differs) << "another seed should give other noise";
    // Within one noise slot a reading holds still.
    EXPECT_EQ(a.Level(123'000'000, kWide, false, Micros{200'000}), a.Level(123'000'000, kWide, false, Micros{299'999}));
}

// The station part of a reading, without the noise.
int Above(const SignalModel& s, std::int64_t hz, std::int64_t filter_hz, Micros t, bool att = false) {
    return s.Level(hz, filter_hz, att, t) - s.Noise(hz, t);
}

TEST(SignalModel, LevelFallsFromTheCentreToTheEdgeOfTheStation) {
    const SignalModel s(Band::Default(), 1);
    const Micros t{0};
    const int centre = Above(s, 88'100'000, kWide, t);
    const int off50 = Above(s, 88'150'000, kWide, t);
    const int off90 = Above(s, 88'010'000, kWide, t);
    EXPECT_EQ(centre, 200);
    EXPECT_LT(off50, centre);
    EXPECT_GT(off50, off90);
    EXPECT_GT(off90, 0);
    EXPECT_EQ(Above(s, 88'000'000, kWide, t), 0);
    EXPECT_EQ(Above(s, 88'200'000, kWide, t), 0);
}

TEST(SignalModel, NarrowFilterOnWideStationGivesLess) {
    const SignalModel s(Band::Default(), 1);
    const Micros t{0};
    int previous = -1;
    for (int code = 0; code <= 4; ++code) {
        const int level = Above(s, 88'100'000, FilterWidthHz(code), t);
        EXPECT_GT(level, previous) << "filter code " << code;
        previous = level;
    }
    EXPECT_LT(s.Level(88'100'000, FilterWidthHz(3), false, t), 128);
    // A narrow station loses nothing in a filter wider than itself.
    EXPECT_EQ(Above(s, 119'250'000, FilterWidthHz(2), t), Above(s, 119'250'000, kWide, t));
    EXPECT_LT(Above(s, 119'250'000, FilterWidthHz(0), t), Above(s, 119'250'000, kWide, t));
}

TEST(SignalModel, AttenuatorLowersStationsButNotNoise) {
    const SignalModel s(Band::Default(), 1);
    EXPECT_EQ(Above(s, 88'100'000, kWide, Micros{0}, true), 200 - SignalModel::kAttenuation);
    EXPECT_EQ(s.Level(60'000'000, kWide, true, Micros{0}), s.Level(60'000'000, kWide, false, Micros{0}));
}

TEST(SignalModel, IntermittentStationsComeAndGo) {
    const SignalModel s(Band::Default(), 1);
    // Airband tower: on the first 5 s of every 20 s.
    EXPECT_GT(Above(s, 118'100'000, FilterWidthHz(1), Micros{1'000'000}), 0);
    EXPECT_EQ(Above(s, 118'100'000, FilterWidthHz(1), Micros{10'000'000}), 0);
    EXPECT_GT(Above(s, 118'100'000, FilterWidthHz(1), Micros{21'000'000}), 0);
}

TEST(Band, StationsInARangeComeLowestFirstWithBothEndsIncluded) {
    const auto found = Band::Default().StationsIn(80'000'000, 84'700'000);
    std::vector<std::int64_t> centres;
    for (const auto& s : found) centres.push_back(s.centre_hz);
    EXPECT_EQ(centres, (std::vector<std::int64_t>{80'000'000, 81'300'000, 82'500'000, 84'700'000}));
}

}  // namespace
}  // namespace velmo::sim
