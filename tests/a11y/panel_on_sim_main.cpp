// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real window and serial port against the simulated receiver on a
// pseudo-terminal, as a program of its own: the screen-reader test runs it on
// the accessibility bus to switch the receiver on and scan, which Velmo_1
// could only do on a port that a test cannot make (/dev/velmo1).

#include <QApplication>

#include "panel_on_port.h"
#include "pty_receiver.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmo_a11y_panel"));
    velmo::testing::PtyReceiver receiver(velmo::sim::ReceiverOptions{});
    velmo::testing::PanelOnPort panel(receiver.Path());
    const int status = QApplication::exec();
    return panel.window.Ending() ? panel.window.ExitStatus() : status;
}
