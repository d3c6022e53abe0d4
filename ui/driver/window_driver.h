// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "main_window.h"

class QInputDialog;

namespace velmo {

// Answers input boxes as they come up, from the event loop, as a user
// would: `answer` is given each new box once, fills it in and accepts or
// rejects it, and returns whether to go on answering the boxes after it.
// It also stops when `scope`, if given, goes away.
void AnswerInputBoxes(std::function<bool(QInputDialog& box)> answer, QObject* scope = nullptr);
// Answers the next input box with `text` (or cancels it) once it is up.
void AnswerInputBox(const QString& text, bool accept = true);

// Works the window the way its user does (clicks, keys, the input box) and
// reads what it shows. For the demo's tour, the benchmarks and the tests;
// the programs themselves do not use it.
class WindowDriver {
public:
    explicit WindowDriver(MainWindow& window) : window_(window) {}

    // Clicks a command button by its name ("RadioOn", "Scan", ...).
    void Click(const char* button) const;
    // Presses and releases a key on the named control, which takes the focus
    // first; the window's key preview sees it on the way, as with a user.
    void Key(int qt_key, const char* focused = "CodesIn") const;
    // Ctrl, then `text` typed into the box it opens.
    void EnterFrequency(const QString& text) const;

    std::string Display() const;
    std::string SignalBar() const;
    std::vector<std::string> CodesOut() const;
    std::vector<std::string> CodesIn() const;
    // The background of an indicator strip ("OnOffLabel", "ScanLabel").
    QColor Background(const char* label) const;

private:
    MainWindow& window_;
};

}  // namespace velmo
