// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

namespace velmo::bench {

// One measured figure and the target it is held against.
struct Figure {
    std::string name;
    double value = 0;
    std::string unit;
    // How the target reads in the table, e.g. "<= 10.5".
    std::string target;
    // Info: printed to explain another figure, held to no target.
    enum class Verdict { Pass, Short, Info } verdict = Verdict::Info;
};

// Holds `value` to an upper or lower bound.
Figure AtMost(std::string name, double value, std::string unit, double limit, bool inclusive = true);
Figure AtLeast(std::string name, double value, std::string unit, double limit);
Figure Info(std::string name, double value, std::string unit);

// One line per figure: name, value, unit, target, pass/short.
void Print(const Figure& figure);

// QApplication takes the user's locale from the environment, decimal comma
// and all; call this after it so that figures are printed, and read back
// from child runs, with a decimal point.
void UseDecimalPoint();

// The value below which `fraction` (0..1) of the samples lie, by the
// nearest-rank method; 0 for no samples.
double Percentile(std::vector<double> samples, double fraction);
double Median(std::vector<double> samples);

}  // namespace velmo::bench
