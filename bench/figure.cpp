// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "figure.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace velmo::bench {
namespace {

std::string Number(double value) {
    std::ostringstream text;
    text.setf(std::ios::fixed);
    // Counts read as counts.
    if (value == std::floor(value) && std::fabs(value) < 1e9)
        text.precision(0);
    else
        text.precision(std::fabs(value) < 1 ? 3 : 2);
    text << value;
    return text.str();
}

// A target's bound as it was written: 10.5, 12, 0.5.
std::string Limit(double limit) {
    std::ostringstream text;
    text << limit;
    return text.str();
}

}  // namespace

Figure AtMost(std::string name, double value, std::string unit, double limit, bool inclusive) {
    const bool pass = inclusive ? value <= limit : value < limit;
    return {std::move(name), value, std::move(unit), (inclusive ? "<= " : "< ") + Limit(limit),
            pass ? Figure::Verdict::Pass : Figure::Verdict::Short};
}

Figure AtLeast(std::string name, double value, std::string unit, double limit) {
    return {std::move(name), value, std::move(unit), ">= " + Limit(limit),
            value >= limit ? Figure::Verdict::Pass : Figure::Verdict::Short};
}

Figure Info(std::string name, double value, std::string unit) {
    return {std::move(name), value, std::move(unit), "-", Figure::Verdict::Info};
}

void Print(const Figure& figure) {
    const char* verdict = figure.verdict == Figure::Verdict::Pass    ? "pass"
                          : figure.verdict == Figure::Verdict::Short ? "short"
                                                                     : "info";
    std::printf("%-36s %12s %-10s %-10s %s\n", figure.name.c_str(), Number(figure.value).c_str(), figure.unit.c_str(),
                figure.target.c_str(), verdict);
    std::fflush(stdout);
}

void UseDecimalPoint() { std::setlocale(LC_NUMERIC, "C"); }

double Percentile(std::vector<double> samples, double fraction) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(samples.size())));
    return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

double Median(std::vector<double> samples) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

}  // namespace velmo::bench
