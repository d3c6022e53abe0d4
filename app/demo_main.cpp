// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// velmo-demo: the real front panel with a simulated receiver in the same
// process, in real time, for trying Velmo without the hardware.
//
//   velmo-demo                      the panel, for you to use
//   velmo-demo --tour DIR           a scripted tour, screenshots into DIR
//   velmo-demo --pass LOW HIGH      one scanner pass, then a hit report
//   --no-wire-timing                bytes cross the line at once
//   --line-end crlf|cr|lf|none      how the receiver ends its answers
#include <QApplication>
#include <QCommandLineParser>
#include <QStringList>
#include <clocale>
#include <cstdio>
#include <optional>

#include "demo_script.h"
#include "main_window.h"
#include "sim/clock.h"
#include "sim/simulated_link.h"
#include "stack_room.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: velmo-demo [--tour DIR | --pass LOW_MHZ HIGH_MHZ] [--no-wire-timing]\n"
                 "                  [--line-end crlf|cr|lf|none]\n"
                 "Runs the Velmo front panel against a simulated ICOM PCR1000.\n");
    return 2;
}

struct DemoOptions {
    velmo::sim::ReceiverOptions receiver;
    QString tour_dir;  // empty: no tour
    bool pass = false;
    double low = 0;
    double high = 0;
};

// The options, or nothing when the arguments are wrong.
std::optional<DemoOptions> ReadOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption tour("tour", "scripted tour, screenshots into DIR", "DIR");
    const QCommandLineOption pass("pass", "one scanner pass from LOW_MHZ up to HIGH_MHZ");
    const QCommandLineOption no_wire_timing("no-wire-timing", "bytes cross the line at once");
    const QCommandLineOption line_end("line-end", "end every answer in crlf, cr, lf or none", "END", "crlf");
    parser.addOptions({tour, pass, no_wire_timing, line_end});
    parser.addPositionalArgument("LOW_MHZ", "with --pass");
    parser.addPositionalArgument("HIGH_MHZ", "with --pass");
    if (!parser.parse(arguments)) return std::nullopt;

    DemoOptions options;
    if (parser.isSet(no_wire_timing)) options.receiver.wire_timing = false;
    const auto end = velmo::sim::ParseLineEnd(parser.value(line_end).toStdString());
    if (!end) return std::nullopt;
    options.receiver.line_end = *end;
    const QStringList numbers = parser.positionalArguments();
    const QStringList tour_dirs = parser.values(tour);
    if (parser.isSet(pass)) {
        if (!tour_dirs.isEmpty() || numbers.size() != 2) return std::nullopt;
        // QString reads numbers in the C locale, whatever the user's.
        bool ok_low = false;
        bool ok_high = false;
        options.low = numbers[0].toDouble(&ok_low);
        options.high = numbers[1].toDouble(&ok_high);
        if (!ok_low || !ok_high || options.low < 0.1 || options.high > 1300 || options.low >= options.high) {
            return std::nullopt;
        }
        options.pass = true;
    } else if (!numbers.isEmpty() || tour_dirs.size() > 1) {
        return std::nullopt;
    } else if (tour_dirs.size() == 1) {
        options.tour_dir = tour_dirs.front();
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    velmo::MakeRoomForNestedEvents();
    QApplication app(argc, argv);
    QApplication::setApplicationName("velmo-demo");
    QApplication::setApplicationVersion(QStringLiteral(VELMO_VERSION));
    // QApplication takes the locale from the environment; the report's
    // figures are printed with a decimal point whatever it is.
    std::setlocale(LC_NUMERIC, "C");

    const std::optional<DemoOptions> options = ReadOptions(QApplication::arguments());
    if (!options) return Usage();

    velmo::sim::SteadyClock clock;
    velmo::sim::SimulatedLink link(clock, options->receiver);
    velmo::MainWindow window(link, 1);
    window.setWindowTitle(window.windowTitle() + " (simulated receiver)");
    window.show();

    velmo::demo::DemoScript script(window, link, clock);
    QObject::connect(&script, &velmo::demo::DemoScript::finished, &app,
                     [](int status) { QCoreApplication::exit(status); });
    if (!options->tour_dir.isEmpty()) script.Tour(options->tour_dir);
    if (options->pass) script.Pass(options->low, options->high);
    return QApplication::exec();
}
