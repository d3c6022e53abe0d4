// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sim/signal_model.h"

#include <algorithm>
#include <cmath>

namespace velmo::sim {

std::int64_t FilterWidthHz(int filter_code) {
    switch (filter_code) {
        case 0: return 2'800;
        case 1: return 6'000;
        case 2: return 15'000;
        case 3: return 50'000;
        case 4: return 230'000;
        default: return 0;
    }
}

namespace {

std::uint64_t SplitMix64(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

// A station's level at a given tuning: full at the centre, falling off as a
// parabola to nothing at the edge of its width; a filter narrower than the
// station lets through only its share of it.
double Contribution(const Station& s, std::int64_t tuned_hz, std::int64_t filter_hz) {
    if (s.width_hz <= 0 || filter_hz <= 0) return 0.0;
    const double half = static_cast<double>(s.width_hz) / 2.0;
    const double offset = std::abs(static_cast<double>(tuned_hz - s.centre_hz));
    if (offset >= half) return 0.0;
    const double x = offset / half;
    const double shape = 1.0 - x * x;
    const double filter_share = std::min(1.0, static_cast<double>(filter_hz) / static_cast<double>(s.width_hz));
    return s.strength * shape * filter_share;
}

}  // namespace

SignalModel::SignalModel(Band band, std::uint64_t seed) : band_(std::move(band)), seed_(seed) {}

int SignalModel::Noise(std::int64_t tuned_hz, Micros t) const {
    const auto slot = static_cast<std::uint64_t>(t / kNoiseSlot);
    const std::uint64_t h = SplitMix64(seed_ ^ SplitMix64(static_cast<std::uint64_t>(tuned_hz) ^ SplitMix64(slot)));
    const auto span = static_cast<std::uint64_t>(kNoiseMax - kNoiseMin + 1);
    return kNoiseMin + static_cast<int>(h % span);
}

int SignalModel::Level(std::int64_t tuned_hz, std::int64_t filter_hz, bool attenuator, Micros t) const {
    double stations = 0.0;
    for (const auto& s : band_.Stations()) {
        if (!s.OnAir(t)) continue;
        double c = Contribution(s, tuned_hz, filter_hz);
        if (attenuator) c = std::max(0.0, c - kAttenuation);
        stations += c;
    }
    const long total = Noise(tuned_hz, t) + std::lround(stations);
    return static_cast<int>(std::clamp(total, 0L, 255L));
}

}  // namespace velmo::sim
