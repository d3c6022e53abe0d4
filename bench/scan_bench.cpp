// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The scanner on the real window against the simulated receiver: its pace
// where nothing is on the air, and one pass over a band with stations.

#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <atomic>
#include <memory>

#include "benches.h"
#include "panel_on_port.h"
#include "process_measures.h"
#include "pty_receiver.h"
#include "sim/scan_report.h"
#include "sim/signal_model.h"
#include "wait.h"

namespace velmo::bench {

using namespace velmo::testing;

namespace {

// The simulated receiver, noting the frequency of the last tuning command
// it took in as it takes it in.
struct ScannedReceiver {
    explicit ScannedReceiver(const sim::ReceiverOptions& options)
        : receiver(options, [tuned = last_tuning_hz](const PtyReceiver::Line& line) {
              std::int64_t hz = 0;
              if (sim::ParseTuningHz(line.text, hz)) tuned->store(hz);
          }) {}

    std::int64_t LastTuningHz() const { return last_tuning_hz->load(); }

    // What it took in from line `from` on, on the receiver's own clock.
    std::vector<sim::ObservedLine> LinesSince(std::size_t from) const {
        std::vector<sim::ObservedLine> lines;
        const auto received = receiver.Received();
        for (std::size_t i = from; i < received.size(); ++i) {
            lines.push_back(
                {std::chrono::duration_cast<sim::Micros>(received[i].at.time_since_epoch()), received[i].text});
        }
        return lines;
    }

    std::shared_ptr<std::atomic<std::int64_t>> last_tuning_hz = std::make_shared<std::atomic<std::int64_t>>(0);
    PtyReceiver receiver;
};

sim::ScanReport Judge(const std::vector<sim::ObservedLine>& lines, const sim::ReceiverOptions& options) {
    // The window's start-up settings: 100 KHz steps, the 230 kHz filter,
    // squelch 128, no attenuator.
    return sim::AnalyseScan(lines, sim::SignalModel(options.band, options.seed), sim::ScanSettings{});
}

// Switches the window on against a receiver with `options`, starts the
// scanner, lets `run` decide when it has scanned enough, stops it and
// judges what the receiver was told meanwhile. Nothing when the receiver
// did not come on.
std::optional<sim::ScanReport> Scan(const sim::ReceiverOptions& options,
                                    const std::function<void(ScannedReceiver&)>& run) {
    ScannedReceiver receiver(options);
    PanelOnPort rig(receiver.receiver.Path());
    if (!rig.SwitchOn()) {
        std::fprintf(stderr, "velmo-bench: the receiver did not come on\n");
        return std::nullopt;
    }
    const std::size_t from = receiver.receiver.LineCount();
    rig.user.Click("Scan");
    run(receiver);
    rig.user.Click("Scan");
    return Judge(receiver.LinesSince(from), options);
}

}  // namespace

void EmptyBandScanFigures() {
    for (const bool wire_timing : {false, true}) {
        sim::ReceiverOptions options;
        options.band = sim::Band{};
        options.wire_timing = wire_timing;
        const auto scanned = Scan(options, [](ScannedReceiver&) { LetRun(std::chrono::seconds(60)); });
        if (!scanned) return;
        const auto& report = *scanned;
        const std::string suffix = wire_timing ? "_wire" : "_no_wire";
        Print(AtLeast("scan_empty_steps_per_s" + suffix, report.steps_per_second, "1/s", 19.5));
        Print(Info("scan_empty_holds" + suffix, static_cast<double>(report.holds_hz.size()), "holds"));
    }
}

void BandPassFigures() {
    constexpr double kLowMhz = 76;
    constexpr std::int64_t kHighHz = 110'000'000;
    sim::ReceiverOptions options;  // the default band, 9600-baud wire timing
    ScannedReceiver receiver(options);
    PanelOnPort rig(receiver.receiver.Path());
    if (!rig.SwitchOn()) {
        std::fprintf(stderr, "velmo-bench: the receiver did not come on\n");
        return;
    }
    rig.user.EnterFrequency(QString::number(kLowMhz, 'f', 6));
    if (!WaitUntil([&] { return receiver.LastTuningHz() == static_cast<std::int64_t>(kLowMhz * 1e6); })) {
        std::fprintf(stderr, "velmo-bench: could not tune to the low end\n");
        return;
    }
    const std::size_t from = receiver.receiver.LineCount();
    const auto started = WallClock::now();
    rig.user.Click("Scan");
    const bool finished = WaitUntil([&] { return receiver.LastTuningHz() >= kHighHz; }, std::chrono::minutes(15));
    rig.user.Click("Scan");
    const double wall = SecondsBetween(started, WallClock::now());
    if (!finished) std::fprintf(stderr, "velmo-bench: the pass did not reach the top in time\n");

    const auto report = Judge(receiver.LinesSince(from), options);
    const double held_share = report.stations ? 100.0 * report.held / report.stations : 0;
    Print(AtLeast("scan_band_stations_held", held_share, "%", 100));
    Print(AtMost("scan_band_held_late", report.held_late, "stations", 0));
    Print(AtLeast("scan_band_steps_per_s_wire", report.steps_per_second, "1/s", 19.5));
    Print(Info("scan_band_stations_open", report.stations, "stations"));
    Print(Info("scan_band_passed", report.passed, "stations"));
    Print(Info("scan_band_pass_time", wall, "s"));
    for (const auto& name : report.passed_names) std::fprintf(stderr, "velmo-bench: passed %s\n", name.c_str());
}

// The scanner across slower links: from 81.3 MHz to past 85 MHz on the
// default band (stations at 82.5 and 84.7 MHz) at each round trip, with and
// without jitter, against the best pace such a link allows.
void LinkScanFigures() {
    struct Link {
        int round_trip_ms;
        int jitter_ms;
    };
    constexpr std::int64_t kHighHz = 85'000'000;
    for (const Link link :
         {Link{0, 0}, Link{20, 0}, Link{50, 0}, Link{100, 0}, Link{250, 0}, Link{50, 30}, Link{100, 60}}) {
        sim::ReceiverOptions options;
        options.latency = std::chrono::milliseconds(link.round_trip_ms);
        options.jitter = std::chrono::milliseconds(link.jitter_ms);
        const auto scanned = Scan(options, [](ScannedReceiver& receiver) {
            if (!WaitUntil([&] { return receiver.LastTuningHz() >= kHighHz; }, std::chrono::minutes(3))) {
                std::fprintf(stderr, "velmo-bench: the scan did not reach 85 MHz in time\n");
            }
        });
        if (!scanned) return;
        const auto& report = *scanned;
        // Jitter makes a round trip anything up to its longest.
        const double best = 20.0 / std::ceil((link.round_trip_ms + link.jitter_ms + 40) / 50.0);
        const std::string suffix = std::to_string(link.round_trip_ms) + "ms" +
                                   (link.jitter_ms ? "_jitter" + std::to_string(link.jitter_ms) : "");
        Print(AtLeast("link_steps_per_s_" + suffix, report.steps_per_second, "1/s", 0.9 * best));
        const double held_share = report.stations ? 100.0 * report.held / report.stations : 0;
        Print(AtLeast("link_held_on_the_channel_" + suffix, held_share, "%", 100));
        Print(AtMost("link_held_late_" + suffix, report.held_late, "stations", 0));
    }
}

}  // namespace velmo::bench
