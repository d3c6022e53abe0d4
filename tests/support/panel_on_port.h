// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QString>
#include <string>
#include <vector>

#include "main_window.h"
#include "qt_serial_link.h"
#include "window_driver.h"

namespace velmo::testing {

// The real window on the real serial port, opened on `device` (a pseudo-
// terminal with a receiver at its far end, or a device that cannot be
// opened), shown as a user would see it. What the program would tell the
// user is kept instead of shown: the text of its message box.
class PanelOnPort {
public:
    explicit PanelOnPort(std::string device);
    // Switches the receiver off first, so the far end sees the port closed.
    ~PanelOnPort();
    PanelOnPort(const PanelOnPort&) = delete;
    PanelOnPort& operator=(const PanelOnPort&) = delete;

    QtSerialLink link;
    std::vector<std::string> messages;
    // Milliseconds on `clock` at which the first message came; -1 before.
    qint64 reported_at = -1;
    QElapsedTimer clock;
    MainWindow window;
    WindowDriver user{window};

    // Switches on and waits until the first signal reading is drawn.
    bool SwitchOn();

    template <typename T>
    T* Find(const char* name) const {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
};

}  // namespace velmo::testing
