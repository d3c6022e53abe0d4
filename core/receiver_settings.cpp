// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <array>
#include <utility>

#include "front_panel.h"
#include "protocol.h"
#include "tuning_command.h"

namespace velmo {
namespace {

using ButtonCode = std::pair<OptionButton, const char*>;

// In the order the buttons are read: the first selected one decides.
constexpr std::array<ButtonCode, 6> kModeButtons{{
    {OptionButton::AM, protocol::kModeAm},
    {OptionButton::FM, protocol::kModeFm},
    {OptionButton::WFM, protocol::kModeWfm},
    {OptionButton::USB, protocol::kModeUsb},
    {OptionButton::LSB, protocol::kModeLsb},
    {OptionButton::CW, protocol::kModeCw},
}};

constexpr std::array<ButtonCode, 5> kFilterButtons{{
    {OptionButton::Filter1, protocol::kFilter3k},
    {OptionButton::Filter2, protocol::kFilter6k},
    {OptionButton::Filter3, protocol::kFilter15k},
    {OptionButton::Filter4, protocol::kFilter50k},
    {OptionButton::Filter5, protocol::kFilter230k},
}};

template <std::size_t N>
void TakeFirstSelected(const PanelView& view, const std::array<ButtonCode, N>& group, std::string& setting) {
    for (const auto& [button, code] : group) {
        if (view.OptionSelected(button)) {
            setting = code;
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
    TakeFirstSelected(view_, kModeButtons, ModeSetting);
    SendFrequency();
}

void FrontPanel::SelectFilter() {
    TakeFirstSelected(view_, kFilterButtons, FilterSetting);
    SendFrequency();
}

void FrontPanel::SendLevel(ScrollBar bar, const char* prefix, const char* caption_word) {
    SendCommand(prefix + HexLevel(view_.ScrollValue(bar)));
    // Read again: a newer change handled during the pause has the last word.
    view_.SetFrameCaption(bar, std::string(caption_word) + " " + std::to_string(view_.ScrollValue(bar)));
}

void FrontPanel::SendVolume() { SendLevel(ScrollBar::Volume, protocol::kVolume, "Volume"); }
void FrontPanel::SendSquelch() { SendLevel(ScrollBar::Squelch, protocol::kSquelch, "Squelch"); }
void FrontPanel::SendIfShift() { SendLevel(ScrollBar::IfShift, protocol::kIfShift, "IF Shift"); }

void FrontPanel::SendSwitch(CheckBox box, const protocol::SwitchCommands& commands) {
    // Grayed counts as on.
    SendCommand(view_.CheckState(box) == kUnchecked ? commands.off : commands.on);
}

void FrontPanel::SendAfc() { SendSwitch(CheckBox::AFC, protocol::kAfc); }
void FrontPanel::SendAgc() { SendSwitch(CheckBox::AGC, protocol::kAgc); }
void FrontPanel::SendAtt() { SendSwitch(CheckBox::ATT, protocol::kAttenuator); }
void FrontPanel::SendNb() { SendSwitch(CheckBox::NB, protocol::kNoiseBlanker); }

}  // namespace velmo
