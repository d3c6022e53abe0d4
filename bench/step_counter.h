// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <functional>

namespace velmo {
class CodeListBox;
}

namespace velmo::bench {

// Tuning commands and holds as the window lists them: each step lists its
// tuning command ("K0..."), and only a hold reads the signal, whose answer
// ("I1" and the level) is listed with the replies, behind its marker.
// Counts only while it exists.
class StepCounter {
public:
    // `on_step` is called as each step's tuning command is listed.
    StepCounter(CodeListBox& sent, CodeListBox& received, std::function<void()> on_step = {});

    int steps = 0;
    int holds = 0;

private:
    QObject connections_;  // the lists' signals reach this object's lifetime only
};

}  // namespace velmo::bench
