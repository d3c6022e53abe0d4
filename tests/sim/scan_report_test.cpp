// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Judging a scanner pass: which stations it held on, on time or a step late.
#include <gtest/gtest.h>

#include <cstdio>

#include "sim/scan_report.h"

namespace velmo::sim {
namespace {

std::string Tune(std::int64_t hz) {
    char text[32];
    std::snprintf(text, sizeof text, "K0%010lld060400", static_cast<long long>(hz));
    return text;
}

// A pass from 81.4 to 83.0 MHz, one step every 50 ms, holding where told.
std::vector<ObservedLine> Pass(std::int64_t hold_hz) {
    std::vector<ObservedLine> lines;
    Micros t{1'000'000};
    for (std::int64_t hz = 81'400'000; hz <= 83'000'000; hz += 100'000) {
        lines.push_back({t, Tune(hz)});
        lines.push_back({t + Micros{25'000}, "I0?"});
        if (hz == hold_hz) {
            lines.push_back({t + Micros{40'000}, "I1?"});
            t += Micros{6'000'000};
        }
        t += Micros{50'000};
    }
    return lines;
}

TEST(AnalyseScan, HeldLateOrPassed) {
    const SignalModel model(Band::Default(), 1);
    struct Case {
        std::int64_t hold_hz;
        int held, late, passed;
    };
    const Case cases[] = {{82'500'000, 1, 0, 0}, {82'600'000, 0, 1, 0}, {0, 0, 0, 1}, {82'700'000, 0, 0, 1}};
    for (const auto& c : cases) {
        const ScanReport report = AnalyseScan(Pass(c.hold_hz), model, ScanSettings{});
        EXPECT_EQ(report.stations, 1) << c.hold_hz;  // 82.5 MHz is the only station reached
        EXPECT_EQ(report.held, c.held) << c.hold_hz;
        EXPECT_EQ(report.held_late, c.late) << c.hold_hz;
        EXPECT_EQ(report.passed, c.passed) << c.hold_hz;
        EXPECT_EQ(report.steps, 17);
        EXPECT_NEAR(report.steps_per_second, 20.0, 1e-9) << "holds do not count against the pace";
    }
}

TEST(AnalyseScan, StationsTooWeakToOpenTheSquelchDoNotCount) {
    const SignalModel model(Band::Default(), 1);
    ScanSettings settings;
    settings.squelch = 255;
    EXPECT_EQ(AnalyseScan(Pass(82'500'000), model, settings).stations, 0);
}

TEST(ParseTuningHz, OnlyWellFormedTuningCommands) {
    std::int64_t hz = 0;
    EXPECT_TRUE(ParseTuningHz("K00081300000060400", hz));
    EXPECT_EQ(hz, 81'300'000);
    EXPECT_FALSE(ParseTuningHz("K0008130000006040", hz));
    EXPECT_FALSE(ParseTuningHz("K0008130x000060400", hz));
    EXPECT_FALSE(ParseTuningHz("J4064", hz));
}

}  // namespace
}  // namespace velmo::sim
