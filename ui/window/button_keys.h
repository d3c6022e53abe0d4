// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QAbstractButton;
class QButtonGroup;

namespace velmo {

// The keys of the panel's original platform for its buttons, which Qt's
// own buttons lack.

// Enter and keypad Enter click the command button that has the focus, as
// Space does; one click for each press, none for a key held down.
class EnterClicks : public QObject {
public:
    explicit EnterClicks(QObject* parent) : QObject(parent) {}
    void Watch(QAbstractButton* button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// A group of option buttons is one stop for Tab, at its selected button
// (its first while none is selected), and the arrow keys move the selection
// through it in the order the buttons stand, round from the last to the
// first: Up and Left back, Down and Right on. Each move clicks the button
// it lands on, as a mouse click would.
class OptionGroupKeys : public QObject {
public:
    // Watches every button in the group, in the order they stand; lives as
    // long as the group.
    explicit OptionGroupKeys(QButtonGroup* group);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MoveTabStop();
    void Step(QAbstractButton* from, int direction);

    QButtonGroup* group_;
};

}  // namespace velmo
