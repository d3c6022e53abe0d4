// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "heap_growth.h"

#include <algorithm>

namespace velmo::bench {

namespace {

struct Half {
    std::int64_t peak = 0;
    double middle = 0;
    int count = 0;
};

}  // namespace

std::optional<double> HeapGrowthPerHour(const std::vector<HeapSample>& samples) {
    if (samples.size() < 4) return std::nullopt;
    const double split = (samples.front().seconds + samples.back().seconds) / 2;
    Half halves[2];
    for (const HeapSample& s : samples) {
        Half& half = halves[s.seconds <= split ? 0 : 1];
        half.peak = half.count == 0 ? s.live_bytes : std::max(half.peak, s.live_bytes);
        half.middle += s.seconds;
        ++half.count;
    }
    if (halves[0].count < 2 || halves[1].count < 2) return std::nullopt;
    const double apart = halves[1].middle / halves[1].count - halves[0].middle / halves[0].count;
    if (apart <= 0) return std::nullopt;
    return static_cast<double>(halves[1].peak - halves[0].peak) * 3600 / apart;
}

double HeapSlopePerHour(const std::vector<HeapSample>& samples) {
    if (samples.size() < 2) return 0;
    const double n = static_cast<double>(samples.size());
    double sx = 0, sy = 0;
    for (const HeapSample& s : samples) {
        sx += s.seconds;
        sy += static_cast<double>(s.live_bytes);
    }
    const double mx = sx / n, my = sy / n;
    double sxy = 0, sxx = 0;
    for (const HeapSample& s : samples) {
        sxy += (s.seconds - mx) * (static_cast<double>(s.live_bytes) - my);
        sxx += (s.seconds - mx) * (s.seconds - mx);
    }
    return sxx > 0 ? sxy / sxx * 3600 : 0;
}

}  // namespace velmo::bench
