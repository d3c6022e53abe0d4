// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

#include "sim/band.h"
#include "sim/clock.h"

namespace velmo::sim {

// IF filter width for a filter code "00".."04"; 0 for an unknown code.
std::int64_t FilterWidthHz(int filter_code);

// What the receiver's level meter reads, 0-255: band noise plus every
// station on the air within reach of the tuned frequency.
class SignalModel {
public:
    // Band noise lies in [kNoiseMin, kNoiseMax], well below a squelch of 128.
    static constexpr int kNoiseMin = 8;
    static constexpr int kNoiseMax = 40;
    // Noise is redrawn every slot, so it flickers like a real meter but is
    // the same for any two readings in one slot.
    static constexpr Micros kNoiseSlot{100'000};
    // How much the attenuator takes off a station's level.
    static constexpr int kAttenuation = 40;

    SignalModel(Band band, std::uint64_t seed);

    int Level(std::int64_t tuned_hz, std::int64_t filter_hz, bool attenuator, Micros t) const;
    int Noise(std::int64_t tuned_hz, Micros t) const;
    const Band& band() const { return band_; }
    std::uint64_t seed() const { return seed_; }

private:
    Band band_;
    std::uint64_t seed_;
};

}  // namespace velmo::sim
