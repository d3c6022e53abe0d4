// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>

#include "fake_link.h"
#include "main_window.h"
#include "wait.h"

class QWidget;

namespace velmo::testing {

// Runs `scenario` inside the application's event loop, as the program runs
// its events, and returns the loop's exit status once something ends it.
// Gives up with status -99 after 10 s.
int RunUntilProgramEnds(const std::function<void()>& scenario);

// Shows the window and waits until it is active, as for a user at the keyboard.
void ShowWindow(MainWindow& window);

// Presses and releases a key through the window system, as a user would:
// it goes to the window and from there to the control with the focus.
void PressKey(MainWindow& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// What the widget paints, on a magenta ground that shows what it leaves unpainted.
QImage Painted(QWidget& widget);

template <typename T>
T* Control(MainWindow& window, const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
}

// The window on a fake serial link; a failure ends it without a message box.
struct WindowOnFakeLink {
    FakeLink link;
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>(link, 1, [](const std::exception&) {});

    // The frequency the window shows.
    QString Display() const;
};

}  // namespace velmo::testing
