// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sim/band.h"

#include <algorithm>

namespace velmo::sim {

bool Station::OnAir(Micros t) const {
    if (period <= Micros{0}) return true;
    auto in_cycle = (t + phase) % period;
    if (in_cycle < Micros{0}) in_cycle += period;
    return in_cycle < on_for;
}

Band::Band(std::vector<Station> stations) : stations_(std::move(stations)) {
    std::stable_sort(stations_.begin(), stations_.end(),
                     [](const Station& a, const Station& b) { return a.centre_hz < b.centre_hz; });
}

std::vector<Station> Band::StationsIn(std::int64_t low_hz, std::int64_t high_hz) const {
    std::vector<Station> found;
    for (const auto& s : stations_) {
        if (s.centre_hz >= low_hz && s.centre_hz <= high_hz) found.push_back(s);
    }
    return found;
}

namespace {

constexpr std::int64_t kMHz = 1'000'000;
constexpr std::int64_t kKHz = 1'000;
constexpr std::int64_t kBroadcastWidth = 200 * kKHz;

Station Steady(std::string name, std::int64_t centre_hz, std::int64_t width_hz, int strength) {
    return Station{std::move(name), centre_hz, width_hz, strength, Micros{0}, Micros{0}, Micros{0}};
}

Station Intermittent(std::string name, std::int64_t centre_hz, std::int64_t width_hz, int strength,
                     std::chrono::seconds period, std::chrono::seconds on_for, std::chrono::seconds phase) {
    return Station{std::move(name), centre_hz, width_hz, strength, period, on_for, phase};
}

}  // namespace

// Broadcast stations sit on the 100 kHz grid through 81.3 MHz and are no
// wider than 200 kHz, so a 100 kHz scan from the start-up frequency lands
// exactly on each centre and hears nothing one step before or after it.
// Every "strong" station opens a squelch of 128 at its centre with the
// 230 kHz filter; the weak one never does (80 + noise of at most 40).
Band Band::Default() {
    using std::chrono::seconds;
    return Band({
        Steady("Shortwave AM broadcast", 9'410 * kKHz, 9 * kKHz, 150),
        Steady("FM 76.5", 76'500 * kKHz, kBroadcastWidth, 170),
        Steady("FM 78.9", 78'900 * kKHz, kBroadcastWidth, 150),
        Steady("FM 80.0", 80 * kMHz, kBroadcastWidth, 185),
        Steady("FM 81.3", 81'300 * kKHz, kBroadcastWidth, 210),
        Steady("FM 82.5", 82'500 * kKHz, kBroadcastWidth, 190),
        Steady("FM 84.7", 84'700 * kKHz, kBroadcastWidth, 160),
        Intermittent("FM 86.2 (on 60 s of every 90 s)", 86'200 * kKHz, kBroadcastWidth, 145, seconds{90}, seconds{60},
                     seconds{0}),
        Steady("FM 88.1", 88'100 * kKHz, kBroadcastWidth, 200),
        Steady("FM 90.5 (weak)", 90'500 * kKHz, kBroadcastWidth, 80),
        Steady("FM 93.4", 93'400 * kKHz, kBroadcastWidth, 175),
        Steady("FM 95.8", 95'800 * kKHz, 180 * kKHz, 180),
        Steady("FM 98.6", 98'600 * kKHz, kBroadcastWidth, 165),
        Steady("FM 101.2", 101'200 * kKHz, kBroadcastWidth, 190),
        Intermittent("FM 104.0 (on 45 s of every 120 s)", 104 * kMHz, kBroadcastWidth, 150, seconds{120}, seconds{45},
                     seconds{30}),
        Steady("FM 106.7", 106'700 * kKHz, kBroadcastWidth, 170),
        Intermittent("Airband tower 118.1 (on 5 s of every 20 s)", 118'100 * kKHz, 8 * kKHz, 180, seconds{20},
                     seconds{5}, seconds{0}),
        Steady("Airband ATIS 119.25", 119'250 * kKHz, 8 * kKHz, 140),
        Intermittent("2 m FM calling 145.5 (on 8 s of every 30 s)", 145'500 * kKHz, 16 * kKHz, 185, seconds{30},
                     seconds{8}, seconds{10}),
        Steady("2 m FM repeater 145.6625", 145'662'500, 16 * kKHz, 160),
        Intermittent("PMR446 channel 1 (on 4 s of every 15 s)", 446'006'250, 12'500, 150, seconds{15}, seconds{4},
                     seconds{0}),
    });
}

}  // namespace velmo::sim
