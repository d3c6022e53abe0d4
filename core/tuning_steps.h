// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace velmo {

// The receiver's range in MHz; also where tuning wraps to.
inline constexpr double kLowestFrequency = 0.1;
inline constexpr double kHighestFrequency = 1300.0;

struct TuningStepRow {
    std::string_view text;
    double increment_mhz;
};

// In the order the step box lists them and the steps are looked up.
inline constexpr std::array<TuningStepRow, 21> kTuningSteps{{
    {"1 Hz", 0.000001}, {"10 Hz", 0.00001}, {"20 Hz", 0.00002},   {"50 Hz", 0.00005}, {"100 Hz", 0.0001},
    {"500 Hz", 0.0005}, {"1 KHz", 0.001},   {"2.5 KHz", 0.0025},  {"5 KHz", 0.005},   {"6.25 KHz", 0.00625},
    {"9 KHz", 0.009},   {"10 KHz", 0.01},   {"12.5 KHz", 0.0125}, {"20 KHz", 0.02},   {"25 KHz", 0.025},
    {"30 KHz", 0.03},   {"50 KHz", 0.05},   {"100 KHz", 0.1},     {"500 KHz", 0.5},   {"1 MHz", 1.0},
    {"10 MHz", 10.0},
}};

// The increment for a step text: exact, case-sensitive, whole-text match.
std::optional<double> StepIncrement(std::string_view text);

}  // namespace velmo
