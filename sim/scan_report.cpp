// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sim/scan_report.h"

#include <algorithm>
#include <set>

namespace velmo::sim {

bool ParseTuningHz(const std::string& line, std::int64_t& hz) {
    if (line.size() != 18 || line.compare(0, 2, "K0") != 0) return false;
    hz = 0;
    for (std::size_t i = 2; i < 12; ++i) {
        if (line[i] < '0' || line[i] > '9') return false;
        hz = hz * 10 + (line[i] - '0');
    }
    return true;
}

ScanReport AnalyseScan(const std::vector<ObservedLine>& lines, const SignalModel& model, const ScanSettings& settings) {
    struct Tuning {
        Micros at;
        std::int64_t hz;
        bool held = false;
    };
    std::vector<Tuning> tunings;
    for (const auto& line : lines) {
        std::int64_t hz = 0;
        if (ParseTuningHz(line.text, hz)) {
            tunings.push_back({line.at, hz});
        } else if (line.text == "I1?" && !tunings.empty()) {
            tunings.back().held = true;
        }
    }

    ScanReport report;
    report.steps = static_cast<int>(tunings.size());
    std::set<std::int64_t> held_at;
    for (const auto& t : tunings) {
        if (t.held) {
            held_at.insert(t.hz);
            report.holds_hz.push_back(t.hz);
        }
    }

    // Stations open when the scanner reached their centre.
    for (const auto& station : model.band().Stations()) {
        const auto reached =
            std::find_if(tunings.begin(), tunings.end(), [&](const Tuning& t) { return t.hz == station.centre_hz; });
        if (reached == tunings.end()) continue;
        if (model.Level(station.centre_hz, settings.filter_hz, settings.attenuator, reached->at) <= settings.squelch) {
            continue;
        }
        ++report.stations;
        if (held_at.count(station.centre_hz)) {
            ++report.held;
        } else if (held_at.count(station.centre_hz + settings.step_hz)) {
            ++report.held_late;
        } else {
            ++report.passed;
            report.passed_names.push_back(station.name);
        }
    }

    // Pace between holds: intervals that start at a tuning without a hold.
    Micros stepping{0};
    int intervals = 0;
    for (std::size_t i = 1; i < tunings.size(); ++i) {
        if (tunings[i - 1].held) continue;
        stepping += tunings[i].at - tunings[i - 1].at;
        ++intervals;
    }
    if (stepping.count() > 0) report.steps_per_second = intervals * 1e6 / static_cast<double>(stepping.count());
    return report;
}

}  // namespace velmo::sim
