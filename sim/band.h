// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/clock.h"

namespace velmo::sim {

// One transmitter on the simulated band.
struct Station {
    std::string name;
    std::int64_t centre_hz = 0;
    // Occupied bandwidth: the signal fades to nothing at half of it either
    // side of the centre.
    std::int64_t width_hz = 0;
    // Level (0-255) at the centre with a filter at least as wide as the
    // station, on top of the band noise.
    int strength = 0;
    // On the air for `on_for` out of every `period`, shifted by `phase`;
    // a period of 0 means always on the air.
    Micros period{0};
    Micros on_for{0};
    Micros phase{0};

    bool OnAir(Micros t) const;
};

// The stations the simulated receiver can hear.
class Band {
public:
    Band() = default;
    explicit Band(std::vector<Station> stations);

    const std::vector<Station>& Stations() const { return stations_; }
    // Stations whose centre lies in [low_hz, high_hz], lowest first.
    std::vector<Station> StationsIn(std::int64_t low_hz, std::int64_t high_hz) const;

    // The band velmo-sim and the tests use; see sim/README.md for the list.
    static Band Default();

private:
    std::vector<Station> stations_;  // sorted by centre
};

}  // namespace velmo::sim
