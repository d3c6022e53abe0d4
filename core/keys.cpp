// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "front_panel.h"
#include "panel_view.h"
#include "tuning_steps.h"

namespace velmo {
namespace {

// Windows virtual-key codes, as the window reports them.
enum VirtualKey : int {
    kShift = 16,
    kControl = 17,
    kPause = 19,
    kEscape = 27,
    kPageUp = 33,
    kPageDown = 34,
    kEnd = 35,
    kHome = 36,
    kInsert = 45,
    kDelete = 46,
    kKeyD = 68,
    kKeyU = 85,
};

}  // namespace

void FrontPanel::HandleKey(int key_code) {
    switch (key_code) {
        case kEscape: view_.EndProgram(); break;  // does not return
        case kPageUp:
        case kKeyU: TuneUp(); break;
        case kPageDown:
        case kKeyD: TuneDown(); break;
        case kHome:
            Frequency = kLowestFrequency;
            SendFrequency();
            break;
        case kEnd:
            Frequency = kHighestFrequency;
            SendFrequency();
            break;
        case kInsert: PowerOn(); break;
        case kDelete: PowerOff(); break;
        case kPause: view_.SetScrollValue(ScrollBar::Volume, 0); break;
        case kControl: EnterFrequency(); break;
        case kShift: ToggleScan(); break;
        default: break;
    }
}

}  // namespace velmo
