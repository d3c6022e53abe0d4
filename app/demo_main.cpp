// velmo-demo: the real front panel with a simulated receiver in the same
// process, in real time, for trying Velmo without the hardware.
//
//   velmo-demo                      the panel, for you to use
//   velmo-demo --tour DIR           a scripted tour, screenshots into DIR
//   velmo-demo --pass LOW HIGH      one scanner pass, then a hit report
//   --no-wire-timing                bytes cross the line at once
#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "demo_script.h"
#include "main_window.h"
#include "sim/clock.h"
#include "sim/simulated_link.h"
#include "stack_room.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: velmo-demo [--tour DIR | --pass LOW_MHZ HIGH_MHZ] [--no-wire-timing]\n"
                 "Runs the Velmo front panel against a simulated ICOM PCR1000.\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    velmo::MakeRoomForNestedEvents();
    QApplication app(argc, argv);
    QApplication::setApplicationName("velmo-demo");
    QApplication::setApplicationVersion("1.00");

    QStringList args = QApplication::arguments().mid(1);
    velmo::sim::ReceiverOptions options;
    if (args.removeAll("--no-wire-timing") > 0) options.wire_timing = false;
    QString tour_dir;
    double low = 0;
    double high = 0;
    bool pass = false;
    if (!args.isEmpty() && args[0] == "--tour" && args.size() == 2) {
        tour_dir = args[1];
    } else if (!args.isEmpty() && args[0] == "--pass" && args.size() == 3) {
        bool ok_low = false;
        bool ok_high = false;
        low = args[1].toDouble(&ok_low);
        high = args[2].toDouble(&ok_high);
        if (!ok_low || !ok_high || low < 0.1 || high > 1300 || low >= high) return Usage();
        pass = true;
    } else if (!args.isEmpty()) {
        return Usage();
    }

    velmo::sim::SteadyClock clock;
    velmo::sim::SimulatedLink link(clock, options);
    velmo::MainWindow window(link, 1);
    window.setWindowTitle(window.windowTitle() + " (simulated receiver)");
    window.show();

    velmo::demo::DemoScript script(window, link, clock);
    QObject::connect(&script, &velmo::demo::DemoScript::finished, &app,
                     [](int status) { QCoreApplication::exit(status); });
    if (!tour_dir.isEmpty()) script.Tour(tour_dir);
    if (pass) script.Pass(low, high);
    return QApplication::exec();
}
