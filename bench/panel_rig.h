#pragma once

#include <QString>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "main_window.h"
#include "qt_serial_link.h"
#include "window_driver.h"

namespace velmo::bench {

// The real window on the real serial port, whose far end is the pseudo-
// terminal `device`. Shown on the offscreen platform as a user would see it.
class PanelRig {
public:
    explicit PanelRig(const std::string& device);
    // Switches the receiver off first, so the far end sees the port closed.
    ~PanelRig();
    PanelRig(const PanelRig&) = delete;
    PanelRig& operator=(const PanelRig&) = delete;

    QtSerialLink link;
    std::vector<std::string> failures;
    MainWindow window;
    WindowDriver user{window};

    // A key press and release on the focused list, as QTest types it: the
    // key-to-wire figure is defined on a QTest key event.
    void Key(int qt_key);
    // Switches on and waits for the first signal reading to be drawn.
    bool SwitchOn();
};

// Lets the event loop run until `done` holds, looking every `every_ms` from
// a timer tick: a panel pause runs nested inside the loop, and only ticks
// see what happens during it. False when `limit` passed first.
bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit, int every_ms = 5);
// Lets the event loop run for `duration`, with nothing of its own ticking.
void RunFor(std::chrono::milliseconds duration);

}  // namespace velmo::bench
