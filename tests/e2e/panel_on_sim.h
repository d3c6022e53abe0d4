#pragma once

#include <QTimer>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "main_window.h"
#include "qt_serial_link.h"
#include "sim/background_pty_server.h"
#include "ui_test_support.h"
#include "window_driver.h"

namespace velmo::e2e {

using testing::WaitUntil;

// Samples what the window shows every 20 ms. Its ticks come from the event
// loop, so it keeps sampling inside the panel's pauses, where a test's own
// code cannot look (a 6-second hold runs inside the test's event processing).
class Sampler {
public:
    struct Sample {
        qint64 at_ms;
        std::string display;
        std::string bar;
    };
    explicit Sampler(const class PanelOnSim& panel);
    ~Sampler();
    std::vector<Sample> samples;

private:
    QTimer* timer_;
};

// The real window on the real serial port, with the simulated receiver on
// the far side of a pseudo-terminal.
class PanelOnSim {
public:
    explicit PanelOnSim(sim::ReceiverOptions options = {});
    ~PanelOnSim();

    sim::BackgroundPtyServer sim;
    QtSerialLink link;
    std::vector<std::string> failures;
    MainWindow window;
    WindowDriver user{window};

    // The tuning commands the receiver has taken in so far.
    std::vector<std::string> TuningCommands() const;
};

}  // namespace velmo::e2e
