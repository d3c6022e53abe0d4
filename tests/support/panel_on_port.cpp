// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel_on_port.h"

#include "failure_message.h"
#include "wait.h"

namespace velmo::testing {

PanelOnPort::PanelOnPort(std::string device)
    : link([device = std::move(device)](int) { return device; }), window(link, 1, [this](const std::exception& error) {
          if (reported_at < 0) reported_at = clock.elapsed();
          const auto* serial_error = dynamic_cast<const SerialError*>(&error);
          messages.push_back(serial_error ? DescribeFailure(link, *serial_error) : error.what());
      }) {
    clock.start();
    window.show();
    window.activateWindow();
}

PanelOnPort::~PanelOnPort() {
    if (!window.Ending()) user.Click("RadioOff");
}

bool PanelOnPort::SwitchOn() {
    user.Click("RadioOn");
    return WaitUntil([this] { return user.SignalBar().size() > 1 || window.Ending(); }) && !window.Ending();
}

}  // namespace velmo::testing
