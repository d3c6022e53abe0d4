// The scanner on the real window against the simulated receiver: its pace
// where nothing is on the air, and one pass over a band with stations.

#include <cstdio>
#include <string>
#include <vector>

#include "benches.h"
#include "panel_rig.h"
#include "process_measures.h"
#include "sim/scan_report.h"
#include "sim/signal_model.h"
#include "timed_pty_server.h"

namespace velmo::bench {
namespace {

std::vector<sim::ObservedLine> LinesSince(const TimedPtyServer& receiver, std::size_t from) {
    auto lines = receiver.Received();
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(std::min(from, lines.size())));
    return lines;
}

sim::ScanReport Judge(const std::vector<sim::ObservedLine>& lines, const sim::ReceiverOptions& options) {
    // The window's start-up settings: 100 KHz steps, the 230 kHz filter,
    // squelch 128, no attenuator.
    return sim::AnalyseScan(lines, sim::SignalModel(options.band, options.seed), sim::ScanSettings{});
}

}  // namespace

void EmptyBandScanFigures() {
    for (const bool wire_timing : {false, true}) {
        sim::ReceiverOptions options;
        options.band = sim::Band{};
        options.wire_timing = wire_timing;
        TimedPtyServer receiver(options);
        PanelRig rig(receiver.Path());
        if (!rig.SwitchOn()) {
            std::fprintf(stderr, "velmo-bench: the receiver did not come on\n");
            return;
        }
        const std::size_t from = receiver.ReceivedCount();
        rig.user.Click("Scan");
        RunFor(std::chrono::seconds(60));
        rig.user.Click("Scan");
        const auto report = Judge(LinesSince(receiver, from), options);
        const std::string suffix = wire_timing ? "_wire" : "_no_wire";
        Print(AtLeast("scan_empty_steps_per_s" + suffix, report.steps_per_second, "1/s", 19.5));
        Print(Info("scan_empty_holds" + suffix, static_cast<double>(report.holds_hz.size()), "holds"));
    }
}

void BandPassFigures() {
    constexpr double kLowMhz = 76;
    constexpr std::int64_t kHighHz = 110'000'000;
    sim::ReceiverOptions options;  // the default band, 9600-baud wire timing
    TimedPtyServer receiver(options);
    PanelRig rig(receiver.Path());
    if (!rig.SwitchOn()) {
        std::fprintf(stderr, "velmo-bench: the receiver did not come on\n");
        return;
    }
    rig.user.EnterFrequency(QString::number(kLowMhz, 'f', 6));
    if (!RunUntil([&] { return receiver.LastTuningHz() == static_cast<std::int64_t>(kLowMhz * 1e6); },
                  std::chrono::seconds(10), 20)) {
        std::fprintf(stderr, "velmo-bench: could not tune to the low end\n");
        return;
    }
    const std::size_t from = receiver.ReceivedCount();
    const auto started = Clock::now();
    rig.user.Click("Scan");
    const bool finished = RunUntil([&] { return receiver.LastTuningHz() >= kHighHz; }, std::chrono::minutes(15), 50);
    rig.user.Click("Scan");
    const double wall = SecondsBetween(started, Clock::now());
    if (!finished) std::fprintf(stderr, "velmo-bench: the pass did not reach the top in time\n");

    const auto report = Judge(LinesSince(receiver, from), options);
    const double held_share = report.stations ? 100.0 * report.held / report.stations : 0;
    Print(AtLeast("scan_band_stations_held", held_share, "%", 100));
    Print(AtMost("scan_band_held_late", report.held_late, "stations", 0));
    Print(AtLeast("scan_band_steps_per_s_wire", report.steps_per_second, "1/s", 19.5));
    Print(Info("scan_band_stations_open", report.stations, "stations"));
    Print(Info("scan_band_passed", report.passed, "stations"));
    Print(Info("scan_band_pass_time", wall, "s"));
    for (const auto& name : report.passed_names) std::fprintf(stderr, "velmo-bench: passed %s\n", name.c_str());
}

}  // namespace velmo::bench
