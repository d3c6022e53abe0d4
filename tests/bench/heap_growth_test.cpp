// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "heap_growth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>
#include <string>

namespace velmo::bench {
namespace {

constexpr double kPassSeconds = 100;  // a pass of the band with its holds
constexpr double kKib = 1024;

// Two hours of passes whose live heap is `heap(seconds)`.
std::vector<HeapSample> TwoHours(const std::function<double(double)>& heap) {
    std::vector<HeapSample> samples;
    for (double t = 200; t <= 7400; t += kPassSeconds) {
        samples.push_back({t, static_cast<std::int64_t>(std::llround(heap(t)))});
    }
    return samples;
}

// What a sample's pass leaves in the caches that vary: up to 20 KiB more
// or less, the same pass after pass.
double Wobble(double seconds) {
    const int pass = static_cast<int>(seconds / kPassSeconds);
    return ((pass * 7) % 5 - 2) * 10 * kKib;
}

struct Run {
    std::string name;
    std::function<double(double)> heap;
    double at_least_kib;  // bounds of the judged growth an hour
    double at_most_kib;
};

// Its name in the test's listing, rather than the struct's bytes.
void PrintTo(const Run& run, std::ostream* out) { *out << run.name; }

class HeapGrowth : public ::testing::TestWithParam<Run> {};

TEST_P(HeapGrowth, JudgesTheRunByItsHalvesPeaks) {
    const std::optional<double> growth = HeapGrowthPerHour(TwoHours(GetParam().heap));
    ASSERT_TRUE(growth.has_value());
    EXPECT_GE(*growth / kKib, GetParam().at_least_kib);
    EXPECT_LE(*growth / kKib, GetParam().at_most_kib);
}

constexpr double kBase = 4'400 * kKib;

std::vector<Run> Runs() {
    return {
        {"Flat", [](double) { return kBase; }, 0, 0},
        {"FlatWithCachesThatVary", [](double t) { return kBase + Wobble(t); }, 0, 0},
        // Caches filled by a rare paint 20 minutes in: they stay full.
        {"OneStepEarly", [](double t) { return kBase + Wobble(t) + (t > 1200 ? 37 * kKib : 0); }, 0, 0},
        // Growth that goes on is found through the wobble: a leak of
        // 24 KiB an hour shows as 24 within the 20 KiB the peaks may
        // stand apart, over the hour between the halves.
        {"SteadyLeak", [](double t) { return kBase + Wobble(t) + 24 * kKib * t / 3600; }, 17, 31},
        {"SteadyShrink", [](double t) { return kBase - 30 * kKib * t / 3600; }, -31, -29},
        // A step late in the run is not known to be the last: it counts.
        {"OneStepLate", [](double t) { return kBase + (t > 6000 ? 37 * kKib : 0); }, 30, 45},
    };
}

std::string RunName(const ::testing::TestParamInfo<Run>& run) { return run.param.name; }

INSTANTIATE_TEST_SUITE_P(Runs, HeapGrowth, ::testing::ValuesIn(Runs()), RunName);

TEST(HeapGrowthSlope, CountsAnEarlyStepForTheWholeRunWhereThePeaksDoNot) {
    // Caches that took 54 KiB in the first 20 minutes, then nothing more.
    const auto samples = TwoHours([](double t) { return kBase + (t > 1200 ? 54 * kKib : 0); });
    EXPECT_GT(HeapSlopePerHour(samples) / kKib, 16);
    ASSERT_TRUE(HeapGrowthPerHour(samples).has_value());
    EXPECT_EQ(*HeapGrowthPerHour(samples), 0);
}

TEST(HeapGrowthSlope, IsTheLeakItself) {
    const auto samples = TwoHours([](double t) { return kBase + 24 * kKib * t / 3600; });
    EXPECT_NEAR(HeapSlopePerHour(samples) / kKib, 24, 0.01);
}

TEST(HeapGrowthJudged, NeedsTwoPassesInEachHalf) {
    EXPECT_FALSE(HeapGrowthPerHour({}).has_value());
    EXPECT_FALSE(HeapGrowthPerHour({{0, 1}, {100, 2}, {200, 3}}).has_value());
    // Four samples, but three of them at the start.
    EXPECT_FALSE(HeapGrowthPerHour({{0, 1}, {1, 2}, {2, 3}, {3600, 4}}).has_value());
    EXPECT_TRUE(HeapGrowthPerHour({{0, 1}, {100, 2}, {3500, 3}, {3600, 4}}).has_value());
}

}  // namespace
}  // namespace velmo::bench
