// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Draws the window switched on against a scripted receiver and saves it as a
// PNG: window_screenshot OUTPUT.png. Run it on a real display server (for
// instance under xvfb-run) so that the window's fonts are used.

#include <QAbstractButton>
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "fake_link.h"
#include "main_window.h"
#include "window_test_support.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    velmo::testing::FakeLink link;
    link.responder = [](const std::string& line) -> std::string {
        if (line == "H101" || line == "G300") return "G000\r\n";
        return line == "I1?" ? "I16C\r\n" : "";
    };
    velmo::MainWindow window(link, 1, [](const std::exception&) {});
    window.show();
    window.findChild<QAbstractButton*>(QStringLiteral("RadioOn"))->click();
    // Let the signal poll draw the bar a few times.
    velmo::testing::LetRun(std::chrono::milliseconds(1600));
    const bool saved = window.grab().save(QString::fromLocal8Bit(argv[1]));
    return saved ? 0 : 1;
}
