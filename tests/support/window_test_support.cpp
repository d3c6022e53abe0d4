// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_test_support.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

namespace velmo::testing {

int RunUntilProgramEnds(const std::function<void()>& scenario) {
    QTimer give_up;
    give_up.setSingleShot(true);
    QObject::connect(&give_up, &QTimer::timeout, [] { QCoreApplication::exit(-99); });
    give_up.start(10000);
    // QTest's key presses run the event loop once more themselves, which on
    // Windows takes the wake-up that an exit leaves for the loop that exits;
    // a tick of its own wakes that loop again (see WaitUntil).
    QTimer wake;
    QObject::connect(&wake, &QTimer::timeout, [] {
        if (auto* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
    });
    wake.start(10);
    QTimer::singleShot(0, scenario);
    return QApplication::exec();
}

void ShowWindow(MainWindow& window) {
    window.show();
    window.activateWindow();
    // Access keys need the window active, key presses only need it there.
    (void)QTest::qWaitForWindowActive(&window);
}

QImage Painted(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    widget.render(&image);
    return image;
}

QString WindowOnFakeLink::Display() const { return Control<QLabel>(*window, "DisplayFrequency")->text(); }

void PressKey(MainWindow& window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(window.windowHandle(), key, modifiers);
}

}  // namespace velmo::testing
