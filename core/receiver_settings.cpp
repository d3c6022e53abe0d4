// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "front_panel.h"
#include "panel_view.h"
#include "protocol.h"
#include "tuning_command.h"

namespace velmo {
namespace {

// The code of the first selected button of `group`; the setting stays as it
// is when none is.
void TakeFirstSelected(const PanelView& view, OptionGroup group, std::string& setting) {
    for (const OptionControl& row : kOptionControls) {
        if (row.group == group && view.OptionSelected(row.button)) {
            setting = row.code;
            return;
        }
    }
}

}  // namespace

void FrontPanel::SendFrequency() {
    // Both built from the frequency as it is now: a step taken during the
    // command's pause must not change what this call sends.
    const std::string display = FrequencyDisplayText(Frequency);
    const std::string command = TuningCommand(Frequency, ModeSetting, FilterSetting);
    view_.SetFrequencyDisplay(display);
    SendCommand(command);
}

void FrontPanel::SelectMode() {
    TakeFirstSelected(view_, OptionGroup::Mode, ModeSetting);
    SendFrequency();
}

void FrontPanel::SelectFilter() {
    TakeFirstSelected(view_, OptionGroup::Filter, FilterSetting);
    SendFrequency();
}

void FrontPanel::SendLevel(ScrollBar bar) {
    const LevelControl& row = Row(bar);
    SendCommand(row.command + HexLevel(view_.ScrollValue(bar)));
    // Read again: a newer change handled during the pause has the last word.
    view_.SetFrameCaption(bar, std::string(row.caption) + " " + std::to_string(view_.ScrollValue(bar)));
}

void FrontPanel::SendVolume() { SendLevel(ScrollBar::Volume); }
void FrontPanel::SendSquelch() { SendLevel(ScrollBar::Squelch); }
void FrontPanel::SendIfShift() { SendLevel(ScrollBar::IfShift); }

void FrontPanel::SendSwitch(CheckBox box) {
    const protocol::SwitchCommands& commands = Row(box).commands;
    // Grayed counts as on.
    SendCommand(view_.CheckState(box) == kUnchecked ? commands.off : commands.on);
}

void FrontPanel::SendAfc() { SendSwitch(CheckBox::AFC); }
void FrontPanel::SendAgc() { SendSwitch(CheckBox::AGC); }
void FrontPanel::SendAtt() { SendSwitch(CheckBox::ATT); }
void FrontPanel::SendNb() { SendSwitch(CheckBox::NB); }

}  // namespace velmo
